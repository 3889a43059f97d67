// The commands of vorblen-cli that compare project versions: diff reports
// the differences, textconv writes a project as stable text for git, and
// render --compare draws the changed cells. Each answers the exit code.
#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// Exit 0 when the versions are equal, 1 when they differ, 2 when a file
// cannot be read (or the call is wrong).
int Diff(const QString& oldProject, const QStringList& options);
// Exit 0 after writing the text, 2 when the file cannot be read.
int Textconv(const QString& project, const QStringList& options);
// options: OLD NEW -o OUT.svg|png. Exit 0 when every picture is written,
// 1 otherwise.
int RenderCompare(const QStringList& options);

}  // namespace cli
