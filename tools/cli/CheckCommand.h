// vorblen-cli check: the program checks of a project, for people and for CI.
#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// Prints one line per finding (or JSON, or SARIF 2.1.0 with --format).
// Exit 0 without errors, 1 with errors (or warnings with --werror), 2 when
// the project cannot be read or the call is wrong.
int Check(const QString& project, const QStringList& options);

}  // namespace cli
