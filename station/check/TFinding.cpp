#include "TFinding.h"

QString SeverityName(TSeverity severity) {
  switch (severity) {
    case TSeverity::kFehler: return QStringLiteral("Fehler");
    case TSeverity::kWarnung: return QStringLiteral("Warnung");
    case TSeverity::kHinweis: return QStringLiteral("Hinweis");
  }
  return QStringLiteral("Fehler");
}
