// WindowIcons: the icons of the station's windows (the application, the
// table editor, the data-log view, the comment editor), drawn in code in
// the manner of the tool-bar pictures: a 16 x 16 design, rendered at the
// sizes a window manager and a high-resolution screen ask for.
#pragma once

#include <QIcon>

namespace windowicons {

enum class Kind { Application, Table, DataLog, Comment };

QIcon Icon(Kind kind);

}  // namespace windowicons
