// TStartPage: what the empty document area shows while no project is open:
// how to begin ("Datei > Neu" or "Datei > Öffnen..."), with buttons for
// both, and the recently used projects to open with one click. It lies
// over the document area's viewport and follows its size.
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

class TStartPage : public QWidget {
  Q_OBJECT

 public:
  // area: the widget (the document area's viewport) the page covers.
  explicit TStartPage(QWidget* area);

  // The recent project files, newest first (the File menu's list).
  void SetRecentFiles(const QStringList& names);
  QListWidget* RecentList() const { return recent_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* OpenButton() const { return open_; }

 signals:
  void NewRequested();
  void OpenRequested();
  void RecentChosen(const QString& fileName);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* recentLabel_;
  QListWidget* recent_;
  QPushButton* new_;
  QPushButton* open_;
};
