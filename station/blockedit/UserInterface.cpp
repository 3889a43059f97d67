#include "UserInterface.h"

namespace {

// Used until the shell or a test sets an instance: says nothing and declines.
class TSilentUserInterface final : public TUserInterface {
 public:
  void Beep(Sound) override {}
  void ErrorBox(const QString&) override {}
  void FatalBox(const QString&) override {}
  void InfoBox(const QString&) override {}
  bool AskYesNo(const QString&) override { return false; }
  Answer AskYesNoCancel(const QString&) override { return Answer::Cancel; }
  QString OpenFileName(const FileRequest&) override { return {}; }
  QString SaveFileName(const FileRequest&) override { return {}; }
  QPrinter* PrintDialog() override { return nullptr; }
  bool InputInteger(const QString&, const QString&, int32_t&) override { return false; }
  bool EditComment(QString&, TCommentFont&) override { return false; }
  bool EditBlockBitmap(QString&) override { return false; }
  void ShowHelp(int32_t) override {}
  void BeginWait() override {}
  void EndWait() override {}
  void ProcessEvents() override {}
};

TUserInterface* g_current = nullptr;

}  // namespace

TUserInterface& TUserInterface::Current() {
  static TSilentUserInterface silent;
  return g_current ? *g_current : silent;
}

void TUserInterface::SetCurrent(TUserInterface* ui) { g_current = ui; }
