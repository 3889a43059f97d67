// System error texts as the user reads them: German with the errno number
// kept, and file or device names that stay short in a message box, shared by
// the station and vorblen-cli.
#include <gtest/gtest.h>

#include <cerrno>

#include "ErrnoText.h"
#include "TSerialPort.h"

namespace {

TEST(SystemText, CommonErrnoValuesReadGermanWithTheirNumber) {
  struct Row {
    int error;
    const char* text;
  } rows[] = {
      {ENOENT, "Datei oder Verzeichnis nicht gefunden (errno 2)"},
      {EISDIR, "Ist ein Verzeichnis (errno 21)"},
      {ENAMETOOLONG, "Dateiname zu lang (errno 36)"},
      {ENOSPC, "Kein Platz mehr auf dem Gerät (errno 28)"},
      {EACCES, "Keine Berechtigung (errno 13)"},
  };
  for (const Row& row : rows) EXPECT_EQ(errnotext::German(row.error), QString::fromUtf8(row.text));
  // A number without words of its own keeps the system's text and the number.
  EXPECT_TRUE(errnotext::German(EHOSTDOWN).endsWith(QStringLiteral("(errno %1)").arg(EHOSTDOWN)));
}

TEST(SystemText, AHugeDeviceNameGivesAShortMessage) {
  const QString huge = QStringLiteral("/dev/") + QString(1024 * 1024, QLatin1Char('x'));
  for (int error : {ENAMETOOLONG, ENOENT, ENOTTY, EHOSTDOWN}) {
    const QString text = TSerialPort::Explain(error, huge);
    EXPECT_LT(text.size(), 200) << error;
    EXPECT_TRUE(text.contains(QStringLiteral("/dev/xxx"))) << error;
  }
  EXPECT_EQ(errnotext::ShortName(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
}

}  // namespace
