#include "TCheckRules.h"

#include <QStringList>

namespace checkrules {

const std::vector<TCheckRule>& All() {
  static const std::vector<TCheckRule> rules = {
      {"E101", TSeverity::kFehler, "Eingang nicht verbunden",
       "Ein Block, dessen Ergebnis im Programm verwendet wird, braucht seine Eingänge: Rechenblöcke mit festen "
       "Eingängen (a, b, c) alle, die übrigen Rechenblöcke mindestens einen; Warten und die Verteiler "
       "(On Goto, On Gosub) ihren Bedingungs- bzw. Auswahleingang. Der Compiler meldet nur den ersten solchen "
       "Block, die Prüfung alle auf einmal. Abhilfe: den Eingang verbinden oder den Block entfernen."},
      {"E102", TSeverity::kFehler, "Sprungziel unbekannt",
       "Ein Sprung oder Aufruf nennt eine Zelle, die es im Projekt nicht gibt (oder den Namen einer Tabelle). "
       "Der Compiler bricht mit \"nicht definiert\" ab. Abhilfe: den Zellennamen im Parameter des Blocks "
       "korrigieren; Groß- und Kleinschreibung zählen."},
      {"E103", TSeverity::kFehler, "Parameter fehlt",
       "Ein Sprung, Aufruf oder Tabellenblock hat keinen Namen im Parameter. Der Compiler lehnt das Programm "
       "ab. Abhilfe: den Parameter des Blocks eintragen."},
      {"E104", TSeverity::kFehler, "Tabelle unbekannt",
       "Ein Tabellenblock nennt eine Tabelle, die es im Projekt nicht gibt. Abhilfe: den Tabellennamen im "
       "Parameter korrigieren oder die Tabelle anlegen."},
      {"E105", TSeverity::kFehler, "Tabelle nicht lesbar",
       "Eine Tabelle kann nicht übersetzt werden: die Datei einer externen Tabelle fehlt oder ist nicht "
       "lesbar, oder ein Eintrag ist keine ganze Zahl von -32768 bis 32767. Jede Tabelle des Projekts wird "
       "übersetzt, auch eine unbenutzte."},
      {"E106", TSeverity::kFehler, "Division durch 0",
       "Der Teiler einer Division oder eines Divisionsrests ist die Konstante 0. Die Unit hält an dieser Stelle "
       "mit einem Laufzeitfehler an."},
      {"W101", TSeverity::kWarnung, "Block ohne Wirkung",
       "Das Ergebnis des Blocks führt nirgendwohin, oder an einer Ausgabe ist nichts angeschlossen, und der "
       "Block bewirkt nichts von sich aus. Der Compiler übergeht ihn stillschweigend. Meist fehlt eine "
       "Verbindung."},
      {"W102", TSeverity::kWarnung, "Zelle nie erreicht",
       "Keine erreichbare Zelle springt zu dieser Zelle oder ruft sie auf, und die Zelle davor läuft nicht in "
       "sie hinein (sie endet mit einem unbedingten Sprung, Rücksprung oder Ende). Ihr Programm wird nie "
       "ausgeführt."},
      {"W103", TSeverity::kWarnung, "Variable nie geschrieben",
       "Eine Speicherzelle (WORD, BYTE oder BIT) wird gelesen, aber nirgends im Programm geschrieben, auch nicht "
       "über eine andere Breite derselben Bytes. Sie hat keinen Anfangswert außer 0. Meist ist die Nummer der "
       "Speicherzelle vertauscht."},
      {"W104", TSeverity::kWarnung, "Schleife ohne Warten",
       "Eine Folge von Zellen kann im Kreis laufen, ohne einen Warteblock, eine Pause oder eine Eingabe zu "
       "passieren. Solange sie läuft, kommt die Unit nie zur Ruhe und die Station nicht zum Zug: Tasten, "
       "serielle Schnittstelle und Simulator reagieren nicht. Abhilfe: eine Pause oder ein Warten in die "
       "Schleife setzen."},
      {"W105", TSeverity::kWarnung, "Konstante außerhalb des Bereichs",
       "Eine Konstante liegt außerhalb des Bereichs, den ihr Eingang annimmt: ein BYTE nimmt 0 bis 255, ein "
       "Port wertet nur das niedrige Byte, eine Schiebeweite ist 0 bis 15, eine Pause ist nicht negativ, ein "
       "Tabellenindex liegt innerhalb der Tabelle, ein Verteiler hat so viele Ziele wie Zeilen, die Uhr nimmt "
       "Sekunden und Minuten 0 bis 59, Stunden 0 bis 23, Tage 1 bis 31 und Monate 1 bis 12."},
      {"W106", TSeverity::kWarnung, "Vergleich immer gleich",
       "Ein Vergleich hat immer dasselbe Ergebnis, weil seine Eingänge Konstanten sind, beide vom selben Block "
       "kommen oder der Wertebereich eines Eingangs (etwa BYTE 0 bis 255, BIT 0 bis 1, Analogeingang 0 bis "
       "255) den Vergleich entscheidet. Die abhängige Verzweigung ist dann tot oder immer genommen."},
      {"H101", TSeverity::kHinweis, "Variable nie gelesen",
       "Eine Speicherzelle wird geschrieben, aber nirgends im Programm gelesen. Das ist richtig, wenn sie nur "
       "im Simulator beobachtet wird; sonst ist die Rechnung überflüssig oder die Nummer vertauscht."},
      {"H102", TSeverity::kHinweis, "Ausgang aus mehreren Zellen geschrieben",
       "Ein Ausgang (Port, Relais oder LED) wird in mehreren Zellen geschrieben. In einer Ablaufsteuerung ist "
       "das üblich; sonst überschreiben sich die Zellen gegenseitig und der Ausgang flackert."},
  };
  return rules;
}

const TCheckRule* Find(const QString& code) {
  for (const TCheckRule& rule : All())
    if (code == QLatin1String(rule.code)) return &rule;
  return nullptr;
}

QString HelpHtml(const TCheckRule& rule) {
  return QStringLiteral("<h3><a name=\"%2\"></a>%2 %3 – %1</h3><p>%4</p>")
      .arg(SeverityName(rule.severity), QLatin1String(rule.code), QString::fromUtf8(rule.title).toHtmlEscaped(),
           QString::fromUtf8(rule.help).toHtmlEscaped());
}

QString HelpPageHtml() {
  QStringList keywords{QStringLiteral("Programm prüfen"), QStringLiteral("Prüfergebnis"), QStringLiteral("Befund")};
  QString body = QStringLiteral(
      "<h1>Programm prüfen</h1>"
      "<p>\"Programm prüfen\" im Menü Simulator (und vorblen-cli check) liest das Programm, ohne es zu übersetzen, "
      "und meldet alle Befunde auf einmal. Jeder Befund hat ein festes Kennzeichen: E für Fehler (der Compiler lehnt "
      "das Programm ab, oder es hält mit einem Laufzeitfehler an), W für Warnungen (das Programm läuft, aber "
      "vermutlich nicht wie gedacht) und H für Hinweise (oft gewollt).</p>");
  for (const TCheckRule& rule : All()) {
    body += HelpHtml(rule);
    keywords << QLatin1String(rule.code) << QString::fromUtf8(rule.title);
  }
  body += QStringLiteral("<p><a href=\"help:contents\">Inhalt</a></p>");
  return QStringLiteral("<html><head><title>Programm prüfen</title><meta name=\"keywords\" content=\"%1\"></head>"
                        "<body>%2</body></html>")
      .arg(keywords.join(QStringLiteral("; ")).toHtmlEscaped(), body);
}

}  // namespace checkrules
