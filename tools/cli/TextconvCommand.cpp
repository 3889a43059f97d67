// vorblen-cli textconv: a project as stable, readable text, for git's
// diff.<driver>.textconv, so that git diff and git log -p show blocks and
// parameters instead of block records and coordinates.
#include <cstdio>
#include <memory>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "CompareCommands.h"
#include "ProjectText.h"
#include "TBlockCatalogue.h"
#include "TImagesCatalogueSource.h"
#include "TTarvixPlusModel.h"

namespace cli {

int Textconv(const QString& project, const QStringList& options) {
  bool positions = false;
  for (const QString& o : options) {
    if (o == QStringLiteral("--positions")) {
      positions = true;
    } else {
      TCliUserInterface::Print(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(o));
      return 2;
    }
  }
  TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
  std::unique_ptr<TTarvixPlusModel> model = LoadProject(project);
  if (!model) return 2;
  std::fputs(ProjectText(TProjectSnapshot::Of(*model), positions).toUtf8().constData(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace cli
