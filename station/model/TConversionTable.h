// TConversionTable: a list of numbers the program looks values up in, kept
// in the project (internal) or in a file of its own (external).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class TConversionTable {
 public:
  bool Internal = true;
  QString Name;
  uint16_t Number = 0;   // 1-based position in the project
  QString ExternalFile;  // bare name when it lies in the table directory
  QStringList Data;      // internal: always; external: only while loaded

  // The table body as the project file and the clipboard carry it.
  void WriteBody(QStringList& lines) const;
  // Builds a table from its body lines; an external file that cannot be
  // found is reported (or its message handed back in problem) and the
  // table kept.
  static TConversionTable FromBody(const QStringList& lines, QString* problem = nullptr);
  // The existing file an external table stands for, or the last candidate
  // in the configured table directory; empty when there is neither.
  QString ResolvedFile() const;
};
