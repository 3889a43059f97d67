#include "ExportFile.h"

#include <QFile>

#include "UserInterface.h"

bool WriteExportFile(const QString& fileName, const QByteArray& text, const QString& failure) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush()) {
    TUserInterface::Current().ErrorBox(failure.arg(fileName));
    return false;
  }
  return true;
}
