// TFinding: one result of the program checks, a plain value: the rule's
// stable code, its severity, where it is (cell and block; 0 when the
// finding concerns the whole cell or the project) and the German text.
#pragma once

#include <QString>
#include <cstdint>

enum class TSeverity : uint8_t { kFehler = 0, kWarnung = 1, kHinweis = 2 };

// "Fehler", "Warnung", "Hinweis".
QString SeverityName(TSeverity severity);

struct TFinding {
  QString code;  // "E101", "W103", "H101", ...
  TSeverity severity = TSeverity::kFehler;
  int32_t cellId = 0;   // 0: the project (a table, for example)
  int32_t blockId = 0;  // full block id (cell in the high word); 0: the whole cell
  QString text;

  int32_t BlockNumber() const { return blockId & 0xFFFF; }
  bool operator==(const TFinding&) const = default;
};
