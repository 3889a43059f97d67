// vorblen-cli recover: the recovery copies the station left behind, listed
// and written back as project files, without a display.
#pragma once

#include <QStringList>

namespace cli {

// args: the words after "recover". Exit 0 on success, 1 otherwise.
int Recover(const QStringList& args);

}  // namespace cli
