// The commands of vorblen-cli; each answers the program's exit code.
#pragma once

#include <QString>
#include <QStringList>

class TCliUserInterface;

namespace cli {

// With keepGoing, a project whose load lost content is compiled all the
// same; without, compile, run and download stop after the load reports.
void SetKeepGoing(bool keepGoing);

int Compile(const QString& project, TCliUserInterface& ui);
int Run(const QString& project, const QStringList& options, TCliUserInterface& ui);
int Download(const QString& project, const QStringList& options, TCliUserInterface& ui);

}  // namespace cli
