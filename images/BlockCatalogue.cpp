#include "BlockCatalogue.h"

// German texts as Windows-1252 bytes: \xE4 ä, \xF6 ö, \xFC ü, \xDF ß, \xD6 Ö.
// A hex escape is closed by splitting the literal where a hex digit follows.

namespace {
enum Group : uint8_t { kIo, kArith, kLogic, kCompare, kTime, kMemory, kConst, kFile, kSerial, kFlow };
}

const BlockGroup kBlockGroups[] = {
    {"GROUP_IO", "Ein- und Ausg\xE4nge"},
    {"GROUP_ARITH", "Arithmetik"},
    {"GROUP_LOGIC", "Logik"},
    {"GROUP_COMPARE", "Vergleiche"},
    {"GROUP_TIME", "Zeit und Datum"},
    {"GROUP_MEMORY", "Speicherzellen"},
    {"GROUP_CONST", "Konstanten"},
    {"GROUP_FILE", "Datendatei"},
    {"GROUP_SERIAL", "Serielle Schnittstelle"},
    {"GROUP_FLOW", "Programmablauf"},
};
const size_t kBlockGroupCount = sizeof kBlockGroups / sizeof kBlockGroups[0];

// Palette order within a group is table order.
const BlockType kBlockTypes[] = {
    {130, kIo, true, "Digitalport P1"},
    {131, kIo, true, "Digitalport P2"},
    {132, kIo, true, "Digitalport P3"},
    {133, kIo, true, "Digitalport P4"},
    {134, kIo, true, "Digitalport P5"},
    {135, kIo, true, "Digitalport P6"},
    {110, kIo, true, "Relais K1"},
    {111, kIo, true, "Relais K2"},
    {112, kIo, true, "Taste F1"},
    {113, kIo, true, "Taste F2"},
    {114, kIo, true, "Taste F3"},
    {115, kIo, true, "Taste F4"},
    {116, kIo, true, "Leuchtdiode LED1"},
    {117, kIo, true, "Leuchtdiode LED2"},
    {118, kIo, true, "Leuchtdiode LED3"},
    {119, kIo, true, "Leuchtdiode LED4"},
    {124, kIo, true, "Analogeingang AD1"},
    {125, kIo, true, "Analogeingang AD2"},
    {126, kIo, true, "Analogeingang AD3"},
    {127, kIo, true, "Analogeingang AD4"},
    {120, kIo, true, "Temperatureingang T1 [\xB0" "C]"},
    {121, kIo, true, "Temperatureingang T2 [\xB0" "C]"},
    {122, kIo, true, "Spannungseingang U1"},
    {123, kIo, true, "Spannungseingang U2"},
    {105, kIo, true, "Frequenzeingang [Hz]"},
    {108, kIo, true, "Tongeber: Melodie oder Ton (a H\xF6he, b Dauer, c Pause)"},

    {200, kArith, true, "Addition a + b + ..."},
    {201, kArith, true, "Subtraktion a - b"},
    {202, kArith, true, "Multiplikation a * b * ..."},
    {203, kArith, true, "Division a / b"},
    {204, kArith, true, "Divisionsrest a mod b"},
    {205, kArith, true, "Vorzeichenwechsel -x"},
    {206, kArith, true, "Betrag (Wert ohne Vorzeichen)"},
    {207, kArith, true, "Vorzeichen (-1, 0, 1)"},
    {215, kArith, true, "Quadratwurzel"},
    {210, kArith, true, "Minimum"},
    {211, kArith, true, "Maximum"},
    {212, kArith, true, "Linksschieben a << b"},
    {213, kArith, true, "Rechtsschieben a >> b"},
    {214, kArith, true, "Auswahl: a wenn c ungleich 0, sonst b"},
    {208, kArith, true, "Zufallszahl (Eingang setzt den Startwert)"},
    {209, kArith, false, "Umrechnung \xFC" "ber Tabelle"},

    {301, kLogic, true, "UND"},
    {302, kLogic, true, "NICHT-UND (NAND)"},
    {303, kLogic, true, "ODER"},
    {304, kLogic, true, "NICHT-ODER (NOR)"},
    {305, kLogic, true, "Exklusiv-ODER (XOR)"},
    {300, kLogic, true, "NICHT (Inverter)"},

    {400, kCompare, true, "kleiner a < b"},
    {401, kCompare, true, "kleiner oder gleich a <= b"},
    {402, kCompare, true, "gr\xF6\xDF" "er a > b"},
    {403, kCompare, true, "gr\xF6\xDF" "er oder gleich a >= b"},
    {404, kCompare, true, "gleich a = b"},
    {405, kCompare, true, "ungleich a <> b"},
    {406, kCompare, true, "gleich null x = 0"},
    {407, kCompare, true, "ungleich null x <> 0"},
    {408, kCompare, true, "kleiner null x < 0"},
    {409, kCompare, true, "gr\xF6\xDF" "er null x > 0"},

    {503, kTime, true, "Uhrzeit"},
    {502, kTime, true, "Stunde"},
    {501, kTime, true, "Minute"},
    {500, kTime, true, "Sekunde"},
    {508, kTime, true, "Datum"},
    {504, kTime, true, "Tag"},
    {506, kTime, true, "Monat"},
    {507, kTime, true, "Jahr"},
    {509, kTime, true, "Zeitgeber (20-ms-Takt)"},

    {600, kMemory, true, "Bitzelle (1 bis 192)"},
    {601, kMemory, true, "Bytezelle (1 bis 24)"},
    {602, kMemory, true, "Wortzelle (1 bis 12)"},

    {700, kConst, false, "Zahl"},
    {701, kConst, false, "Zeichen"},
    {702, kConst, false, "Text"},
    {703, kConst, false, "Uhrzeit"},
    {704, kConst, false, "Datum"},

    {800, kFile, true, "Datei zum Schreiben \xF6" "ffnen"},
    {801, kFile, true, "Datei zum Anh\xE4ngen \xF6" "ffnen"},
    {802, kFile, true, "Datei zum Lesen \xF6" "ffnen"},
    {803, kFile, true, "Wert in Datei schreiben"},
    {804, kFile, true, "Wert aus Datei lesen"},
    {805, kFile, true, "Datei schlie\xDF" "en"},
    {806, kFile, true, "Dateiende erreicht"},
    {807, kFile, true, "Freier Platz in der Datei"},

    {900, kSerial, false, "Ausgabe (Zahl oder Text)"},
    {901, kSerial, true, "Eingabe"},
    {902, kSerial, true, "Zeichen senden"},
    {903, kSerial, true, "Zeichen empfangen"},
    {905, kSerial, true, "Zeichen empfangen? (Empfangsbereit)"},
    {904, kSerial, true, "Baudrate einstellen"},

    {1000, kFlow, false, "Sprung zu Zelle (GOTO)"},
    {1001, kFlow, false, "Unterprogramm aufrufen (GOSUB)"},
    {1002, kFlow, true, "R\xFC" "cksprung aus Unterprogramm (RETURN)"},
    {1003, kFlow, false, "Verteiler: Sprung nach Wert (ON GOTO)"},
    {1004, kFlow, false, "Verteiler: Aufruf nach Wert (ON GOSUB)"},
    {1005, kFlow, true, "Warten bis Bedingung erf\xFC" "llt"},
    {1006, kFlow, true, "Pause (Dauer in 20-ms-Schritten)"},
    {1007, kFlow, true, "Programmende (END)"},
};
const size_t kBlockTypeCount = sizeof kBlockTypes / sizeof kBlockTypes[0];
