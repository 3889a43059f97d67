#include "CellBodyText.h"

#include "EngineText.h"

namespace cellbody {

QStringList LinesFromBytes(const QByteArray& bytes) {
  QStringList lines;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    qsizetype stop = end;
    if (stop > start && bytes[stop - 1] == '\r') --stop;
    lines << enginetext::ToQString(std::string_view(bytes.constData() + start, static_cast<size_t>(stop - start)));
    start = end + 1;
  }
  return lines;
}

QByteArray BytesFromLines(const QStringList& lines) {
  QByteArray out;
  for (const QString& line : lines) {
    const std::string bytes = enginetext::ToBytes(line);
    out.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    out.append("\r\n");
  }
  return out;
}

}  // namespace cellbody
