#include "TBlockList.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "BlockEditError.h"
#include "CellEditorSettings.h"
#include "EngineText.h"
#include "Grid.h"
#include "TFontMapper.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"
#include "UserInterface.h"

namespace {

void Report(const QString& text) { TUserInterface::Current().ErrorBox(text); }

// The height of the title above a cell's picture.
constexpr int32_t kTitleHeight = 30;

}  // namespace

TBlockList::TBlockList(int32_t cellId, PlexorHandle engine)
    : cellId_(cellId), name_(QStringLiteral("Zelle %1").arg(cellId)), engine_(engine) {}

TBlockList::~TBlockList() = default;

int TBlockList::Add(std::unique_ptr<TBlock> block) {
  blocks_.push_back(std::move(block));
  return Count() - 1;
}

TBlock* TBlockList::FindBlock(int32_t id) const {
  const int32_t number = id & 0xFFFF;
  for (const auto& b : blocks_)
    if (b->Number() == number) return b.get();
  return nullptr;
}

int TBlockList::IndexOf(const TBlock* block) const {
  for (int i = 0; i < Count(); ++i)
    if (blocks_[static_cast<size_t>(i)].get() == block) return i;
  return -1;
}

int32_t TBlockList::NewBlockId() const {
  std::vector<bool> used(kMaxBlockNumber + 2, false);
  for (const auto& b : blocks_) used[static_cast<size_t>(b->Number())] = true;
  for (int32_t n = 1; n <= kMaxBlockNumber; ++n)
    if (!used[static_cast<size_t>(n)]) return static_cast<int32_t>((static_cast<uint32_t>(cellId_) << 16) | static_cast<uint32_t>(n));
  Report(QStringLiteral("Einfügen nicht möglich:\r\nZu viele Blöcke in dieser Programmzelle!"));
  return 0;
}

int32_t TBlockList::FindFreeIdRange(int32_t n) const {
  int64_t x = (static_cast<int64_t>(cellId_) << 16) | 1;
  bool again = true;
  while (again) {
    again = false;
    for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
      const int64_t id = (*it)->Id();
      if (id >= x && id <= x + n) {
        x = id + 1;
        again = true;
        break;
      }
    }
  }
  return static_cast<int32_t>(x);
}

TGraphBlock* TBlockList::InsertGraphBlock(int32_t typeId, const TRect& visible) {
  const int32_t id = NewBlockId();
  if (id == 0) return nullptr;
  auto block = std::make_unique<TGraphBlock>(id, engine_);
  block->SetType(typeId);
  if (!block->SyncToEngine(1)) return nullptr;
  block->SetParamText(engine_ ? enginetext::ToQString(PlexorGetBlockParam(engine_, id)) : QString());
  TGraphBlock* raw = block.get();
  PlaceBlock(Add(std::move(block)), visible);
  return raw;
}

TTextBlock* TBlockList::InsertTextBlock(const TRect& visible) {
  const int32_t id = NewBlockId();
  if (id == 0) return nullptr;
  auto block = std::make_unique<TTextBlock>(id, engine_);
  TTextBlock* raw = block.get();
  PlaceBlock(Add(std::move(block)), visible);
  return raw;
}

void TBlockList::PlaceBlock(int index, const TRect& visible) {
  TBlock* block = Items(index);
  const int32_t g = CellEditorSettings::Current().gridSize;
  auto toForwardGrid = [&](TRect r) { return r.Offset(grid::Forward(r.TopLeft(), g) - r.TopLeft()); };
  TRect r = block->Bounds();
  r = toForwardGrid(r.Offset(visible.TopLeft() - r.TopLeft()));
  // Every step moves the block right past a block or down a row, so the loop
  // ends below the lowest block; the cap guards against degenerate input.
  for (int step = 0; step < 1000000; ++step) {
    const TBlock* other = nullptr;
    for (const auto& b : blocks_)
      if (b.get() != block && b->Bounds().Intersects(r)) {
        other = b.get();
        break;
      }
    if (other) {
      r = toForwardGrid(r.Offset(other->Bounds().right - r.left, 0));
    } else if (visible.right < r.left + 10) {
      r = toForwardGrid(r.Offset(visible.left - r.left, r.Height()));
    } else {
      break;
    }
  }
  block->SetBounds(r);
}

