// Printing cells: each cell's picture in screen pixels, one below the other,
// separated by a rule, on pages with 20 mm margins (10 mm on the right).
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

constexpr int kScreenDpi = 96;

}  // namespace

void TTarvixPlusModel::Print(int32_t cellId) {
  QPrinter* printer = TUserInterface::Current().PrintDialog();
  if (!printer) return;
  TWaitCursor wait;
  PrintTo(*printer, cellId);
}

int TTarvixPlusModel::PrintTo(QPrinter& printer, int32_t cellId) {
  std::vector<const TBlockList*> cells;
  for (const auto& cell : cells_)
    if (cellId == 0 || cell->CellId() == cellId) cells.push_back(cell.get());
  if (cells.empty()) return 0;
  printer.setDocName(cellId ? QStringLiteral("Tarvix/plus Programmzelle") : QStringLiteral("Tarvix/plus Programm"));
  QPainter painter;
  if (!painter.begin(&printer)) return 0;

  // The drawing area in printer pixels, from the paper edge.
  const double perMm = printer.resolution() / 25.4;
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
  const int offsetX = page.left() - paper.left();
  const int offsetY = page.top() - paper.top();
  const int left = static_cast<int>(std::lround(20 * perMm)) - offsetX;
  const int top = static_cast<int>(std::lround(20 * perMm)) - offsetY;
  const int right = paper.width() - static_cast<int>(std::lround(10 * perMm));
  const int bottom = paper.height() - static_cast<int>(std::lround(20 * perMm));
  // Logical units are screen pixels.
  const int width = (right - left) * kScreenDpi / printer.resolution();
  const int height = (bottom - top) * kScreenDpi / printer.resolution();
  painter.setViewport(left, top, right - left, bottom - top);
  painter.setWindow(0, 0, width, height);

  int pages = 1;
  int y = 0;
  int onPage = 0;
  for (const TBlockList* cell : cells) {
    const QImage image = cell->RenderImage();
    if (onPage > 0 && y + 21 + image.height() > height) {
      printer.newPage();
      ++pages;
      y = 0;
      onPage = 0;
    }
    if (onPage > 0) {
      y += 10;
      painter.fillRect(QRect(0, y, width, 1), Qt::black);
      y += 11;
    }
    const QRect source(0, 0, std::min(image.width(), width), std::max(0, std::min(image.height(), height - y)));
    painter.drawImage(QRect(QPoint(0, y), source.size()), image, source);
    y += image.height() + 20;
    ++onPage;
  }
  painter.end();
  return pages;
}
