// vorblen-cli render --compare: every changed cell drawn as the new version
// shows it, with added blocks and wires marked green, removed ones drawn
// from the old version in red, moved and changed ones marked amber.
#include <QFileInfo>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <cstdio>
#include <memory>
#include <set>

#include "CellEditorSettings.h"
#include "CliCommands.h"
#include "CliUserInterface.h"
#include "CompareCommands.h"
#include "ProjectCompare.h"
#include "TBlockCatalogue.h"
#include "TGraphBlock.h"
#include "TImagesCatalogueSource.h"
#include "TTarvixPlusModel.h"

namespace cli {
namespace {

constexpr int kScreenDpi = 96;
constexpr int kTitleHeight = 30;  // the cell title above the drawing, as Render draws it
constexpr int kMarkMargin = 8;

const QColor kAdded(0, 170, 0);
const QColor kRemoved(220, 0, 0);
const QColor kAltered(255, 170, 0);

void Say(const QString& text) { TCliUserInterface::Print(text); }

QString FilePart(const QString& name) {
  QString out;
  for (QChar c : name) out += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.') ? c : QLatin1Char('_');
  return out.isEmpty() ? QStringLiteral("_") : out;
}

// One changed cell: the two versions (one may be missing) and what differs.
struct ChangedCell {
  const TBlockList* before = nullptr;
  const TBlockList* after = nullptr;
  const TCellDiff* diff = nullptr;
};

void Mark(QPainter& painter, const TRect& r, const QColor& colour) {
  QColor fill = colour;
  fill.setAlpha(50);
  painter.fillRect(r.Inflated(2).ToQRect(), fill);
  painter.setPen(QPen(colour, 3));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(r.Inflated(3).ToQRect());
}

void MarkWire(QPainter& painter, const TBlockList* cell, int32_t target, int slot, const QColor& colour) {
  const TBlock* block = cell ? cell->FindBlock(target) : nullptr;
  const TInputLine* wire = block ? block->GetInput(slot) : nullptr;
  if (!wire || wire->pointCount < 2) return;
  QPainterPath path(wire->Point(0));
  for (int i = 1; i < wire->pointCount && i < TInputLine::kMaxPoints; ++i) path.lineTo(wire->Point(i));
  painter.setPen(QPen(colour, 3));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

// The inputs of a block added or removed as a whole take its colour.
void MarkInputs(QPainter& painter, const TBlockList* cell, int32_t number, const QColor& colour) {
  const TBlock* block = cell ? cell->FindBlock(number) : nullptr;
  for (int slot = 0; block && slot < TGraphBlock::kSlots; ++slot) MarkWire(painter, cell, number, slot, colour);
}

// Both versions' drawings, with room for the marks around blocks at the edge.
QSize PictureSize(const ChangedCell& c) {
  QSize size = c.after ? c.after->RenderSize() : QSize();
  if (c.before) size = size.expandedTo(c.before->RenderSize());
  return size + QSize(kMarkMargin, kMarkMargin);
}

void Draw(QPainter& painter, const ChangedCell& c) {
  const QSize size = PictureSize(c);
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  (c.after ? c.after : c.before)->Render(painter);
  painter.save();
  painter.translate(0, kTitleHeight);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const CellEditorSettings& settings = CellEditorSettings::Current();
  if (c.diff->change == TChange::kAdded || c.diff->change == TChange::kRemoved) {
    const bool added = c.diff->change == TChange::kAdded;
    const TBlockList* cell = added ? c.after : c.before;
    for (int i = 0; i < cell->Count(); ++i) {
      Mark(painter, cell->Items(i)->Bounds(), added ? kAdded : kRemoved);
      MarkInputs(painter, cell, cell->Items(i)->Number(), added ? kAdded : kRemoved);
    }
    painter.restore();
    return;
  }
  for (const TBlockDiff& b : c.diff->blocks) {
    if (b.change == TChange::kRemoved) {
      // Removed blocks are gone from the new drawing: paint them from the old one.
      if (const TBlock* old = c.before->FindBlock(b.oldNumber)) old->Paint(painter, settings);
      Mark(painter, b.oldBounds, kRemoved);
    } else if (b.change == TChange::kAdded) {
      Mark(painter, b.newBounds, kAdded);
    } else {
      Mark(painter, b.newBounds, kAltered);
    }
  }
  for (const TWireDiff& w : c.diff->wires) {
    if (w.change == TChange::kRemoved) MarkWire(painter, c.before, w.target, w.slot, kRemoved);
    else MarkWire(painter, c.after, w.target, w.slot, kAdded);
  }
  painter.restore();
}

bool Write(const ChangedCell& c, const QString& fileName, bool svg) {
  const QSize size = PictureSize(c);
  if (!svg) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return false;
    QPainter painter(&image);
    Draw(painter, c);
    painter.end();
    return image.save(fileName, "PNG");
  }
  QSvgGenerator generator;
  generator.setFileName(fileName);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(kScreenDpi);
  const TBlockList* cell = c.after ? c.after : c.before;
  generator.setTitle(QStringLiteral("Zelle %1: \"%2\" (Vergleich)").arg(cell->CellId()).arg(cell->Name()));
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  Draw(painter, c);
  return painter.end();
}

const TBlockList* FindById(const TTarvixPlusModel& model, int32_t id) { return id ? model.FindCell(id) : nullptr; }

}  // namespace

int RenderCompare(const QStringList& options) {
  QStringList files;
  QString out;
  for (qsizetype i = 0; i < options.size(); ++i) {
    if (options[i] == QStringLiteral("-o") && i + 1 < options.size()) out = options[++i];
    else if (files.size() < 2 && !options[i].startsWith(QLatin1Char('-'))) files << options[i];
    else {
      Say(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(options[i]));
      return 1;
    }
  }
  if (files.size() != 2 || out.isEmpty()) {
    Say(QStringLiteral("Aufruf: vorblen-cli render --compare ALT.tvp NEU.tvp -o AUSGABE.svg|png"));
    return 1;
  }
  const QFileInfo target(out);
  const QString format = target.suffix().toLower();
  if (format != QStringLiteral("svg") && format != QStringLiteral("png")) {
    Say(QStringLiteral("Unbekanntes Bildformat \"%1\": die Datei muss auf .svg oder .png enden.").arg(target.suffix()));
    return 1;
  }
  TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
  std::unique_ptr<TTarvixPlusModel> before = LoadProject(files[0]);
  if (!before) return 1;
  std::unique_ptr<TTarvixPlusModel> after = LoadProject(files[1]);
  if (!after) return 1;
  const TProjectDiff diff = CompareProjects(TProjectSnapshot::Of(*before), TProjectSnapshot::Of(*after));

  std::vector<ChangedCell> cells;
  for (const TCellDiff& c : diff.cells)
    if (c.change != TChange::kChanged || !c.blocks.empty() || !c.wires.empty())
      cells.push_back({FindById(*before, c.oldId), FindById(*after, c.newId), &c});
  if (cells.empty()) {
    Say(QStringLiteral("Keine geänderten Zellen: es wird kein Bild geschrieben."));
    return 0;
  }
  const QString stem = target.dir().filePath(target.completeBaseName());
  std::set<QString> used;
  for (const ChangedCell& c : cells) {
    const TBlockList* cell = c.after ? c.after : c.before;
    QString fileName = out;
    if (cells.size() > 1) {
      fileName = QStringLiteral("%1-%2.%3").arg(stem, FilePart(cell->Name()), target.suffix());
      if (!used.insert(fileName).second)
        fileName = QStringLiteral("%1-%2-%3.%4").arg(stem, FilePart(cell->Name())).arg(cell->CellId()).arg(target.suffix());
    }
    if (!Write(c, fileName, format == QStringLiteral("svg"))) {
      Say(QStringLiteral("Die Datei %1 lässt sich nicht schreiben.").arg(fileName));
      return 1;
    }
    std::printf("%s\n", fileName.toUtf8().constData());
  }
  return 0;
}

}  // namespace cli
