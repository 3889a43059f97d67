// TScenario: the steps of one test scenario for vorblen-cli test.
//
// A scenario is a UTF-8 text file, one step per line; '#' outside quotes
// starts a comment. Reading checks the grammar and the ranges of ports,
// channels and step counts; names of variables are checked later against
// the project (TScenarioRunner::Resolve). tools/cli/README.md documents the
// grammar.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct TScenarioStep {
  enum class Kind {
    SetAdc,          // index = channel 1..8, value
    SetPort,         // index = port 1..16, value 0/1
    SetFreq,         // value
    SetValue,        // name, value
    SetRealtime,     // value 0/1
    Input,           // values
    Run,             // steps or seconds
    RunUntilOutput,  // text (Windows-1252 bytes), steps or seconds
    Reset,
    ExpectOutput,          // text
    ExpectOutputContains,  // text
    ExpectPort,            // index, value
    ExpectValue,           // name, value
    ExpectDac,             // index = 1..2, value
    ExpectFileLength,      // value
    ExpectFileWord,        // index = 1-based word, value
    ExpectStatus,          // status
  };
  enum class Status { Ready, End, Running, Error, Input };

  Kind kind = Kind::Reset;
  int line = 0;
  QString source;  // the line as written, without its comment
  int32_t index = 0;
  int32_t value = 0;
  int64_t steps = 0;
  int64_t seconds = 0;  // a run bounded by the unit's time instead of steps
  QString name;     // a variable's symbolic name or map code as written
  QByteArray text;  // output text in the unit's character set
  std::vector<int32_t> values;
  Status status = Status::End;
};

class TScenario {
 public:
  // The most engine steps one run step may ask for.
  static constexpr int64_t kMaxSteps = 1000000000;
  // The longest unit time one run step may ask for (ten days).
  static constexpr int64_t kMaxSeconds = 864000;
  // Larger scenario files are refused: they are written by hand.
  static constexpr qint64 kMaxFileBytes = 1024 * 1024;

  // A number as scenarios write them: decimal or 0x hexadecimal, with an
  // optional sign; nothing else (no octal, no 0b, no spaces).
  static bool ParseNumber(const QString& text, long long& value);

  // Reads a scenario file (a regular file of at most kMaxFileBytes); false
  // with a German message "FILE:LINE: ..." or "FILE: ..." in error.
  bool Read(const QString& fileName, QString& error);
  // Parses scenario text; messages name fileName.
  bool Parse(const QByteArray& utf8, const QString& fileName, QString& error);

  const QString& FileName() const { return fileName_; }
  const std::vector<TScenarioStep>& Steps() const { return steps_; }

  static QString StatusName(TScenarioStep::Status status);

 private:
  QString fileName_;
  std::vector<TScenarioStep> steps_;
};
