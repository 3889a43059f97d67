// vorblen-cli list: the cells, tables and watchable variables of a project,
// so a user knows what a scenario or a render call can refer to.
#include <cstdio>
#include <memory>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "ProjectCommands.h"
#include "TScenarioRunner.h"
#include "TTarvixPlusModel.h"

namespace cli {

int List(const QString& project, const QStringList& options) {
  if (!options.isEmpty()) {
    TCliUserInterface::Print(QStringLiteral("Unbekannte Angabe: %1").arg(options.first()));
    return 1;
  }
  std::unique_ptr<TTarvixPlusModel> model = LoadProject(project);
  if (!model) return 1;
  QString out = QStringLiteral("Zellen:\n");
  for (const auto& cell : model->Cells())
    out += QStringLiteral("  %1  \"%2\"  %3 Blöcke\n").arg(cell->CellId()).arg(cell->Name()).arg(cell->Count());
  out += QStringLiteral("Tabellen:\n");
  for (const auto& table : model->Tables())
    out += QStringLiteral("  %1  \"%2\"  %3\n")
               .arg(table->Number)
               .arg(table->Name)
               .arg(table->Internal ? QStringLiteral("intern") : QStringLiteral("extern: %1").arg(table->ExternalFile));
  if (model->Tables().empty()) out += QStringLiteral("  (keine)\n");
  out += QStringLiteral("Variablen:\n");
  const std::vector<TScenarioVariable> variables = TScenarioRunner::Variables(*model);
  for (const TScenarioVariable& v : variables)
    out += QStringLiteral("  \"%1\"  0x%2  Block %3 in Zelle %4\n")
               .arg(v.name)
               .arg(static_cast<uint32_t>(v.mapCode), 8, 16, QLatin1Char('0'))
               .arg(v.blockId)
               .arg(static_cast<uint32_t>(v.blockId) >> 16);
  if (variables.empty()) out += QStringLiteral("  (keine)\n");
  std::fputs(out.toUtf8().constData(), stdout);
  return 0;
}

}  // namespace cli
