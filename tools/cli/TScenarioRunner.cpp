#include "TScenarioRunner.h"

#include <deque>
#include <functional>
#include <set>
#include <utility>

#include "EngineText.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TTarvixPlusModel.h"
#include "UnitAtRest.h"
#include "UserInterface.h"

namespace {

using Kind = TScenarioStep::Kind;
using Status = TScenarioStep::Status;

// Collects the unit's serial output while a scenario runs.
class ScenarioHost : public TSimulationHost {
 public:
  explicit ScenarioHost(std::function<void(const char*)> output) : output_(std::move(output)) {}
  void OutputArrived(const char* bytes) override { output_(bytes); }

 private:
  std::function<void(const char*)> output_;
};

// Sets the current host and user interface for one scope.
class Installed {
 public:
  Installed(TSimulationHost& host, TUserInterface& ui) : previousUi_(&TUserInterface::Current()) {
    TSimulationHost::SetCurrent(&host);
    TUserInterface::SetCurrent(&ui);
  }
  ~Installed() {
    TSimulationHost::SetCurrent(nullptr);
    TUserInterface::SetCurrent(previousUi_);
  }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;

 private:
  TUserInterface* previousUi_;
};

constexpr qsizetype kShown = 200;  // bytes of a long text quoted in a message

// A piece of unit output as a quoted UTF-8 text, escaped as scenarios write
// strings; other control characters as \xNN. One pass, so that quoting
// stays linear in the length.
QString Quote(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size() + 2);
  text += QLatin1Char('"');
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    switch (c) {
      case '\\': text += QStringLiteral("\\\\"); break;
      case '"': text += QStringLiteral("\\\""); break;
      case '\r': text += QStringLiteral("\\r"); break;
      case '\n': text += QStringLiteral("\\n"); break;
      case '\t': text += QStringLiteral("\\t"); break;
      default:
        if (c < 0x20 || c == 0x7F) {
          text += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
        } else {
          const char one[2] = {byte, 0};
          text += enginetext::ToQString(one);
        }
    }
  }
  text += QLatin1Char('"');
  return text;
}

// The last part of a long output, where a run stopped.
QString Tail(const QByteArray& bytes) {
  return bytes.size() > kShown ? QStringLiteral("...") + Quote(bytes.right(kShown)) : Quote(bytes);
}

// The beginning of a long expected text.
QString Head(const QByteArray& bytes) {
  return bytes.size() > kShown ? Quote(bytes.left(kShown)) + QStringLiteral("...") : Quote(bytes);
}

// A step as written, shortened for the report.
QString ShortStep(const QString& source) {
  return source.size() > kShown ? source.left(kShown) + QStringLiteral("...") : source;
}

QString Mismatch(const QString& expected, const QString& actual) {
  return QStringLiteral("erwartet: %1\nerhalten: %2").arg(expected, actual);
}

}  // namespace

// Answers input requests from the scenario's input values and notes a
// run-time error instead of showing it.
class TScenarioRunner::UserInterface : public TSilentUserInterface {
 public:
  void ErrorBox(const QString& text) override {
    if (text.startsWith(QStringLiteral("Es trat ein Simulationsfehler auf"))) {
      runtimeError = true;
      errorText = text;
    }
  }
  bool InputInteger(const QString&, const QString&, int32_t& value) override {
    if (inputs.empty()) {
      inputMissing = true;
      return false;
    }
    value = inputs.front();
    inputs.pop_front();
    return true;
  }

  std::deque<int32_t> inputs;
  bool runtimeError = false;
  bool inputMissing = false;
  QString errorText;
};

TScenarioRunner::TScenarioRunner(TTarvixPlusModel& model) : model_(model), variables_(Variables(model)) {}

TScenarioRunner::~TScenarioRunner() = default;

std::vector<TScenarioVariable> TScenarioRunner::Variables(const TTarvixPlusModel& model) {
  std::vector<TScenarioVariable> list;
  std::set<int32_t> seen;
  PlexorHandle e = model.Engine();
  for (const auto& cell : model.Cells())
    for (int i = 0; i < cell->Count(); ++i) {
      const int32_t id = cell->Items(i)->Id();
      const char* name = PlexorGetSymbolicName(e, id);
      if (!name) continue;
      const int32_t mapCode = PlexorGetMapCode(e, id);
      if (!seen.insert(mapCode).second) continue;
      list.push_back({enginetext::ToQString(name), mapCode, id});
    }
  return list;
}

const TScenarioVariable* TScenarioRunner::Find(const QString& name) const {
  for (const auto& v : variables_)
    if (v.name == name) return &v;
  for (const auto& v : variables_)
    if (v.name.compare(name, Qt::CaseInsensitive) == 0) return &v;
  // A map code as the grammar writes numbers, and only one that fits its 32 bits.
  long long code = 0;
  if (TScenario::ParseNumber(name, code) && code >= INT32_MIN && code <= static_cast<long long>(UINT32_MAX))
    for (const auto& v : variables_)
      if (static_cast<uint32_t>(v.mapCode) == static_cast<uint32_t>(code)) return &v;
  return nullptr;
}

