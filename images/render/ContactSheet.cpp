// Developer tool: draws every group of the catalogue with its group bitmap,
// palette glyphs and cell pictures (magenta shown as the white cell
// background, parameter blocks as the station's yellow box) into one PNG.
//
// Usage: images_sheet <out.png> [zoom [group index [per row]]]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstdio>

#include "images.h"

namespace {

QImage Bitmap(const QString& name) {
  int32_t size = 0;
  const unsigned char* data = GetPlexorBitmap(name.toLatin1().constData(), &size);
  if (data == nullptr) return {};
  QImage img = QImage::fromData(data, size, "PNG").convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == 0xFF00FF) img.setPixel(x, y, 0xFFFFFFFF);
  return img;
}

QStringList Lines(const char* text) {
  return QString::fromLatin1(text ? text : "").split("\r\n", Qt::SkipEmptyParts);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: images_sheet <out.png> [zoom]\n");
    return 2;
  }
  const int zoom = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  QStringList groups = Lines(GetPlexorBlockGroups());
  if (argc > 3) groups = groups.mid(std::atoi(argv[3]), 1);
  const int cellW = 62, cellH = 82, perRow = argc > 4 ? std::max(1, std::atoi(argv[4])) : 14;
  int rows = 0;
  for (const QString& g : groups) rows += 1 + (Lines(GetPlexorBlocks(g.section('|', 0, 0).toLatin1())).size() + perRow - 1) / perRow;
  QImage sheet(perRow * cellW, rows * cellH - groups.size() * (cellH - 24), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  QFont font("DejaVu Sans");
  font.setPixelSize(9);
  p.setFont(font);
  int y = 0;
  for (const QString& g : groups) {
    const QString key = g.section('|', 0, 0);
    p.fillRect(0, y, sheet.width(), 22, QColor(0xEE, 0xEE, 0xEE));
    p.drawImage(2, y + 3, Bitmap(key));
    p.setPen(Qt::black);
    p.drawText(32, y + 15, QString::fromLatin1(g.section('|', 1).toLatin1()) + "  (" + key + ")");
    y += 24;
    const QStringList types = Lines(GetPlexorBlocks(key.toLatin1()));
    for (int i = 0; i < types.size(); ++i) {
      const QStringList f = types[i].split('|');
      const int x = (i % perRow) * cellW + 4, top = y + (i / perRow) * cellH;
      p.drawImage(x, top, Bitmap(f.value(0)));
      const QImage pic = Bitmap(f.value(1));
      const QRect box(x, top + 26, pic.isNull() ? 60 : pic.width(), pic.isNull() ? 20 : pic.height());
      if (pic.isNull()) {
        p.setPen(Qt::black);
        p.setBrush(QColor(0xFF, 0xFF, 0x00));
        p.drawRect(box.adjusted(1, 1, -2, -2));
        p.setPen(QColor(0x00, 0x00, 0x80));
        p.drawText(box, Qt::AlignCenter, "param");
        p.setBrush(Qt::NoBrush);
      } else {
        p.drawImage(box.topLeft(), pic);
      }
      p.setPen(Qt::darkGray);
      p.drawText(x, top + 78, f.value(3));
    }
    y += ((types.size() + perRow - 1) / perRow) * cellH;
  }
  p.end();
  if (zoom > 1) sheet = sheet.scaled(sheet.size() * zoom);
  return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
