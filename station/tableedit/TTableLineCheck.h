// TTableLineCheck: finds the words of a table line that the compiler will
// refuse when it loads the table, by the compiler's own reading rules:
// white space separates; a value is an optional sign followed by decimal
// digits, read up to the first non-digit, in the range -32768..32767.
#pragma once

#include <QString>
#include <vector>

struct TTableLineError {
  int start = 0;   // column of the first character
  int length = 0;  // characters marked
  QString message;

  friend bool operator==(const TTableLineError&, const TTableLineError&) = default;
};

class TTableLineCheck {
 public:
  static std::vector<TTableLineError> Check(const QString& line);
};
