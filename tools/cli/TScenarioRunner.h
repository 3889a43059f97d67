// TScenarioRunner: plays a scenario on a loaded, compiled project with the
// station's run control, and judges its expectations.
//
// Every scenario starts from a unit at rest (analog inputs and frequency 0,
// keys released) in virtual time from a fixed date, so the same scenario
// gives the same result on every machine; the engine steps it counts are the
// run control's steps. The first failing step ends the scenario.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "TScenario.h"

class TTarvixPlusModel;

// A variable a scenario may read or set: a block with a symbolic name.
struct TScenarioVariable {
  QString name;
  int32_t mapCode = 0;
  int32_t blockId = 0;  // the first block that names it
};

class TScenarioRunner {
 public:
  struct Result {
    bool passed = true;
    int line = 0;         // of the failing step
    QString step;         // the failing step as written
    QString message;      // expected and actual, German
  };

  explicit TScenarioRunner(TTarvixPlusModel& model);
  ~TScenarioRunner();
  TScenarioRunner(const TScenarioRunner&) = delete;
  TScenarioRunner& operator=(const TScenarioRunner&) = delete;

  // The project's watchable variables in cell and block order, one per map code.
  static std::vector<TScenarioVariable> Variables(const TTarvixPlusModel& model);
  // Checks that every variable the scenario names exists; false with
  // "FILE:LINE: message" in error.
  bool Resolve(const TScenario& scenario, QString& error) const;

  Result Run(const TScenario& scenario);

  // The most output bytes kept since the last expect output: a long run
  // keeps only the newest, so memory stays bounded however long it runs.
  static constexpr qsizetype kOutputWindow = 4 * TScenario::kMaxFileBytes;

 private:
  class UserInterface;

  const TScenarioVariable* Find(const QString& name) const;
  bool Execute(const TScenarioStep& step, QString& failure);
  // Runs until the bound of the step (engine steps, or seconds of the
  // unit's time), the end, an error, a missing input or the awaited output.
  void RunBounded(const TScenarioStep& step);
  void OutputArrived(const char* bytes);
  QString CompareOutput(const QByteArray& expected, const QByteArray& actual) const;

  TTarvixPlusModel& model_;
  UserInterface* ui_ = nullptr;  // the one of the running scenario
  std::vector<TScenarioVariable> variables_;
  QByteArray output_;       // the output since the last expect output, or its newest part
  int64_t dropped_ = 0;     // bytes of it that no longer fit and were let go
  QByteArray until_;        // the text a run until waits for
  bool untilSeen_ = false;
  TScenarioStep::Status status_ = TScenarioStep::Status::Ready;
  // A run bounded by time also ends after this many engine steps, so a
  // program whose clock stands still cannot hold the run for ever.
  static constexpr int64_t kTimedRunStepCap = 100000000;
};
