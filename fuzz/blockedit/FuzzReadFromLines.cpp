// Fuzz target: a cell body of arbitrary bytes read into a cell. The reader
// must fail cleanly or succeed; what it read must write and read back.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "CellBodyText.h"
#include "TBlockList.h"

namespace {

void EnsureApp() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "fuzz_blockedit";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList lines = cellbody::LinesFromBytes(bytes);
  const bool withHeader = size > 0 && (data[0] & 1);
  TBlockList cell(1, nullptr);
  const bool ok = cell.ReadFromLines(withHeader, lines, size > 1 && (data[1] & 1) ? 7 : 0);
  cell.DropDanglingWires();
  (void)cell.GetExtent();
  QStringList out;
  cell.WriteToLines(true, out);
  TBlockList again(1, nullptr);
  const bool reread = again.ReadFromLines(true, out, 0);
  if (ok && (!reread || again.Count() != cell.Count())) std::abort();
  if (cell.Count() > 0 && cell.Count() < 50) (void)cell.RenderImage();
  return 0;
}
