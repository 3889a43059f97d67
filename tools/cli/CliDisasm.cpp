// vorblen-cli disasm: the download image of a project as the engine lists it,
// so a user can see what the blocks compile to.
#include <cstdio>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "EngineText.h"
#include "TTarvixPlusModel.h"
#include "plexor.h"

namespace cli {
namespace {

// The engine escapes the unit's 8-bit characters in string operands as
// \xNN; they are shown as the characters they are, like the labels. An
// escape that stands for a control or an unused code stays.
QString Readable(const QString& listing) {
  QString out;
  out.reserve(listing.size());
  bool quoted = false, comment = false;
  for (qsizetype i = 0; i < listing.size(); ++i) {
    const QChar c = listing[i];
    if (c == QLatin1Char('\n')) {
      quoted = comment = false;
    } else if (!quoted && c == QLatin1Char(';')) {
      comment = true;
    } else if (!comment && c == QLatin1Char('"')) {
      quoted = !quoted;
    } else if (quoted && c == QLatin1Char('\\') && i + 1 < listing.size()) {
      bool ok = false;
      const int code = listing.mid(i + 2, 2).toInt(&ok, 16);
      if (listing[i + 1] == QLatin1Char('x') && i + 3 < listing.size() && ok && code >= 0x80) {
        const char byte[2] = {static_cast<char>(code), 0};
        const QString shown = enginetext::ToQString(byte);
        if (shown.size() == 1 && shown[0].isPrint() && !shown[0].isSpace() && shown[0] != QChar(0xAD)) {
          out += shown;
          i += 3;
          continue;
        }
      }
      out += c;
      out += listing[++i];
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace

int Disasm(const QString& project, TCliUserInterface&) {
  std::unique_ptr<TTarvixPlusModel> model = LoadCompiled(project);
  if (!model) return 1;
  const char* listing = PlexorGetListing(model->Engine());
  if (!listing) {
    TCliUserInterface::Print(QStringLiteral("Keine Programmliste vom Compiler erhalten."));
    return 1;
  }
  // Cell names and texts come in the engine's Windows-1252; the terminal
  // reads its own encoding.
  const QByteArray text = Readable(enginetext::ToQString(listing)).toLocal8Bit();
  std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
  return 0;
}

}  // namespace cli
