#include "TTerminalText.h"

#include <algorithm>

#include "EngineText.h"

namespace {

// A tab becomes one blank and then blanks up to the next multiple of eight
// (a full eight when the blank already reached one).
QString ExpandTabs(const QString& line) {
  if (!line.contains(QLatin1Char('\t'))) return line;
  QString out;
  for (QChar c : line) {
    if (c != QLatin1Char('\t')) {
      out += c;
      continue;
    }
    out += QLatin1Char(' ');
    out += QString(8 - out.size() % 8, QLatin1Char(' '));
  }
  return out;
}

}  // namespace

QString TTerminalText::Line(int index) const {
  if (index < 0 || index >= Count()) return {};
  const size_t begin = starts_[static_cast<size_t>(index)];
  const size_t end = index + 1 < Count() ? starts_[static_cast<size_t>(index) + 1] - 2 : text_.size();
  return ExpandTabs(enginetext::ToQString(std::string_view(text_).substr(begin, end - begin)));
}

QStringList TTerminalText::Lines() const {
  QStringList out;
  out.reserve(Count());
  for (int i = 0; i < Count(); ++i) out << Line(i);
  return out;
}

namespace {

// Where the text after the last `lines` line ends of raw begins, when raw
// holds more line ends than that; npos otherwise. Searches from the back,
// so a flood of output costs only what can stay.
size_t StartOfLastLines(std::string_view raw, size_t lines) {
  size_t count = 0;
  size_t previous = std::string_view::npos;
  for (size_t from = raw.size();;) {
    const size_t at = raw.rfind("\r\n", from);
    if (at == std::string_view::npos) return std::string_view::npos;
    if (++count > lines) return previous + 2;
    previous = at;
    if (at < 2) return std::string_view::npos;
    from = at - 2;
  }
}

}  // namespace

TTerminalText::Change TTerminalText::Append(std::string_view raw) {
  Change change{Count() - 1, false};
  const size_t keepFrom = StartOfLastLines(raw, kMaxLines);
  if (keepFrom != std::string_view::npos) {
    // This output alone ends more lines than are kept: it replaces all.
    Clear();
    raw.remove_prefix(keepFrom);
    change = {0, true};
  }
  if (starts_.empty()) starts_.push_back(0);
  // A CR LF split between two pieces of output still ends a line.
  const size_t scanFrom = text_.empty() ? 0 : text_.size() - 1;
  text_ += raw;
  for (size_t at = text_.find("\r\n", scanFrom); at != std::string::npos; at = text_.find("\r\n", at + 2))
    starts_.push_back(static_cast<uint32_t>(at + 2));
  if (starts_.size() - 1 > static_cast<size_t>(kMaxLines)) {
    const size_t removed = starts_.size() - kMaxLines;
    const uint32_t offset = starts_[removed];
    text_.erase(0, offset);
    starts_.erase(starts_.begin(), starts_.begin() + static_cast<std::ptrdiff_t>(removed));
    for (uint32_t& start : starts_) start -= offset;
    change = {0, true};
  }
  return change;
}

void TTerminalText::Clear() {
  text_.clear();
  starts_.clear();
}
