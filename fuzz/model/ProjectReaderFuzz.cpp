// Fuzz target of the project file reader: any bytes open without a crash and
// leave the engine holding exactly what the cells hold, except blocks of a
// type the engine does not know: those stay in their cell, are reported as
// lost at load, and keep the project from compiling.
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>

#include "TGraphBlock.h"
#include "TTarvixPlusModel.h"

namespace {

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "project_reader_fuzz";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
  // The reader's messages are expected; the silent default interface takes them.
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
  // Every functional block of every cell exists in the engine, or is known
  // to be missing there, reported, and refused by the compile.
  bool outside = false;
  for (const auto& cell : model.Cells())
    for (int i = 0; i < cell->Count(); ++i)
      if (const auto* block = dynamic_cast<const TGraphBlock*>(cell->Items(i))) {
        const bool held = PlexorGetBlockInputMenuFlags(model.Engine(), block->Id(), block->Id()) != nullptr;
        if (held != block->InEngine()) __builtin_trap();
        outside = outside || !held;
      }
  if (outside && (model.LoadLosses().isEmpty() || model.FindBlockOutsideEngine() == 0 || model.LoadTableData()))
    __builtin_trap();
  model.SaveToFile(dir.filePath("again.tvp"));
  return 0;
}
