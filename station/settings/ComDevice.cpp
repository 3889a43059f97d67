#include "ComDevice.h"

QString ComDevice(const TStationSettings& settings, int com) {
  if (com < 1 || com > TStationSettings::kComPorts) return {};
  const QString device = settings.comDevices[com - 1].trimmed();
  if (!device.isEmpty()) {
    // A name with control characters cannot be a device; rather no port than
    // a cut-off name or the wrong one.
    for (QChar c : device)
      if (c.unicode() < 0x20 || c.unicode() == 0x7F) return {};
    return device;
  }
  return QStringLiteral("/dev/ttyS%1").arg(com - 1);
}
