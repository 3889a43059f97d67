#include "TClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <array>

#include "CellBodyText.h"

namespace {

constexpr std::array<const char*, 3> kNames = {"Tarvix plus Cell", "Tarvix plus Blocks", "Tarvix plus Table"};
constexpr std::array<const char*, 3> kMime = {"application/x-tarvix-plus-cell", "application/x-tarvix-plus-blocks",
                                              "application/x-tarvix-plus-table"};

// Used when no application clipboard exists.
std::array<QByteArray, 3>& LocalStore() {
  static std::array<QByteArray, 3> store;
  return store;
}

std::array<bool, 3>& LocalPresent() {
  static std::array<bool, 3> present{};
  return present;
}

QClipboard* SystemClipboard() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr; }

}  // namespace

QString TClipboard::FormatName(Format format) { return QString::fromLatin1(kNames[format]); }
QString TClipboard::MimeType(Format format) { return QString::fromLatin1(kMime[format]); }

void TClipboard::Put(Format format, const QStringList& lines) {
  QByteArray bytes = cellbody::BytesFromLines(lines);
  if (bytes.endsWith("\r\n")) bytes.chop(2);
  bytes.append('\0');
  if (QClipboard* clipboard = SystemClipboard()) {
    auto* data = new QMimeData;
    data->setData(MimeType(format), bytes);
    clipboard->setMimeData(data);
    return;
  }
  for (size_t i = 0; i < kNames.size(); ++i) LocalPresent()[i] = false;
  LocalStore()[format] = bytes;
  LocalPresent()[format] = true;
}

bool TClipboard::Get(Format format, QStringList& lines) {
  QByteArray bytes;
  if (QClipboard* clipboard = SystemClipboard()) {
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasFormat(MimeType(format))) return false;
    bytes = data->data(MimeType(format));
  } else {
    if (!LocalPresent()[format]) return false;
    bytes = LocalStore()[format];
  }
  // The text ends at the first zero byte, whatever follows it.
  qsizetype zero = bytes.indexOf('\0');
  if (zero >= 0) bytes.truncate(zero);
  lines = cellbody::LinesFromBytes(bytes);
  return true;
}

bool TClipboard::Has(Format format) {
  QStringList lines;
  return Get(format, lines);
}
