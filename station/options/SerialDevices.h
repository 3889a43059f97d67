// The serial devices present on this machine, as the options dialog offers
// them for the COM ports: the stable /dev/serial/by-id names first, then USB
// adapters (ttyUSB*), modems and boards (ttyACM*) and built-in ports (ttyS*),
// each group in natural order (ttyS2 before ttyS10).
#pragma once

#include <QString>
#include <QStringList>

// `root` stands for /dev (tests pass a directory of their own).
QStringList SerialDevices(const QString& root = QStringLiteral("/dev"));
