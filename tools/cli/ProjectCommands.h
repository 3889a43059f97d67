// The commands of vorblen-cli that check and show a project: test plays
// scenarios, render draws cells, list names what a scenario can refer to.
// Each answers the program's exit code.
#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// Exit 0 when every scenario passes, 1 when one fails, 2 when the project
// or a scenario cannot be read.
int Test(const QString& project, const QStringList& options);
// Exit 0 when every picture is written, otherwise 1.
int Render(const QString& project, const QStringList& options);
int List(const QString& project, const QStringList& options);

}  // namespace cli
