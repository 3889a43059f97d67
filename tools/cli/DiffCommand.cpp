// vorblen-cli diff: what changed between two versions of a project, as a
// German report, a summary line or JSON. The exit code follows diff(1).
#include <cstdio>
#include <memory>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "CompareCommands.h"
#include "DiffReport.h"
#include "ProjectCompare.h"
#include "TBlockCatalogue.h"
#include "TImagesCatalogueSource.h"
#include "TTarvixPlusModel.h"

namespace cli {

int Diff(const QString& oldProject, const QStringList& options) {
  QString newProject;
  bool stat = false;
  bool json = false;
  for (qsizetype i = 0; i < options.size(); ++i) {
    const QString& o = options[i];
    if (o == QStringLiteral("--stat")) {
      stat = true;
    } else if (o == QStringLiteral("--format") && i + 1 < options.size() &&
               (options[i + 1] == QStringLiteral("json") || options[i + 1] == QStringLiteral("text"))) {
      json = options[++i] == QStringLiteral("json");
    } else if (newProject.isEmpty() && !o.startsWith(QLatin1Char('-'))) {
      newProject = o;
    } else {
      TCliUserInterface::Print(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(o));
      return 2;
    }
  }
  if (newProject.isEmpty()) {
    TCliUserInterface::Print(QStringLiteral("Es fehlt die zweite Projektdatei: vorblen-cli diff ALT.tvp NEU.tvp"));
    return 2;
  }
  // The catalogue names the block types in the report.
  TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
  TProjectSnapshot before, after;
  {
    std::unique_ptr<TTarvixPlusModel> model = LoadProject(oldProject);
    if (!model) return 2;
    before = TProjectSnapshot::Of(*model);
  }
  {
    std::unique_ptr<TTarvixPlusModel> model = LoadProject(newProject);
    if (!model) return 2;
    after = TProjectSnapshot::Of(*model);
  }
  const TProjectDiff diff = CompareProjects(before, after);
  if (json) {
    const QByteArray text = DiffJson(diff);
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
  } else {
    const QString text = stat ? DiffStatLine(diff) + QLatin1Char('\n') : DiffReportText(diff);
    std::fputs(text.toUtf8().constData(), stdout);
  }
  std::fflush(stdout);
  return diff.Empty() ? 0 : 1;
}

}  // namespace cli
