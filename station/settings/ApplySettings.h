// Hands the stored settings to the process-wide records that other parts of
// the station read (the cell editor's display settings and the simulated
// inputs), and takes back what the program changed there while it ran.
#pragma once

#include "CellEditorSettings.h"
#include "TSimulatedInputs.h"
#include "TStationSettings.h"

// Fills the cell editor settings (grid, block indices, directories, cell
// colours, default comment font) and the simulated inputs (AutoTiming and
// FixedDigitalIn marked pending for the engine, the analog values marked
// changed, the frequency).
void Apply(const TStationSettings& settings, CellEditorSettings& cell, TSimulatedInputs& inputs);
void Apply(const TStationSettings& settings);

// Copies back what the program changes at run time: the analog values, the
// frequency, FixedDigitalIn and AutoTiming, and the cell editor's grid and
// block-index switches. Colours, fonts and directories belong to the
// settings: their dialogs change the settings and apply them again.
void Collect(TStationSettings& settings, const CellEditorSettings& cell, const TSimulatedInputs& inputs);
void Collect(TStationSettings& settings);
