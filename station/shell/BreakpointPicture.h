// The breakpoint as the frame's tool buttons and the project tree draw it:
// a red dot.
#pragma once

#include <QRect>

class QPainter;

void PaintBreakpoint(QPainter& p, const QRect& dot);
