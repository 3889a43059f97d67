// TWidgetUserInterface: the station's answers to what the model asks the
// user, with real widgets: message boxes with the system sounds, file and
// print dialogs, the simulator's input dialog, the comment and bitmap
// dialogs of the block model, help, the hourglass and event processing.
// Dialogs that other windows own (input dialog, help) are reached through
// hooks the frame sets, so the shell needs no link to those windows.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "UserInterface.h"

class QPrinter;
class QWidget;

class TWidgetUserInterface : public TUserInterface {
 public:
  using InputHook = std::function<bool(QWidget* owner, const QString& caption, const QString& prompt, int32_t& value)>;
  using HelpHook = std::function<void(QWidget* owner, int32_t context)>;

  TWidgetUserInterface();
  ~TWidgetUserInterface() override;

  // The window dialogs are centred over (the main window).
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void SetInputHook(InputHook hook) { inputHook_ = std::move(hook); }
  void SetHelpHook(HelpHook hook) { helpHook_ = std::move(hook); }

  void Beep(Sound sound) override;
  void ErrorBox(const QString& text) override;
  void FatalBox(const QString& text) override;
  void InfoBox(const QString& text) override;
  bool AskYesNo(const QString& text) override;
  Answer AskYesNoCancel(const QString& text) override;
  bool AskYesNoDefaultNo(const QString& text) override;
  QString OpenFileName(const FileRequest& request) override;
  QString SaveFileName(const FileRequest& request) override;
  QPrinter* PrintDialog() override;
  QPrinter* PrintTextDialog(bool canPrintSelection) override;
  void PrinterSetup() override;
  bool InputInteger(const QString& caption, const QString& prompt, int32_t& value) override;
  bool EditComment(QString& text, TCommentFont& font) override;
  bool EditBlockBitmap(QString& fileName) override;
  void ShowHelp(int32_t context) override;
  void BeginWait() override;
  void EndWait() override;
  void ProcessEvents() override;

  // "Text (*.txt)|*.txt|All (*.*)|*.*|" into Qt's "Text (*.txt);;All (*)".
  static QString QtFilter(const QString& filter);

 private:
  QWidget* Owner() const;
  // The one printer every print dialog and the printer set-up work on.
  QPrinter& Printer();

  QPointer<QWidget> owner_;
  InputHook inputHook_;
  HelpHook helpHook_;
  std::unique_ptr<QPrinter> printer_;
  int waitDepth_ = 0;
};
