// vorblen-cli: the station's project model without windows.
//
//   vorblen-cli compile PROJECT.tvp [--keep-going]
//   vorblen-cli run PROJECT.tvp [--steps N] [--input V]... [--adc CH=V]...
//                               [--port P=L]... [--freq HZ] [--realtime|--virtual-time]
//                               [--keep-going]
//   vorblen-cli download PROJECT.tvp --device PATH [--keep-going]
//   vorblen-cli test PROJECT.tvp SCENARIO... [--junit FILE]
//   vorblen-cli render PROJECT.tvp [--cell NAME|ID]... -o OUT.svg|png|pdf
//   vorblen-cli list PROJECT.tvp
//   vorblen-cli disasm PROJECT.tvp
//   vorblen-cli check PROJECT.tvp [--format text|json|sarif] [--werror]
//   vorblen-cli diff OLD.tvp NEW.tvp [--stat] [--format json]
//   vorblen-cli textconv PROJECT.tvp [--positions]
//   vorblen-cli render --compare OLD.tvp NEW.tvp -o OUT.svg|png
//   vorblen-cli recover --list | COPY -o PROJECT.tvp | COPY --discard
#include <QFileInfo>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "CheckCommand.h"
#include "CliCommands.h"
#include "CliUserInterface.h"
#include "CompareCommands.h"
#include "ProjectCommands.h"
#include "RecoverCommand.h"

