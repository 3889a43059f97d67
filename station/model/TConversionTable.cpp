#include "TConversionTable.h"

#include <QFileInfo>

#include "CellEditorSettings.h"
#include "TFileSearch.h"
#include "UserInterface.h"

void TConversionTable::WriteBody(QStringList& lines) const {
  lines << QStringLiteral("Name=") + Name;
  if (Internal) {
    lines << Data;
  } else {
    // Only the bare file name is stored: the text after the last backslash,
    // slash or colon.
    QString file = ExternalFile;
    qsizetype cut = std::max({file.lastIndexOf(QLatin1Char('\\')), file.lastIndexOf(QLatin1Char('/')),
                              file.lastIndexOf(QLatin1Char(':'))});
    lines << QStringLiteral("Extern=") + file.mid(cut + 1);
  }
}

TConversionTable TConversionTable::FromBody(const QStringList& lines, QString* problem) {
  TConversionTable table;
  if (lines.isEmpty() || !lines[0].startsWith(QStringLiteral("Name="))) {
    table.Name = QStringLiteral("Tabelle ???");
    return table;
  }
  table.Name = lines[0].mid(5, 100);
  if (lines.size() > 1 && lines[1].startsWith(QStringLiteral("Extern="))) {
    table.Internal = false;
    table.ExternalFile = lines[1].mid(7, 256);
    if (TFileSearch::FindTable(table.ExternalFile).isEmpty()) {
      const QString text =
          QStringLiteral("Tabelle %1: ungültige externe Tabellendatei:\r%2").arg(table.Name, table.ExternalFile);
      if (problem) *problem = text;
      else TUserInterface::Current().ErrorBox(text);
    }
    return table;
  }
  table.Data = lines.mid(1);
  return table;
}

QString TConversionTable::ResolvedFile() const {
  QString found = TFileSearch::FindTable(ExternalFile);
  if (!found.isEmpty()) return found;
  // The configured directory is the last candidate, taken without a check;
  // without a configured directory there is none (not the file-system root).
  const QString& directory = CellEditorSettings::Current().tablePath;
  if (directory.isEmpty() || ExternalFile.isEmpty()) return {};
  return TFileSearch::Normalized(directory + QLatin1Char('/') + ExternalFile);
}
