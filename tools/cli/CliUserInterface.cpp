#include "CliUserInterface.h"

#include <cstdio>

void TCliUserInterface::Print(const QString& text) {
  QString line = text;
  line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  std::fprintf(stderr, "%s\n", line.toUtf8().constData());
  std::fflush(stderr);
}

bool TCliUserInterface::InputInteger(const QString&, const QString&, int32_t& value) {
  if (inputs.empty()) {
    inputsExhausted = true;
    Print(QStringLiteral("Das Programm erwartet einen Eingabewert, aber es sind keine --input-Werte mehr übrig."));
    return false;
  }
  value = inputs.front();
  inputs.pop_front();
  return true;
}
