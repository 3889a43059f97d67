#include "TProjectSnapshot.h"

#include "TBlockCatalogue.h"
#include "TGraphBlock.h"
#include "TTarvixPlusModel.h"
#include "TTextBlock.h"

QString BlockTypeName(int32_t typeId) {
  const TBlockTyp* type = TBlockCatalogue::Instance().FindType(typeId);
  if (type && !type->name.isEmpty()) return type->name;
  return QStringLiteral("Typ %1").arg(typeId);
}

namespace {

TBlockSnapshot SnapshotOf(const TBlock& block) {
  TBlockSnapshot s;
  s.number = block.Number();
  s.bounds = block.Bounds();
  if (const auto* text = dynamic_cast<const TTextBlock*>(&block)) {
    s.kind = TBlockSnapshot::kComment;
    s.typeName = QStringLiteral("Kommentar");
    s.content = text->Text();
    s.style = text->FontLine();
    return s;
  }
  const auto* graph = dynamic_cast<const TGraphBlock*>(&block);
  if (!graph) {
    s.kind = block.GetKind();
    s.typeName = block.GetAliasName();
    return s;
  }
  s.kind = TBlockSnapshot::kFunctional;
  s.typeId = graph->TypeId();
  s.typeName = BlockTypeName(s.typeId);
  s.content = graph->ParamText();
  for (int slot = 0; slot < TGraphBlock::kSlots; ++slot) {
    const TInputLine* wire = graph->GetInput(slot);
    if (!wire) continue;
    TWireSnapshot w;
    w.slot = slot;
    // Wires never leave their cell: the number identifies the source.
    w.source = wire->source & 0xFFFF;
    w.connectionKind = wire->connectionKind;
    for (int i = 0; i < wire->pointCount && i < TInputLine::kMaxPoints; ++i) w.points.push_back(wire->Point(i));
    s.inputs.push_back(std::move(w));
  }
  return s;
}

}  // namespace

TProjectSnapshot TProjectSnapshot::Of(const TTarvixPlusModel& model) {
  TProjectSnapshot p;
  p.comment = model.Comment();
  for (const auto& table : model.Tables()) {
    TTableSnapshot t;
    t.number = table->Number;
    t.name = table->Name;
    t.internal = table->Internal;
    t.externalFile = table->Internal ? QString() : table->ExternalFile;
    if (table->Internal) t.data = table->Data;
    p.tables.push_back(std::move(t));
  }
  p.cells.reserve(model.Cells().size());
  for (const auto& cell : model.Cells()) {
    TCellSnapshot c;
    c.id = cell->CellId();
    c.name = cell->Name();
    c.blocks.reserve(static_cast<size_t>(cell->Count()));
    for (int i = 0; i < cell->Count(); ++i) c.blocks.push_back(SnapshotOf(*cell->Items(i)));
    p.cells.push_back(std::move(c));
  }
  return p;
}