namespace {

const char kHelp[] =
    "vorblen-cli - Tarvix plus Programme ohne Fenster übersetzen, simulieren und laden\n"
    "\n"
    "  vorblen-cli compile PROJEKT.tvp\n"
    "      Lädt das Projekt, übersetzt es im aktuellen Verzeichnis, schreibt CODE.TXT\n"
    "      und meldet \"Programmlänge N bytes\". Exit 0 bei Erfolg, sonst 1.\n"
    "\n"
    "  vorblen-cli run PROJEKT.tvp [Optionen]\n"
    "      Übersetzt das Projekt und lässt es im Simulator laufen, bis es endet, ein\n"
    "      Laufzeitfehler auftritt oder N Simulatorschritte gemacht sind. Die serielle\n"
    "      Ausgabe der Unit erscheint unverändert (Bytes in Windows-1252, Zeilenende\n"
    "      CR LF) auf der Standardausgabe.\n"
    "      --text        Ausgabe zum Lesen: Zeichen in der Kodierung des Terminals,\n"
    "                    Zeilenende LF\n"
    "      --steps N     höchstens N Simulatorschritte (Vorgabe 1000)\n"
    "      --input V     nächster Eingabewert für Eingabeanforderungen (mehrfach)\n"
    "      --adc CH=V    Analogeingang CH (1..8) auf V (0..255)\n"
    "      --port P=L    Digitalport P (1..16) auf Pegel L (0 oder 1)\n"
    "      --freq HZ     Frequenzeingang (0..65535)\n"
    "      --realtime    Simulatorzeit aus der Uhr des Rechners (Pausen dauern echt)\n"
    "      --virtual-time  Zeitraffer: die Uhr der Unit läuft mit dem Programm ab dem\n"
    "                    1.1.2024 0:00 (Pausen und Warteschleifen ohne Warten, jeder\n"
    "                    Lauf gleich)\n"
    "      Exit 0 am Programmende oder an der Schrittgrenze, 1 wenn die Übersetzung\n"
    "      scheitert, 2 bei einem Laufzeitfehler, 3 wenn Eingabewerte fehlen.\n"
    "      Analogeingänge und Frequenz beginnen bei 0, die Tasten sind losgelassen.\n"
    "\n"
    "  vorblen-cli download PROJEKT.tvp --device PFAD\n"
    "      Übersetzt das Projekt und überträgt es über die serielle Schnittstelle PFAD\n"
    "      (z. B. /dev/ttyUSB0 oder das Terminal von vorblen-unit) an die Unit.\n"
    "      Strg+C bricht ab. Exit 0 bei Erfolg, sonst 1.\n"
    "\n"
    "  vorblen-cli test PROJEKT.tvp SZENARIO... [--junit DATEI]\n"
    "      Übersetzt das Projekt und spielt die Szenariodateien im Simulator ab\n"
    "      (Schritte wie \"set adc 1 = 120\", \"run 2000 steps\", \"expect output ...\",\n"
    "      siehe tools/cli/README.md). Meldet je Szenario PASS oder FAIL mit Datei,\n"
    "      Zeile, erwartetem und tatsächlichem Wert, zuletzt \"N passed, N failed\".\n"
    "      --junit DATEI  schreibt das Ergebnis zusätzlich als JUnit-XML (nie über\n"
    "                     das Projekt oder ein Szenario)\n"
    "      Exit 0 wenn alle bestehen, 1 wenn eines scheitert, 2 wenn Projekt oder\n"
    "      Szenario nicht lesbar sind.\n"
    "\n"
    "  vorblen-cli render PROJEKT.tvp [--cell NAME|NR]... [--scale N] -o AUSGABE\n"
    "      Zeichnet Zellen (ohne --cell alle) wie der Zelleneditor. Die Endung von\n"
    "      AUSGABE wählt das Format: .svg oder .png (bei mehreren Zellen eine Datei\n"
    "      je Zelle: AUSGABE-ZELLENNAME.svg) oder .pdf (eine Seite je Zelle). Bei\n"
    "      genau einer Zelle entsteht genau die Datei AUSGABE. In ZELLENNAME werden\n"
    "      Umlaute umschrieben (ä -> ae, ß -> ss) und alle Zeichen außer A-Z, a-z,\n"
    "      0-9, '-', '.' und '_' durch '_' ersetzt; gleiche Namen erhalten die\n"
    "      Zellennummer. Blöcke außerhalb der Zellfläche werden gemeldet.\n"
    "      --scale N     Bildpunkte je Punkt der Zelle in PNG (1..4, Vorgabe 2)\n"
    "      Exit 0 bei Erfolg, sonst 1 (dann bleibt keine angefangene Datei zurück).\n"
    "\n"
    "  vorblen-cli list PROJEKT.tvp\n"
    "      Zeigt die Zellen mit Nummer und Blockzahl, die Tabellen und die\n"
    "      beobachtbaren Variablen mit symbolischem Namen und Kennzahl.\n"
    "\n"
    "  Meldungen beim Laden: Geht beim Laden Inhalt verloren oder wird er verändert\n"
    "  (unlesbarer Zelleninhalt, unvollständiger Blockeintrag, ein Block, eine\n"
    "  Verbindung oder ein Parameter, den die Engine-Bibliothek Vorblen32 nicht\n"
    "  annimmt, ein unbekannter Blocktyp, eine nicht auffindbare externe Tabelle,\n"
    "  ein NUL-Zeichen, eine abgeschnittene Datei), geben\n"
    "  compile, run und download alle Meldungen aus und enden mit Exit 1, ohne zu\n"
    "  übersetzen (es entsteht keine CODE.TXT).\n"
    "      --keep-going  trotzdem übersetzen (bei jedem Befehl)\n"
    "  Meldungen, bei denen nichts verloren geht (ein fehlendes Benutzerbild, eine\n"
    "  umnummerierte doppelte Zellennummer), zählen nicht.\n"
    "  Nur compile schreibt CODE.TXT; run, test und disasm lassen das aktuelle\n"
    "  Verzeichnis unverändert und laufen auch in einem schreibgeschützten.\n"
    "  Dateien, die das Werkzeug schreibt (--junit, -o), ersetzen nur gewöhnliche\n"
    "  Dateien; auf ein Gerät oder eine FIFO (/dev/null, /dev/stdout) wird direkt\n"
    "  geschrieben, alles andere wird abgelehnt.\n\n"
    "\n"
    "  vorblen-cli disasm PROJEKT.tvp\n"
    "      Übersetzt das Projekt wie compile und gibt das Ladeabbild als kommentierte\n"
    "      Liste aus: Adresse, Bytes, Befehl und Operand, die Zellen als Marken,\n"
    "      Sprungziele und die Tabellen, Texte in der Kodierung des Terminals.\n"
    "      Exit 0 bei Erfolg, sonst 1.\n"
    "\n"
    "  vorblen-cli check PROJEKT.tvp [--format text|json|sarif] [--werror]\n"
    "      Prüft das Programm, ohne es zu übersetzen: offene Eingänge, Blöcke ohne\n"
    "      Wirkung, nie erreichte Zellen, ungenutzte Variablen, Schleifen ohne Warten,\n"
    "      unbekannte Sprungziele und Tabellen, Konstanten außerhalb des Bereichs.\n"
    "      Eine Zeile je Befund: DATEI: cell \"Name\", block 12: Warnung W103: ...\n"
    "      --format json   die Befunde als JSON\n"
    "      --format sarif  die Befunde als SARIF 2.1.0 (für Code-Hosting-Seiten)\n"
    "      --werror        Warnungen zählen wie Fehler\n"
    "      Exit 0 ohne Fehler, 1 mit Fehlern (mit --werror auch bei Warnungen), 2 wenn\n"
    "      das Projekt nicht lesbar ist.\n"
    "\n"
    "  vorblen-cli diff ALT.tvp NEU.tvp [--stat] [--format json]\n"
    "      Vergleicht zwei Fassungen eines Projekts: Zellen hinzugefügt, entfernt,\n"
    "      umbenannt; je Zelle Blöcke hinzugefügt, entfernt, verschoben, geändert (mit\n"
    "      altem und neuem Parameter) und Verbindungen; Tabellen und Kommentar.\n"
    "      Umnummerierte Blöcke werden über Typ und Lage wiedererkannt.\n"
    "      --stat         nur eine Zeile mit der Zahl der Unterschiede je Art\n"
    "      --format json  der Vergleich als JSON\n"
    "      Exit 0 wenn gleich, 1 wenn verschieden, 2 wenn eine Datei nicht lesbar ist.\n"
    "\n"
    "  vorblen-cli textconv PROJEKT.tvp [--positions]\n"
    "      Gibt das Projekt als gleichbleibenden, lesbaren Text aus (Zellen in ihrer\n"
    "      Reihenfolge, eine Zeile je Block mit Typ, Nummer, Parameter und Eingängen),\n"
    "      für diff.<treiber>.textconv von git. Koordinaten nur mit --positions.\n"
    "      Exit 0 bei Erfolg, 2 wenn die Datei nicht lesbar ist.\n"
    "\n"
    "  vorblen-cli render --compare ALT.tvp NEU.tvp -o AUSGABE.svg|png\n"
    "      Zeichnet jede geänderte Zelle: hinzugefügte Blöcke und Verbindungen grün,\n"
    "      entfernte rot (aus der alten Zeichnung), verschobene und geänderte gelb.\n"
    "      Bei mehreren Zellen eine Datei je Zelle (AUSGABE-ZELLENNAME.svg).\n"
    "\n"
    "  vorblen-cli recover --list\n"
    "      Zeigt die Wiederherstellungskopien beendeter Stationen (in\n"
    "      $XDG_STATE_HOME/vorblen/recovery, sonst ~/.local/state/vorblen/recovery)\n"
    "      mit Projekt, Datei, Zeit der Kopie und ob die Datei seitdem geändert wurde.\n"
    "  vorblen-cli recover KOPIE -o PROJEKT.tvp\n"
    "      Schreibt das Projekt aus der Kopie nach PROJEKT.tvp; die Kopie bleibt.\n"
    "      Eine beschädigte Kopie wird gemeldet und nicht geschrieben (Exit 1).\n"
    "  vorblen-cli recover KOPIE --discard\n"
    "      Löscht die Kopie (nicht die einer laufenden Station).\n"
    "\n"
    "  vorblen-cli --version\n"
    "      Gibt die Version aus.\n";

void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  // Qt's own diagnostics would mix into the tool's messages; keep the fatal ones.
  if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

int Usage(const QString& problem) {
  TCliUserInterface::Print(problem);
  TCliUserInterface::Print(QStringLiteral("Aufruf: vorblen-cli compile|run|test|render|list|disasm|check|download|diff|textconv|recover PROJEKT.tvp ... (vorblen-cli --help)"));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help"))) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (argc >= 2 && !std::strcmp(argv[1], "--version")) {
    std::puts("vorblen-cli " VORBLEN_VERSION);
    return 0;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(Quiet);
  QGuiApplication app(argc, argv);
  TCliUserInterface ui;
  TUserInterface::SetCurrent(&ui);

  QStringList args = QCoreApplication::arguments();
  if (args.size() >= 2 && args[1] == QStringLiteral("recover")) return cli::Recover(args.mid(2));
  if (args.size() < 3) return Usage(QStringLiteral("Es fehlen Befehl oder Projektdatei."));
  const QString command = args[1];
  const QString project = args[2];
  QStringList options = args.mid(3);
  cli::SetKeepGoing(options.removeAll(QStringLiteral("--keep-going")) > 0);
  if (command == QStringLiteral("compile")) {
    if (!options.isEmpty()) return Usage(QStringLiteral("Unbekannte Angabe: %1").arg(options.first()));
    return cli::Compile(project, ui);
  }
  if (command == QStringLiteral("run")) return cli::Run(project, options, ui);
  if (command == QStringLiteral("download")) return cli::Download(project, options, ui);
  if (command == QStringLiteral("test")) return cli::Test(project, options);
  if (command == QStringLiteral("render") && project == QStringLiteral("--compare")) return cli::RenderCompare(options);
  if (command == QStringLiteral("render")) return cli::Render(project, options);
  if (command == QStringLiteral("diff")) return cli::Diff(project, options);
  if (command == QStringLiteral("textconv")) return cli::Textconv(project, options);
  if (command == QStringLiteral("list")) return cli::List(project, options);
  if (command == QStringLiteral("check")) return cli::Check(project, options);
  if (command == QStringLiteral("disasm")) {
    if (!options.isEmpty()) return Usage(QStringLiteral("Unbekannte Angabe: %1").arg(options.first()));
    return cli::Disasm(project, ui);
  }
  return Usage(QStringLiteral("Unbekannter Befehl: %1").arg(command));
}