bool TScenarioRunner::Resolve(const TScenario& scenario, QString& error) const {
  for (const TScenarioStep& s : scenario.Steps()) {
    if (s.kind != Kind::SetValue && s.kind != Kind::ExpectValue) continue;
    if (Find(s.name)) continue;
    error = QStringLiteral("%1:%2: Die Variable %3 gibt es im Projekt nicht (vorblen-cli list zeigt die Variablen)")
                .arg(scenario.FileName())
                .arg(s.line)
                .arg(s.name);
    return false;
  }
  return true;
}

void TScenarioRunner::OutputArrived(const char* bytes) {
  const qsizetype before = output_.size();
  output_.append(bytes);
  if (!until_.isEmpty() && !untilSeen_) {
    // Only the new bytes and the tail that may start a match need searching.
    const qsizetype from = std::max<qsizetype>(0, before - until_.size() + 1);
    if (output_.indexOf(until_, from) >= 0) {
      untilSeen_ = true;
      // Ends the batch right after the step that printed the text.
      model_.SetEngineStepLimit(model_.Simulation().EngineSteps());
    }
  }
  // Let the oldest bytes go in large pieces, so the copying stays linear.
  if (output_.size() > 2 * kOutputWindow) {
    const qsizetype excess = output_.size() - kOutputWindow;
    output_.remove(0, excess);
    dropped_ += excess;
  }
}

void TScenarioRunner::RunBounded(const TScenarioStep& step) {
  ui_->runtimeError = false;
  ui_->inputMissing = false;
  const bool timed = step.seconds > 0;
  const TSimulationControl& run = model_.Simulation();
  model_.SetEngineStepLimit(run.EngineSteps() + (timed ? kTimedRunStepCap : step.steps));
  model_.SetUnitTickLimit(timed ? run.UnitTicks() + step.seconds * 50 : -1);
  model_.RunCommand(cmd::kRun);
  while (model_.StepOrSleep() && !untilSeen_) {
  }
  model_.SetUnitTickLimit(-1);
  if (ui_->runtimeError) status_ = Status::Error;
  else if (ui_->inputMissing) status_ = Status::Input;
  else if (model_.SimState() == TSimState::Ready) status_ = Status::End;
  else status_ = Status::Running;
}

QString TScenarioRunner::CompareOutput(const QByteArray& expected, const QByteArray& actual) const {
  qsizetype at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  constexpr qsizetype kContext = 24;
  const qsizetype from = std::max<qsizetype>(0, at - kContext);
  auto around = [&](const QByteArray& bytes) {
    QString s = Quote(bytes.mid(from, at - from + kContext));
    if (from > 0) s.prepend(QStringLiteral("..."));
    if (bytes.size() > at + kContext) s += QStringLiteral("...");
    return s;
  };
  QString where = QStringLiteral("Die Ausgabe weicht ab Byte %1 ab").arg(at);
  if (at == actual.size()) where = QStringLiteral("Die Ausgabe endet nach %1 Bytes").arg(at);
  else if (at == expected.size()) where = QStringLiteral("Die Ausgabe ist länger als erwartet (ab Byte %1)").arg(at);
  return where + QLatin1Char('\n') + Mismatch(around(expected), around(actual));
}

