// Fuzz target of the project file reader: any bytes open without a crash and
// leave the engine holding exactly what the cells hold.
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>

#include "TGraphBlock.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

// Messages of the reader are expected; nobody answers them.
class SilentUi : public TUserInterface {
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

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "project_reader_fuzz";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
  static SilentUi ui;
  TUserInterface::SetCurrent(&ui);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup();
  static QTemporaryDir dir;
  const QString name = dir.filePath("fuzz.tvp");
  {
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  TTarvixPlusModel model;
  model.Open(name);
  // Every functional block of every cell exists in the engine.
  for (const auto& cell : model.Cells())
    for (int i = 0; i < cell->Count(); ++i)
      if (dynamic_cast<const TGraphBlock*>(cell->Items(i)) &&
          !PlexorGetBlockInputMenuFlags(model.Engine(), cell->Items(i)->Id(), cell->Items(i)->Id()))
        __builtin_trap();
  model.SaveToFile(dir.filePath("again.tvp"));
  return 0;
}
