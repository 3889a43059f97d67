// The serial device behind the "COM" setting: COM1..COM4 are /dev/ttyS0..3
// unless "COM1Device".."COM4Device" in the "Simulator" section name another
// device (a USB adapter such as /dev/ttyUSB0).
#pragma once

#include <QString>

#include "TStationSettings.h"

// The device for port number `com` (1..4); empty when none is chosen
// (below 1) or the number is no port.
QString ComDevice(const TStationSettings& settings, int com);

// The device for the port chosen in the settings.
inline QString ComDevice(const TStationSettings& settings) { return ComDevice(settings, settings.com); }
