// TMDIChildForm: what every document window of the station is to the frame.
//
// A document window (cell editor, table editor, comment editor, terminal,
// watch list, data-log view) lives in a QMdiSubWindow of the main window.
// The frame knows it only through this interface: it routes commands to the
// active window, asks it which commands are enabled, keeps the idle cycle
// running while a window needs it, and writes and reads the window's own data
// in the desktop file. The window learns of project changes through the
// model's notifications (Update) and changes the project only through the
// model's requests.
#pragma once

#include <QWidget>
#include <cstdint>

#include "TModelView.h"

class QDataStream;
class QMdiSubWindow;
class TTarvixPlusModel;

class TMDIChildForm : public QWidget, public TModelView {
  Q_OBJECT

 public:
  // Registers with the model as a view (no model: a window without a project).
  explicit TMDIChildForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TMDIChildForm() override;

  TTarvixPlusModel* Model() const { return model_; }
  // The sub-window the frame put this window in, or null.
  QMdiSubWindow* SubWindow() const;
  // The key of the window factory and the desktop file.
  QString ClassName() const { return QString::fromLatin1(metaObject()->className()); }

  // ---- what the frame calls ------------------------------------------------------
  // True while the window wants idle time (the idle cycle keeps running).
  virtual bool NeedsIdle() { return false; }
  virtual void DoCommand(int32_t command, QObject* sender);
  virtual bool IsCommandEnabled(int32_t command);
  // The model goes away: forget it and close.
  virtual void ModelDestroyed();
  // Stores pending edits into the model (before a save or a compile).
  void CommitEdits() override {}
  // A notification of the model (codes in Notifications.h).
  virtual void Update(int32_t code, int64_t data, const struct TChangeRecord* record);
  // Colours or fonts of the settings changed.
  virtual void SettingsChanged() {}
  // The window's own data in the desktop file, after the frame's placement.
  virtual void ReadDesktop(QDataStream& in);
  virtual void WriteDesktop(QDataStream& out) const;
  // The help topic F1 opens in this window.
  virtual int32_t HelpContext() const { return 0; }

  // Which project element the window shows (a cell id, a table number), for
  // the frame's "show it in the window that already shows it" rules; 0 for
  // none. ShowElement switches an editor to another element.
  virtual int32_t ShownElement() const { return 0; }
  virtual void ShowElement(int32_t /*id*/) {}

  // Sets the caption of the window and of its sub-window.
  void SetCaption(const QString& caption);

 protected:
  // TModelView
  void ModelChanged(int32_t code, int64_t data, const TChangeRecord* record) final;
  void ModelGone() final;

  // Closes the window's sub-window (or the window itself) soon.
  void CloseWindow();

 private:
  TTarvixPlusModel* model_ = nullptr;
};
