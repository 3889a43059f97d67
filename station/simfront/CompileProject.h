// The main window's compile commands: compile (250) and compile and
// download (251), each through the modal compiler window.
#pragma once

class QWidget;
class TTarvixPlusModel;

// Both commands are enabled only for an open project with at least one
// block in some cell while no simulation is active and no compile runs.
bool CanCompileProject(const TTarvixPlusModel* model);

// Commits the views' pending edits, loads the external tables (nothing more
// when that fails), runs the compiler window modally and releases the table
// data again. True when the window closed with "OK" after a finished run.
bool CompileProject(TTarvixPlusModel& model, bool download, QWidget* parent = nullptr);
