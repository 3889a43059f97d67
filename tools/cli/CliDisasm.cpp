// vorblen-cli disasm: the download image of a project as the engine lists it,
// so a user can see what the blocks compile to.
#include <cstdio>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "EngineText.h"
#include "TTarvixPlusModel.h"
#include "plexor.h"

namespace cli {

int Disasm(const QString& project, TCliUserInterface&) {
  std::unique_ptr<TTarvixPlusModel> model = LoadCompiled(project);
  if (!model) return 1;
  const char* listing = PlexorGetListing(model->Engine());
  if (!listing) {
    TCliUserInterface::Print(QStringLiteral("Keine Programmliste vom Compiler erhalten."));
    return 1;
  }
  // Cell names come in the engine's Windows-1252; the terminal reads UTF-8.
  const QByteArray text = enginetext::ToQString(listing).toUtf8();
  std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
  return 0;
}

}  // namespace cli
