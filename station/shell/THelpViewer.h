// THelpViewer: the station's help window. Shows the help pages (THelpPages)
// in a browser with the contents and a keyword index beside it; one window
// for the whole station, brought to the front by every help request.
#pragma once

#include <QUrl>
#include <QWidget>
#include <cstdint>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QTreeWidget;

class THelpViewer : public QWidget {
  Q_OBJECT

 public:
  // What TUserInterface::ShowHelp(context) calls: opens the page of the
  // context (a topic, a block type id, else the contents) in the one help
  // window, creating it on first use.
  static void Show(int32_t context, QWidget* parent = nullptr);
  // The open help window, or null.
  static THelpViewer* Instance();

  explicit THelpViewer(QWidget* parent = nullptr);
  ~THelpViewer() override;

  void ShowPage(const QUrl& url);
  QUrl CurrentPage() const;
  QTextBrowser* Browser() const { return browser_; }

 private:
  void FillContents();
  void FillIndex();
  void SelectInContents(const QUrl& url);
  void FilterIndex(const QString& text);

  QTextBrowser* browser_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* indexFilter_ = nullptr;
  QListWidget* index_ = nullptr;
};
