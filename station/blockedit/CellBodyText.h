// The cell body as bytes: Windows-1252 text with CR LF line ends, as the
// project file and the clipboard carry it.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace cellbody {

// Splits at CR LF (a lone LF is accepted too) and decodes Windows-1252.
QStringList LinesFromBytes(const QByteArray& bytes);
// Encodes Windows-1252 and joins with CR LF after every line.
QByteArray BytesFromLines(const QStringList& lines);

}  // namespace cellbody