bool TScenarioRunner::Execute(const TScenarioStep& s, QString& failure) {
  TSimulatedInputs& in = TSimulatedInputs::Current();
  PlexorHandle e = model_.Engine();
  auto number = [](int64_t v) { return QString::number(v); };
  switch (s.kind) {
    case Kind::SetAdc:
      in.AdcValue[static_cast<size_t>(s.index - 1)] = static_cast<uint8_t>(s.value);
      in.AdcChanged[static_cast<size_t>(s.index - 1)] = true;
      return true;
    case Kind::SetPort: {
      const size_t p = static_cast<size_t>(s.index - 1);
      // The engine's own word: the panels' copy is only refreshed at cell changes.
      const uint32_t outputs = static_cast<uint32_t>(PlexorGetPortState(e)) >> 16;
      if ((outputs >> p) & 1u) {
        failure = QStringLiteral("Port %1 ist ein Ausgang des Programms und lässt sich nicht setzen").arg(s.index);
        return false;
      }
      in.PortLevel[p] = s.value != 0;
      in.PortChanged[p] = true;
      return true;
    }
    case Kind::SetFreq:
      in.Frequency = static_cast<uint16_t>(s.value);
      in.FrequencyChanged = true;
      return true;
    case Kind::SetRealtime:
      // Wall time on request; otherwise the unit's own virtual time.
      in.AutoTiming = s.value != 0;
      in.VirtualTime = s.value == 0;
      in.AutoTimingChanged = true;
      return true;
    case Kind::SetValue: {
      const TScenarioVariable* v = Find(s.name);
      if (!v || !PlexorSetValue(e, v->mapCode, s.value)) {
        failure = QStringLiteral("Der Wert der Variablen %1 lässt sich nicht setzen").arg(s.name);
        return false;
      }
      return true;
    }
    case Kind::Input:
      ui_->inputs.insert(ui_->inputs.end(), s.values.begin(), s.values.end());
      return true;
    case Kind::Run:
      RunBounded(s);
      return true;
    case Kind::RunUntilOutput: {
      until_ = s.text;
      untilSeen_ = output_.indexOf(until_) >= 0;
      if (!untilSeen_) RunBounded(s);
      const bool seen = untilSeen_;
      until_.clear();
      untilSeen_ = false;
      if (seen) return true;
      failure = QStringLiteral("Die Ausgabe enthält %1 nicht innerhalb von %2 (Status %3)\nerhalten: %4")
                    .arg(Head(s.text),
                         s.seconds > 0 ? QStringLiteral("%1 s").arg(s.seconds) : QStringLiteral("%1 Schritten").arg(s.steps),
                         TScenario::StatusName(status_), Tail(output_));
      return false;
    }
    case Kind::Reset:
      model_.Reset();
      status_ = Status::Ready;
      return true;
    case Kind::ExpectOutput: {
      const QByteArray actual = std::exchange(output_, {});
      const int64_t dropped = std::exchange(dropped_, 0);
      if (dropped == 0 && actual == s.text) return true;
      if (dropped == 0) {
        failure = CompareOutput(s.text, actual);
      } else {
        // No expected text is that long: the window holds more than a scenario file.
        failure = QStringLiteral("Die Ausgabe ist länger als erwartet (%1 Bytes)\n").arg(dropped + actual.size()) +
                  Mismatch(Head(s.text), Tail(actual));
      }
      return false;
    }
    case Kind::ExpectOutputContains: {
      const QByteArray actual = std::exchange(output_, {});
      const int64_t dropped = std::exchange(dropped_, 0);
      if (actual.contains(s.text)) return true;
      failure = QStringLiteral("Die Ausgabe enthält den Text nicht");
      if (dropped > 0) failure += QStringLiteral(" (geprüft wurden die letzten %1 von %2 Bytes)").arg(actual.size()).arg(dropped + actual.size());
      failure += QLatin1Char('\n') + Mismatch(Head(s.text), Tail(actual));
      return false;
    }
    case Kind::ExpectPort: {
      const int level = (static_cast<uint32_t>(PlexorGetPortState(e)) >> (s.index - 1)) & 1u;
      if (level == s.value) return true;
      failure = Mismatch(number(s.value), number(level));
      return false;
    }
    case Kind::ExpectValue: {
      const TScenarioVariable* v = Find(s.name);
      const int32_t actual = v ? PlexorGetValue(e, v->mapCode) : 0;
      if (v && actual == s.value) return true;
      failure = Mismatch(number(s.value), number(actual));
      return false;
    }
    case Kind::ExpectDac: {
      const int32_t actual = PlexorGetDAC(e, s.index - 1);
      if (actual == s.value) return true;
      failure = Mismatch(number(s.value), number(actual));
      return false;
    }
    case Kind::ExpectFileLength:
      if (model_.DataFileLength() == s.value) return true;
      failure = Mismatch(number(s.value), number(model_.DataFileLength()));
      return false;
    case Kind::ExpectFileWord: {
      if (s.index > model_.DataFileLength()) {
        failure = QStringLiteral("Die Datendatei hat nur %1 Wörter").arg(model_.DataFileLength());
        return false;
      }
      const int32_t actual = model_.DataFileValue(s.index - 1);
      if (actual == s.value) return true;
      failure = Mismatch(number(s.value), number(actual));
      return false;
    }
    case Kind::ExpectStatus:
      if (status_ == s.status) return true;
      failure = Mismatch(TScenario::StatusName(s.status), TScenario::StatusName(status_));
      if (status_ == Status::Error) failure += QStringLiteral(" (%1)").arg(ui_->errorText.section(QLatin1Char('\n'), 1));
      return false;
  }
  return true;
}

TScenarioRunner::Result TScenarioRunner::Run(const TScenario& scenario) {
  // Scenarios run on the unit's own clock from a fixed date, so that every
  // run sees the same times.
  TSimulatedInputs& in = ResetToUnitAtRest();
  in.VirtualTime = true;
  in.FixedDate = true;
  in.AutoTimingChanged = false;
  PlexorSetOptions(model_.Engine(), in.EngineOptions());
  PlexorSetInitialPortState(model_.Engine(), in.FixedDigitalIn);

  ScenarioHost host([this](const char* bytes) { OutputArrived(bytes); });
  UserInterface ui;
  Installed installed(host, ui);
  ui_ = &ui;
  output_.clear();
  dropped_ = 0;
  until_.clear();
  untilSeen_ = false;
  status_ = Status::Ready;
  model_.ClearTerminal();
  model_.SetCompiled(true);

  Result result;
  for (const TScenarioStep& step : scenario.Steps()) {
    QString failure;
    if (Execute(step, failure)) continue;
    result.passed = false;
    result.line = step.line;
    result.step = ShortStep(step.source);
    result.message = failure;
    break;
  }
  model_.RunCommand(cmd::kStop);
  ui_ = nullptr;
  return result;
}
