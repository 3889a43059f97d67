// The layout of the main window that the settings keep: the project window
// docked at the left and its width, the window's placement on the screen
// and whether it is maximised or minimised.
#pragma once

class QMainWindow;
class QWidget;
struct TStationSettings;

namespace mainwindowlayout {

// Docks the project window (the tree) at the left, fixed, without a title
// bar, at least fittingWidth wide.
void AddProjectWindow(QMainWindow& window, QWidget& tree, int fittingWidth);
// The width the user chose stays; the default one grows to fittingWidth.
// A saved placement is kept on the screen and no larger than it.
void Apply(QMainWindow& window, const TStationSettings& settings, int fittingWidth);
void Collect(const QMainWindow& window, TStationSettings& settings);

}  // namespace mainwindowlayout
