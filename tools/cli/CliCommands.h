// The commands of vorblen-cli; each answers the program's exit code.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TCliUserInterface;
class TTarvixPlusModel;

namespace cli {

// With keepGoing, a project whose load lost content is compiled all the
// same; without, compile, run and download stop after the load reports.
void SetKeepGoing(bool keepGoing);

int Compile(const QString& project, TCliUserInterface& ui);
int Run(const QString& project, const QStringList& options, TCliUserInterface& ui);
int Download(const QString& project, const QStringList& options, TCliUserInterface& ui);
int Disasm(const QString& project, TCliUserInterface& ui);

// The project loaded and compiled in the current directory as the compile
// command does it (messages on standard error), or null when that failed.
std::unique_ptr<TTarvixPlusModel> LoadCompiled(const QString& project);

// The project as the commands load it (null after a message), and its
// compile in the current directory (false after the compiler's message).
std::unique_ptr<TTarvixPlusModel> LoadProject(const QString& project);
bool CompileProject(TTarvixPlusModel& model);

}  // namespace cli
