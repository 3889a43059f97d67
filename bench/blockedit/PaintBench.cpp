// Painting a large cell: a full repaint of 500 blocks and 800 wires into an
// image, and a repaint limited to a 200 x 200 pixel clip.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>
#include <random>

#include "TBlockCatalogue.h"
#include "TBlockList.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"

namespace {

class BenchSource : public TBlockCatalogueSource {
 public:
  QByteArray BlockGroups() override { return "G|Gruppe\r\n"; }
  std::optional<QByteArray> Blocks(const QByteArray&) override { return QByteArray("g|PIC|Bild|200\r\ng||Zahl|700\r\n"); }
  std::optional<QByteArray> Bitmap(const QByteArray& name) override {
    if (name != "PIC") return std::nullopt;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(0xFF, 0, 0xFF));
    QPainter p(&image);
    p.fillRect(10, 5, 20, 20, Qt::darkGreen);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
  }
};

std::unique_ptr<TBlockList> BigCell() {
  TBlockCatalogue::Instance().Load(std::make_unique<BenchSource>());
  auto cell = std::make_unique<TBlockList>(1, nullptr);
  std::mt19937 rng(7);
  // 500 blocks on a 25 x 20 raster: pictures, labelled boxes and a few comments.
  for (int i = 0; i < 500; ++i) {
    const int x = 5 + (i % 25) * 80;
    const int y = 5 + (i / 25) * 95;
    std::unique_ptr<TBlock> b;
    if (i % 20 == 19) {
      auto t = std::make_unique<TTextBlock>((1 << 16) | (i + 1), nullptr);
      t->SetText(QStringLiteral("Kommentar %1").arg(i));
      b = std::move(t);
    } else {
      auto g = std::make_unique<TGraphBlock>((1 << 16) | (i + 1), nullptr);
      g->SetType(i % 3 ? 200 : 700);
      g->SetParamText(QString::number(i * 7));
      b = std::move(g);
    }
    b->SetBounds(b->Bounds().Offset(x, y));
    cell->Add(std::move(b));
  }
  // 800 wires, each to a free slot of a block near its source.
  int made = 0;
  for (int i = 0; made < 800; i = (i + 1) % 500) {
    TBlock* target = cell->Items(i);
    if (target->GetKind() != 2) continue;
    const int srcIndex = (i + 1 + static_cast<int>(rng() % 30)) % 500;
    TBlock* source = cell->Items(srcIndex);
    int slot = 0;
    while (slot < 16 && target->GetInput(slot)) ++slot;
    if (slot == 16) continue;
    auto w = std::make_unique<TInputLine>();
    w->source = source->Id();
    w->connectionKind = static_cast<int8_t>(rng() % 5);
    w->menuLetter = static_cast<int8_t>(slot % 2 ? slot : -1);
    const QPoint s((source->Bounds().left + source->Bounds().right) / 2, (source->Bounds().top + source->Bounds().bottom) / 2);
    const QPoint t((target->Bounds().left + target->Bounds().right) / 2, (target->Bounds().top + target->Bounds().bottom) / 2);
    w->AddPoint(s);
    w->AddPoint({(s.x() + t.x()) / 2, s.y()});
    w->AddPoint({(s.x() + t.x()) / 2, t.y()});
    w->AddPoint(t);
    w->RerouteStart(source->Bounds());
    w->RerouteEnd(target->Bounds());
    target->ChangeWire(TBlock::kSet, slot, std::move(w));
    ++made;
  }
  return cell;
}

void EnsureApp() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "blockedit_bench";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

void BM_FullRepaint(benchmark::State& state) {
  EnsureApp();
  auto cell = BigCell();
  QImage image(2000, 2000, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter p(&image);
    const TRect all{0, 0, 2000, 2000};
    cell->PaintBlocks(p, all);
    cell->PaintWires(p, all);
  }
  image.save(QStringLiteral("/tmp/blockedit_bench_cell.png"));
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_ClipRepaint200(benchmark::State& state) {
  EnsureApp();
  auto cell = BigCell();
  QImage image(2000, 2000, QImage::Format_RGB32);
  image.fill(Qt::white);
  const TRect clip{800, 800, 1000, 1000};
  for (auto _ : state) {
    QPainter p(&image);
    p.setClipRect(clip.ToQRect());
    p.fillRect(clip.ToQRect(), Qt::white);
    cell->PaintBlocks(p, clip);
    cell->PaintWires(p, clip);
  }
}
BENCHMARK(BM_ClipRepaint200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
