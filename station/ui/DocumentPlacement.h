// DocumentPlacement: where a document window goes inside the document area.
// A new window, a stored rectangle and "Überlappend" all keep windows wholly
// inside the visible area, at a size that leaves them usable.
#pragma once

#include <QRect>
#include <QSize>

namespace documentplacement {

// A property (true) of a sub-window the desktop file placed: that placement
// is newer than a rectangle the window keeps in the settings, and wins.
inline constexpr const char* kPlacedByDesktop = "vorblenPlacedByDesktop";

// The rectangle moved (and shrunk where it is larger) so that it lies wholly
// inside area; never smaller than minimum unless the area is.
QRect Inside(const QRect& rect, const QRect& area, QSize minimum = QSize(100, 60));

// The index-th window of a cascade over area: each one step right and down
// of the one before, starting again at the top left where a window would run
// past the area; every window two thirds of the area (at least minimum).
QRect Cascaded(int index, const QRect& area, int step, QSize minimum = QSize(300, 200));

}  // namespace documentplacement
