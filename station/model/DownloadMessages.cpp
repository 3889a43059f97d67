#include "DownloadMessages.h"

#include "plexor.h"

QString DownloadResultText(int32_t result) {
  if (result >= 0) return QStringLiteral("%1 bytes übertragen").arg(result);
  switch (result) {
    case PLEXOR_DL_WRITE: return QStringLiteral("Es trat ein Fehler beim Schreiben auf die serielle Schnittstelle auf!");
    case PLEXOR_DL_NO_ANSWER: return QStringLiteral("Die Tarvix-Unit antwortet nicht!");
    case PLEXOR_DL_WRONG_ECHO: return QStringLiteral("Es trat ein Übertragungsfehler auf!");
    case PLEXOR_DL_ABORTED: return QStringLiteral("Der Download wurde durch den Anwender abgebrochen!");
    case PLEXOR_DL_DRAIN:
      return QStringLiteral("Die Tarvix-Unit sendet ununterbrochen Daten! Beenden Sie das laufende Programm der Unit.");
    default: return QStringLiteral("Es liegt kein übersetztes Programm vor oder die Schnittstelle ist nicht nutzbar!");
  }
}
