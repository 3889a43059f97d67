// Builds small projects through the model's own operations.
#pragma once

#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTarvixPlusModel.h"

namespace mt {

// A wire from the right middle of source to the left middle of target.
inline std::unique_ptr<TInputLine> WireBetween(const TBlock& source, const TBlock& target) {
  auto wire = std::make_unique<TInputLine>();
  wire->source = source.Id();
  const TRect& s = source.Bounds();
  const TRect& t = target.Bounds();
  wire->AddPoint(QPoint(s.right, (s.top + s.bottom) / 2));
  wire->AddPoint(QPoint(t.left, (t.top + t.bottom) / 2));
  wire->Update();
  return wire;
}

// A block of the type at a position, with a parameter set through the model's data path.
inline TBlock* Place(TTarvixPlusModel& m, int32_t cellId, int32_t type, int x, int y, const QString& param = {}) {
  TBlock* b = m.InsertBlock(cellId, type, TRect{x, y, x + 400, y + 400});
  if (b && !param.isEmpty()) b->SetData(0, param);
  return b;
}

inline bool Connect(TTarvixPlusModel& m, const TBlock& source, const TBlock& target, int input = -1) {
  return m.ConnectWire(target.Id(), input, WireBetween(source, target));
}

// One cell printing a counter: word cell 1 = cell 1 + 1, printed with CR LF.
inline int32_t AddCounterCell(TTarvixPlusModel& m) {
  m.NewCell(-1);
  int32_t cell = m.Cells().back()->CellId();
  TBlock* word = Place(m, cell, 602, 200, 100, QStringLiteral("1"));
  TBlock* add = Place(m, cell, 200, 100, 100);
  TBlock* one = Place(m, cell, 700, 10, 150, QStringLiteral("1"));
  TBlock* print = Place(m, cell, 900, 300, 100, QStringLiteral("2"));
  Connect(m, *word, *add);
  Connect(m, *one, *add);
  Connect(m, *add, *word);
  Connect(m, *word, *print);
  return cell;
}

}  // namespace mt
