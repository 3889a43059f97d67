#include "TFileSearch.h"

#include <QDir>
#include <QFileInfo>

#include "CellEditorSettings.h"

QString TFileSearch::Normalized(const QString& name) {
  QString n = name;
  n.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return n;
}

QString TFileSearch::Find(const QString& name, const QString& folder, const QString& directory) {
  if (name.isEmpty()) return {};
  const QString n = Normalized(name);
  QStringList candidates{n, folder + QLatin1Char('/') + n, QStringLiteral("../") + folder + QLatin1Char('/') + n};
  if (!directory.isEmpty()) candidates << Normalized(directory) + QLatin1Char('/') + n;
  for (const QString& c : candidates) {
    const QFileInfo info(c);
    if (info.exists() && info.isFile()) return c;
  }
  return {};
}

QString TFileSearch::FindBitmap(const QString& name) {
  return Find(name, QStringLiteral("Bitmaps"), CellEditorSettings::Current().bitmapPath);
}

QString TFileSearch::FindTable(const QString& name) {
  return Find(name, QStringLiteral("Tables"), CellEditorSettings::Current().tablePath);
}

QString TFileSearch::StoredName(const QString& path, const QString& directory) {
  if (directory.isEmpty()) return path;
  const QFileInfo info(Normalized(path));
  const QString dir = QDir::cleanPath(QFileInfo(Normalized(directory)).absoluteFilePath());
  if (QDir::cleanPath(info.absolutePath()) == dir) return info.fileName();
  return path;
}
