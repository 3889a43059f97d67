// Where recovery copies live: $XDG_STATE_HOME/vorblen/recovery, or
// ~/.local/state/vorblen/recovery when that variable is unset or not an
// absolute path.
#pragma once

#include <QString>

namespace recovery {

QString StateDirectory();
// Creates the directory (only the user may enter it); false with a German
// reason.
bool MakeStateDirectory(const QString& directory, QString& problem);

}  // namespace recovery