bool TBlockList::RestoreBlock(const QStringList& lines, TRect& bounds) {
  if (lines.size() < 2) return false;
  const QString& alias = lines[0];
  if (!TBlock::Create(alias, 0, engine_)) {
    Report(QStringLiteral("Unbekannter Blocktyp %1!").arg(alias));
    return false;
  }
  bool ok = false;
  const int32_t id = lines[1].mid(3, 10).toInt(&ok, 10);
  if (!ok || FindBlock(id)) return false;
  qsizetype index = 2;
  QString error;
  std::unique_ptr<TBlock> block = ReadBlock(lines, index, alias, id, error);
  if (!block) {
    if (!error.isEmpty()) Report(error);
    return false;
  }
  TBlock* raw = block.get();
  Add(std::move(block));
  raw->SyncToEngine(1);
  bounds = raw->Bounds().United(raw->GetInputBounds());
  return true;
}

bool TBlockList::DeleteBlock(int32_t id) {
  if (((static_cast<uint32_t>(id) >> 16) & 0xFFFFu) != (static_cast<uint32_t>(cellId_) & 0xFFFFu))
    throw BlockEditError(QStringLiteral("Falsche BlockID in dieser Zelle"));
  TBlock* block = FindBlock(id);
  if (!block) return false;
  const int index = IndexOf(block);
  std::unique_ptr<TBlock> owned = std::move(blocks_[static_cast<size_t>(index)]);
  blocks_.erase(blocks_.begin() + index);
  owned->RemoveFromEngine();
  return true;
}

void TBlockList::Clear() {
  for (auto& b : blocks_) b->RemoveFromEngine();
  blocks_.clear();
}

void TBlockList::AssignBlocks(const TBlockList& other) {
  Clear();
  for (const auto& src : other.blocks_) {
    std::unique_ptr<TBlock> copy = TBlock::Create(src->GetAliasName(), src->Id(), engine_);
    if (!copy) continue;
    copy->SetCellId(cellId_);
    src->AssignTo(*copy);
    // The copied wires still name their sources in the other cell.
    copy->SetCellId(cellId_);
    Add(std::move(copy));
  }
  PushToEngine();
}

void TBlockList::DropDanglingWires() {
  for (auto& b : blocks_)
    for (int slot = 0; slot < TGraphBlock::kSlots; ++slot)
      if (const TInputLine* w = b->GetInput(slot); w && !FindBlock(w->source)) b->SetInput(slot, nullptr);
}

TRect TBlockList::GetBlockExtent(int32_t id) const {
  const TBlock* b = FindBlock(id);
  return b ? b->Bounds().United(b->GetInputBounds()) : TRect{};
}

TRect TBlockList::GetExtent() const {
  TRect r;
  for (const auto& b : blocks_) r = r.United(b->Bounds().United(b->GetInputBounds()));
  return r;
}

void TBlockList::PrepareFont(QPainter& painter) const {
  const CellEditorSettings& s = CellEditorSettings::Current();
  painter.setFont(TFontMapper::Make(QStringLiteral("MS Sans Serif"), 8));
  painter.setPen(QPen(tcolor::ToQColor(s.foregroundColor), 1));
  painter.setBackgroundMode(Qt::TransparentMode);
}

void TBlockList::PaintBlocks(QPainter& painter, const TRect& clip) const {
  const CellEditorSettings& s = CellEditorSettings::Current();
  PrepareFont(painter);
  // Functional blocks first, so that comments lie on top.
  for (const auto& b : blocks_)
    if (b->GetKind() == 2 && b->IntersectsRect(clip)) b->Paint(painter, s);
  for (const auto& b : blocks_)
    if (b->GetKind() != 2 && b->IntersectsRect(clip)) b->Paint(painter, s);
}

void TBlockList::PaintWires(QPainter& painter, const TRect& clip) const {
  const CellEditorSettings& s = CellEditorSettings::Current();
  PrepareFont(painter);
  for (const auto& b : blocks_)
    if (b->GetInputBounds().Intersects(clip)) b->PaintWires(painter, s);
}

