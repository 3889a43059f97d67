// The commands of vorblen-cli; each answers the program's exit code.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TCliUserInterface;
class TTarvixPlusModel;

namespace cli {

int Compile(const QString& project, TCliUserInterface& ui);
int Run(const QString& project, const QStringList& options, TCliUserInterface& ui);
int Download(const QString& project, const QStringList& options, TCliUserInterface& ui);
int Disasm(const QString& project, TCliUserInterface& ui);

// The project loaded and compiled in the current directory as the compile
// command does it (messages on standard error), or null when that failed.
std::unique_ptr<TTarvixPlusModel> LoadCompiled(const QString& project);

}  // namespace cli
