#include "TBlock.h"

#include <typeinfo>

#include "BlockEditError.h"
#include "CellEditorSettings.h"
#include "Grid.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"
#include "TTokenString.h"

namespace {
constexpr int32_t kCoordinateLimit = 1000000;
}

TBlock::TBlock(int32_t id, PlexorHandle engine) : id_(id), engine_(engine) {}
TBlock::~TBlock() = default;

std::unique_ptr<TBlock> TBlock::Create(const QString& alias, int32_t id, PlexorHandle engine) {
  if (alias == QLatin1String("GraphBlock")) return std::make_unique<TGraphBlock>(id, engine);
  if (alias == QLatin1String("TextBlock")) return std::make_unique<TTextBlock>(id, engine);
  return nullptr;
}

void TBlock::CheckSameClass(const TBlock& dest) const {
  if (typeid(dest) != typeid(*this))
    throw BlockEditError(QStringLiteral("Fehler bei %1.AssignTo: Falscher Zieltyp").arg(GetAliasName()));
}

void TBlock::AssignTo(TBlock& dest) const {
  CheckSameClass(dest);
  dest.bounds_ = bounds_;
}

TInputLine* TBlock::GetInput(int) const { return nullptr; }
void TBlock::SetInput(int, std::unique_ptr<TInputLine>) {}
bool TBlock::RerouteWireStarts(const TBlockList&) { return false; }
bool TBlock::RerouteWireEnds() { return false; }
bool TBlock::HasData(int) const { return false; }
TInputLine* TBlock::FindWireAt(QPoint, int& slot) {
  slot = -1;
  return nullptr;
}
bool TBlock::RemoveInputsFrom(const TBlockSelection&) { return false; }
void TBlock::PaintWires(QPainter&, const CellEditorSettings&) const {}
void TBlock::Paint(QPainter&, const CellEditorSettings&) const {}
bool TBlock::EditData(int, bool& appearanceChanged) {
  appearanceChanged = false;
  return false;
}
bool TBlock::HasInputFrom(const TBlockSelection&) const { return false; }
void TBlock::ShiftIds(int32_t delta) { id_ += delta; }

bool TBlock::MoveBy(QPoint delta) {
  const QPoint old = bounds_.TopLeft();
  TBlock::Shift(delta);
  return bounds_.TopLeft() != old;
}

void TBlock::Shift(QPoint delta) {
  const CellEditorSettings& s = CellEditorSettings::Current();
  TRect r = bounds_.Offset(delta);
  if (s.alignAtGrid) {
    const QPoint snapped = grid::Nearest(r.TopLeft(), s.gridSize);
    r = r.Offset(snapped - r.TopLeft());
  }
  bounds_ = r;
}

bool TBlock::FollowMovedBlocks(const TBlockList&, const TBlockSelection&, QPoint) { return false; }
void TBlock::SetCellId(int32_t cell) { id_ = static_cast<int32_t>((static_cast<uint32_t>(cell) << 16) | (static_cast<uint32_t>(id_) & 0xFFFFu)); }
QString TBlock::GetData(int) const { return {}; }
bool TBlock::SetData(int, const QString&) { return false; }

bool TBlock::ReadGeometry(const QStringList& lines, qsizetype& index, QString& error) {
  if (index >= lines.size()) {
    error = QStringLiteral("Unvollständiger Blockeintrag am Ende des Textes!");
    return false;
  }
  const qsizetype lineNo = index;
  TTokenString tokens(lines[index++], QLatin1Char(','));
  int32_t v[4];
  for (int32_t& x : v) {
    if (!tokens.NextInt(x) || x < -kCoordinateLimit || x > kCoordinateLimit) {
      error = QStringLiteral("Ungültige Blockgeometrie in Zeile %1:\r%2").arg(lineNo + 1).arg(lines[lineNo]);
      return false;
    }
  }
  bounds_ = {v[0], v[1], v[2], v[3]};
  return true;
}

bool TBlock::ReadData(const QStringList&, qsizetype&, QString&) { return true; }

void TBlock::WriteGeometry(QStringList& lines) const {
  lines << QStringLiteral("%1,%2,%3,%4").arg(bounds_.left).arg(bounds_.top).arg(bounds_.right).arg(bounds_.bottom);
}

bool TBlock::WriteData(QStringList&) const { return true; }
bool TBlock::SyncToEngine(int) { return true; }
bool TBlock::CanConnectFrom(const TBlock&) const { return false; }
bool TBlock::ChangeWire(int, int&, std::unique_ptr<TInputLine>) { return false; }
QString TBlock::GetInputText(int) const { return {}; }
