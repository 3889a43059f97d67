#include "ApplySettings.h"

namespace {

// The settings keep bit 0 italic and bit 1 bold; the cell body 1 bold, 2 italic.
uint8_t ToCommentStyle(uint8_t stored) {
  return static_cast<uint8_t>(((stored & TStoredFont::kItalic) ? TCommentFont::kItalic : 0) |
                              ((stored & TStoredFont::kBold) ? TCommentFont::kBold : 0));
}

}  // namespace

void Apply(const TStationSettings& s, CellEditorSettings& cell, TSimulatedInputs& inputs) {
  using S = TStationSettings;
  cell.alignAtGrid = s.cellAlignAtGrid;
  cell.gridVisible = s.cellGridVisible;
  cell.blockIndicesVisible = s.blockIndicesVisible;
  cell.bitmapPath = s.bitmapPath;
  cell.tablePath = s.tablePath;
  cell.foregroundColor = s.colors[S::kCellGridColor];
  cell.blockBackgroundColor = s.colors[S::kCellBackgnd];
  cell.wireColors = {s.colors[S::kLineColorInt], s.colors[S::kLineColorText], s.colors[S::kLineColorTime],
                     s.colors[S::kLineColorDate]};
  cell.indexTextColor = s.colors[S::kIndexColor];
  cell.indexBackgroundColor = s.colors[S::kIndexBackgnd];
  const TStoredFont& font = s.fonts[S::kCellCommentFont];
  cell.defaultCommentFont = {font.name, font.size, s.colors[S::kCellComment], ToCommentStyle(font.style)};

  inputs.AutoTiming = s.autoTiming;
  inputs.VirtualTime = s.virtualTime;
  inputs.AutoTimingChanged = true;
  inputs.FixedDigitalIn = s.fixedDigitalIn;
  inputs.FixedDigitalInChanged = true;
  inputs.AdcValue = s.adValues;
  inputs.AdcChanged.fill(true);
  inputs.Frequency = s.frequency;
}

void Apply(const TStationSettings& settings) {
  Apply(settings, CellEditorSettings::Current(), TSimulatedInputs::Current());
}

void Collect(TStationSettings& s, const CellEditorSettings& cell, const TSimulatedInputs& inputs) {
  s.cellAlignAtGrid = cell.alignAtGrid;
  s.cellGridVisible = cell.gridVisible;
  s.blockIndicesVisible = cell.blockIndicesVisible;
  s.autoTiming = inputs.AutoTiming;
  s.virtualTime = inputs.VirtualTime;
  s.fixedDigitalIn = inputs.FixedDigitalIn;
  s.adValues = inputs.AdcValue;
  s.frequency = inputs.Frequency;
}

void Collect(TStationSettings& settings) {
  Collect(settings, CellEditorSettings::Current(), TSimulatedInputs::Current());
}