void TBlockList::PaintErrorMark(QPainter& painter, int32_t id) const {
  if (((static_cast<uint32_t>(id) >> 16) & 0xFFFFu) != (static_cast<uint32_t>(cellId_) & 0xFFFFu)) return;
  const TBlock* b = FindBlock(id);
  if (!b) return;
  const TRect& r = b->Bounds();
  painter.setPen(QPen(QColor(0xFF, 0, 0), 3));
  painter.drawLine(r.left - 3, r.top - 3, r.right + 3, r.bottom + 3);
  painter.drawLine(r.left - 3, r.bottom + 3, r.right + 3, r.top - 3);
}

std::vector<int32_t> TBlockList::BlocksOutsideArea() const {
  const TRect& area = CellEditorSettings::Current().cellArea;
  std::vector<int32_t> ids;
  for (const auto& b : blocks_)
    if (!b->Bounds().Intersects(area)) ids.push_back(b->Id());
  return ids;
}

QSize TBlockList::RenderSize() const {
  // The content within the cell area: a block far outside it (which the
  // editor cannot show either) must not blow the picture up.
  const TRect& area = CellEditorSettings::Current().cellArea;
  TRect e;
  for (const auto& b : blocks_)
    if (b->Bounds().Intersects(area)) e = e.United(b->Bounds().United(b->GetInputBounds()));
  const int32_t right = std::min(e.right, area.right);
  const int32_t bottom = std::min(e.bottom, area.bottom);
  return QSize(std::clamp<int32_t>(std::max(right, 600), 1, std::max(area.right, 600)),
               std::clamp<int32_t>(bottom + kTitleHeight, kTitleHeight, std::max(area.bottom, 0) + kTitleHeight));
}

void TBlockList::Render(QPainter& painter) const {
  const QSize size = RenderSize();
  painter.save();
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  // The title in the font the cell's own labels use.
  painter.setFont(TFontMapper::Make(QStringLiteral("MS Sans Serif"), 12, TCommentFont::kBold));
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 0, size.width(), kTitleHeight), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Zelle %1: \"%2\"").arg(cellId_).arg(name_));
  painter.translate(0, kTitleHeight);
  const TRect clip{0, 0, size.width(), size.height() - kTitleHeight};
  painter.setClipRect(QRect(0, 0, clip.right, clip.bottom));
  PaintBlocks(painter, clip);
  PaintWires(painter, clip);
  painter.restore();
}

QImage TBlockList::RenderImage(int scale) const {
  scale = std::clamp(scale, 1, kMaxRenderScale);
  QImage image(RenderSize() * scale, QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, scale > 1);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.scale(scale, scale);
  Render(painter);
  return image;
}

std::unique_ptr<TBlock> TBlockList::ReadBlock(const QStringList& lines, qsizetype& index, const QString& alias,
                                              int32_t id, QString& error) {
  std::unique_ptr<TBlock> block = TBlock::Create(alias, id, engine_);
  if (!block) return nullptr;
  if (!block->ReadGeometry(lines, index, error)) return nullptr;
  if (!block->ReadData(lines, index, error)) return nullptr;
  block->UpdateExtent();
  return block;
}

