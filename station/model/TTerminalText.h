// TTerminalText: the unit's serial output as the simulator's terminal shows
// it, the last 1000 lines.
//
// Output arrives far faster than anyone reads it (a line every few engine
// steps), so the text is kept as it came, Windows-1252 with CR LF, and a
// line is converted (and its tabs expanded to columns of eight) only when a
// window asks for it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TTerminalText {
 public:
  static constexpr int kMaxLines = 1000;

  // What an Append changed: the lines from `first` on, or everything (a cut).
  struct Change {
    int first = 0;
    bool cut = false;
  };

  // Lines so far, counting the open last one; 0 before any output.
  int Count() const { return static_cast<int>(starts_.size()); }
  bool IsEmpty() const { return starts_.empty(); }
  // A line as shown; empty for an index out of range.
  QString Line(int index) const;
  QStringList Lines() const;
  // Output continues the open line; CR LF opens the next. Once more than
  // kMaxLines complete lines precede the open one, the oldest are cut to
  // leave kMaxLines lines.
  Change Append(std::string_view raw);
  void Clear();

 private:
  std::string text_;             // the kept lines, raw, joined by CR LF
  std::vector<uint32_t> starts_;  // where each line begins in text_
};
