// A project for the benchmarks: `cells` program cells, each with `pairs`
// constants wired into print blocks, saved under `name`.
#pragma once

#include <QString>
#include <memory>

#include "TInputLine.h"
#include "TTarvixPlusModel.h"

inline QString BuildPrintProject(const QString& name, int cells, int pairs) {
  TTarvixPlusModel m;
  for (int c = 0; c < cells; ++c) {
    m.NewCell(-1);
    const int32_t cell = m.Cells().back()->CellId();
    for (int i = 0; i < pairs; ++i) {
      TBlock* k = m.InsertBlock(cell, 700, TRect{20, 20 + i * 40, 2000, 2000});
      k->SetData(0, QString::number(i));
      TBlock* p = m.InsertBlock(cell, 900, TRect{200, 20 + i * 40, 2000, 2000});
      auto wire = std::make_unique<TInputLine>();
      wire->source = k->Id();
      wire->AddPoint(QPoint(k->Bounds().right, k->Bounds().top + 5));
      wire->AddPoint(QPoint(p->Bounds().left, p->Bounds().top + 5));
      wire->Update();
      int input = -1;
      m.ConnectWire(p->Id(), input, std::move(wire));
    }
  }
  m.SaveToFile(name);
  return name;
}