bool TBlockList::ReadFromLines(bool withHeader, const QStringList& lines, int32_t targetCellId, QString* error) {
  // Every reported failure ends the reading; the caller may take the text
  // instead of a message box.
  auto fail = [error](const QString& text) {
    if (error) *error = text;
    else Report(text);
    return false;
  };
  qsizetype index = 0;
  if (withHeader) {
    if (index >= lines.size()) return false;
    const QString& first = lines[index];
    const qsizetype eq = first.indexOf(QLatin1Char('='));
    if (eq >= 0 && first.left(eq) == QLatin1String("ID")) {
      if (targetCellId <= 0) {
        bool ok = false;
        const int id = first.mid(eq + 1).toInt(&ok, 10);
        if (!ok || id < 1 || id > 0xFFFE) return fail(QStringLiteral("Ungültige Zellen-ID: %1!").arg(first));
        cellId_ = id;
      }
      ++index;
    }
    if (index >= lines.size()) return false;
    const QString& nameLine = lines[index];
    const qsizetype at = nameLine.indexOf(QLatin1Char('='));
    if (at < 0 || nameLine.left(at) != QLatin1String("NAME")) return false;
    const qsizetype next = nameLine.indexOf(QLatin1Char('='), at + 1);
    const QString name = next < 0 ? nameLine.mid(at + 1) : nameLine.mid(at + 1, next - at - 1);
    if (name.isEmpty()) return false;
    name_ = name;
    ++index;
  }
  if (targetCellId > 0) cellId_ = targetCellId;

  // The block numbers taken so far, so that a cell of many blocks reads in
  // linear time.
  std::vector<bool> taken(0x10000, false);
  for (const auto& b : blocks_) taken[static_cast<size_t>(b->Number() & 0xFFFF)] = true;
  while (index < lines.size()) {
    if (lines[index].isEmpty()) {
      ++index;
      continue;
    }
    if (lines[index] != QLatin1String("#BLOCK_START"))
      return fail(QStringLiteral("Falscher Blockbeginn in Zeile:\r%1").arg(lines[index]));
    ++index;
    if (index + 1 >= lines.size()) return fail(QStringLiteral("Unvollständiger Blockeintrag am Ende des Textes!"));
    const QString alias = lines[index++];
    if (!TBlock::Create(alias, 0, engine_)) return fail(QStringLiteral("Unbekannter Blocktyp %1!").arg(alias));
    const QString& idLine = lines[index++];
    bool ok = false;
    const int32_t id = idLine.startsWith(QLatin1String("ID=")) ? idLine.mid(3, 10).toInt(&ok, 10) : 0;
    const int32_t number = id & 0xFFFF;
    // A block number must be 1..65534 and unique in the cell, or the engine
    // page and the drawing would disagree about which block a wire means.
    if (!ok || number < 1 || number > kMaxBlockNumber || taken[static_cast<size_t>(number)])
      return fail(QStringLiteral("Ungültige Block-ID: %1!").arg(idLine));
    QString problem;
    std::unique_ptr<TBlock> block = ReadBlock(lines, index, alias, id, problem);
    if (!block) return fail(problem.isEmpty() ? QStringLiteral("Fehlerhafter Blockeintrag: %1!").arg(idLine) : problem);
    if (targetCellId > 0) block->SetCellId(targetCellId);
    if (index >= lines.size() || lines[index] != QLatin1String("#BLOCK_END")) return false;
    ++index;
    taken[static_cast<size_t>(number)] = true;
    Add(std::move(block));
  }
  return true;
}

QStringList TBlockList::WriteSingleBlock(const TBlock& block) {
  QStringList lines;
  lines << block.GetAliasName() << QStringLiteral("ID=%1").arg(block.Id());
  block.WriteGeometry(lines);
  block.WriteData(lines);
  return lines;
}

bool TBlockList::WriteToLines(bool withHeader, QStringList& lines) const {
  if (withHeader) lines << QStringLiteral("ID=%1").arg(cellId_) << QStringLiteral("NAME=") + name_ << QString();
  return WriteBlocks(nullptr, lines);
}

bool TBlockList::WriteSelection(const TBlockSelection& selection, QStringList& lines) const {
  return WriteBlocks(&selection, lines);
}

bool TBlockList::WriteBlocks(const TBlockSelection* selection, QStringList& lines) const {
  for (const auto& b : blocks_) {
    if (selection && std::find(selection->begin(), selection->end(), b.get()) == selection->end()) continue;
    lines << QStringLiteral("#BLOCK_START");
    lines << WriteSingleBlock(*b);
    lines << QStringLiteral("#BLOCK_END") << QString();
  }
  return true;
}

bool TBlockList::PushToEngine() {
  if (!engine_) return false;
  PlexorClearPage(engine_, cellId_);
  PlexorSetPageName(engine_, cellId_, enginetext::ToBytes(name_).c_str());
  // Every failure counts: a page that lacks a block or a wire is not reported as pushed.
  bool ok = true;
  for (auto& b : blocks_) ok = b->SyncToEngine(1) && ok;
  for (auto& b : blocks_) ok = b->SyncToEngine(0) && ok;
  return ok;
}
