#include "QtParamDialogs.h"

#include <QApplication>
#include <QThread>

#include "BaudBlockDlg.h"
#include "BeepBlockDlg.h"
#include "Cp1252Text.h"
#include "DllMainForm.h"
#include "InputCharDlg.h"
#include "InputStrListDlg.h"
#include "MaskInputDlg.h"
#include "PrintBlockDlg.h"
#include "SelectNumberDlg.h"

namespace {

// Marks a dialog as open for the length of one modal run.
class OpenDialog {
 public:
  explicit OpenDialog(bool& open) : open_(open) { open_ = true; }
  ~OpenDialog() { open_ = false; }
  OpenDialog(const OpenDialog&) = delete;
  OpenDialog& operator=(const OpenDialog&) = delete;

 private:
  bool& open_;
};

bool Confirmed(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace

bool QtParamDialogs::Available() const {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  return app && !open_ && QThread::currentThread() == app->thread();
}

bool QtParamDialogs::MaskInput(int mode, const char* prompt, std::string& text) {
  OpenDialog guard(open_);
  TMaskInputDlg dlg(TDllMainForm::Instance());
  dlg.SetMode(mode, FromCp1252(prompt));
  dlg.SetText(FromCp1252(text));
  if (!Confirmed(dlg)) return false;
  text = ToCp1252(dlg.Text());
  return true;
}

bool QtParamDialogs::InputChar(std::string& text) {
  OpenDialog guard(open_);
  TInputCharDlg dlg(TDllMainForm::Instance());
  dlg.SetText(FromCp1252(text));
  if (!Confirmed(dlg)) return false;
  text = ToCp1252(dlg.Text());
  return true;
}

bool QtParamDialogs::InputStrList(const char* prompt, std::string& text) {
  OpenDialog guard(open_);
  TInputStrListDlg dlg(TDllMainForm::Instance());
  dlg.SetPrompt(FromCp1252(prompt));
  dlg.SetText(FromCp1252(text));
  if (!Confirmed(dlg)) return false;
  text = ToCp1252(dlg.Text());
  return true;
}

bool QtParamDialogs::PrintEnding(int& radio) {
  OpenDialog guard(open_);
  TPrintBlockDlg dlg(TDllMainForm::Instance());
  dlg.SetChoice(radio);
  if (!Confirmed(dlg)) return false;
  radio = dlg.Choice();
  return true;
}

bool QtParamDialogs::BaudRate(int& radio) {
  OpenDialog guard(open_);
  TBaudBlockDlg dlg(TDllMainForm::Instance());
  dlg.SetChoice(radio);
  if (!Confirmed(dlg)) return false;
  radio = dlg.Choice();
  return true;
}

bool QtParamDialogs::SelectNumber(const char* prompt, int maximum, std::string& text) {
  OpenDialog guard(open_);
  TSelectNumberDlg dlg(TDllMainForm::Instance());
  dlg.SetPrompt(FromCp1252(prompt));
  dlg.SetMaximum(maximum);
  dlg.SetText(FromCp1252(text));
  if (!Confirmed(dlg)) return false;
  text = ToCp1252(dlg.Text());
  return true;
}

bool QtParamDialogs::Melody(std::string& melody) {
  OpenDialog guard(open_);
  TBeepBlockDlg dlg(TDllMainForm::Instance());
  dlg.SetMelody(melody);
  if (!Confirmed(dlg)) return false;
  melody = dlg.Melody();
  return true;
}
