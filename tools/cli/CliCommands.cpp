#include "CliCommands.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

#include "CliUserInterface.h"
#include "DownloadMessages.h"
#include "EngineText.h"
#include "TSerialPort.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TTarvixPlusModel.h"
#include "UnitAtRest.h"

namespace cli {
namespace {

void Say(const QString& text) { TCliUserInterface::Print(text); }

bool g_keepGoing = false;

// Loads the project; a missing file is an error here (the station would
// start a new project under that name). A load that lost or changed content
// stops here unless --keep-going was given: the program compiled from it
// would not be the one in the file.
std::unique_ptr<TTarvixPlusModel> Load(const QString& project) {
  if (!QFileInfo::exists(project)) {
    Say(QStringLiteral("Die Projektdatei %1 gibt es nicht!").arg(project));
    return nullptr;
  }
  auto model = std::make_unique<TTarvixPlusModel>();
  if (!model->Open(project)) return nullptr;
  if (!model->LoadLosses().isEmpty() && !g_keepGoing) {
    Say(QStringLiteral("Beim Laden von %1 ging Inhalt verloren (Meldungen oben); das Projekt wird nicht übersetzt. "
                       "Mit --keep-going wird trotzdem übersetzt.")
            .arg(project));
    return nullptr;
  }
  model->CommitViews();
  return model;
}

QString BlockPlace(const TTarvixPlusModel& model, int32_t blockId) {
  const int32_t cellId = static_cast<int32_t>(static_cast<uint32_t>(blockId) >> 16);
  const TBlockList* cell = model.FindCell(cellId);
  return QStringLiteral("Block %1 in Zelle %2%3")
      .arg(blockId)
      .arg(cellId)
      .arg(cell ? QStringLiteral(" \"%1\"").arg(cell->Name()) : QString());
}

// The compile job as the station's compile thread runs it, in the current
// directory. Without listing, CODE.TXT goes to a scratch directory and away,
// so that a run works where the tool cannot write. Messages go to standard
// error; true on success.
bool CompileModel(TTarvixPlusModel& model, bool listing = true) {
  PlexorHandle e = model.Engine();
  // A listing of an earlier run must not pass for this one.
  if (listing) QFile::remove(QStringLiteral("CODE.TXT"));
  if (!model.LoadTableData()) return false;
  bool ok = PlexorCompilerInit(e) != 0;
  int32_t result = ok ? PlexorCompile(e) : -1;
  if (result != 0) {
    QString message = enginetext::ToQString(PlexorGetErrorMessage(e));
    if (result > 0) message += QStringLiteral(" (%1)").arg(BlockPlace(model, result));
    Say(message);
    model.SetErrorBlockId(result > 0 ? result : -1);
    ok = false;
  }
  for (const auto& table : model.Tables()) {
    if (!ok) break;
    const std::string name = enginetext::ToBytes(table->Name);
    const std::string text = enginetext::ToBytes(TTarvixPlusModel::TableText(*table));
    if (!PlexorLoadTable(e, name.c_str(), text.c_str())) {
      Say(QStringLiteral("Tabelle %1: %2").arg(table->Name, enginetext::ToQString(PlexorGetErrorMessage(e))));
      ok = false;
    }
  }
  if (ok) {
    std::unique_ptr<QTemporaryDir> scratch;
    const QString home = QDir::currentPath();
    if (!listing) {
      scratch = std::make_unique<QTemporaryDir>();
      if (!scratch->isValid() || !QDir::setCurrent(scratch->path())) scratch.reset();
    }
    ok = PlexorCompilerDone(e) != 0;
    if (scratch) QDir::setCurrent(home);
    if (!ok) Say(enginetext::ToQString(PlexorGetErrorMessage(e)));
  }
  model.ReleaseTableData();
  return ok;
}

bool ParseInt(const QString& text, long long low, long long high, int32_t& value) {
  bool ok = false;
  long long v = text.toLongLong(&ok);
  if (!ok || v < low || v > high) return false;
  value = static_cast<int32_t>(v);
  return true;
}

// "A=B" with both numbers in range.
bool ParsePair(const QString& text, int32_t maxKey, int32_t maxValue, int32_t& key, int32_t& value) {
  const qsizetype eq = text.indexOf(QLatin1Char('='));
  return eq > 0 && ParseInt(text.left(eq), 1, maxKey, key) && ParseInt(text.mid(eq + 1), 0, maxValue, value);
}

// The serial output of the simulated unit onto standard output: the unit's
// exact bytes, or with text, converted for reading (Windows-1252 to the
// terminal's encoding, CR LF to LF).
class CliHost : public TSimulationHost {
 public:
  explicit CliHost(bool text) : text_(text) {}
  void OutputArrived(const char* bytes) override {
    if (!text_) {
      std::fwrite(bytes, 1, std::strlen(bytes), stdout);
    } else {
      QString line = enginetext::ToQString(bytes);
      if (pendingCr_ && !line.startsWith(QLatin1Char('\n'))) line.prepend(QLatin1Char('\r'));
      pendingCr_ = line.endsWith(QLatin1Char('\r'));
      if (pendingCr_) line.chop(1);
      line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      const QByteArray out = line.toLocal8Bit();
      std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    }
    std::fflush(stdout);
  }
  ~CliHost() override {
    if (pendingCr_) std::fputc('\r', stdout);
  }
  CliHost(const CliHost&) = delete;
  CliHost& operator=(const CliHost&) = delete;

 private:
  bool text_;
  bool pendingCr_ = false;  // a CR at the end of a piece, perhaps the half of a CR LF
};

std::atomic<bool> g_interrupted{false};
void OnInterrupt(int) { g_interrupted = true; }

}  // namespace

void SetKeepGoing(bool keepGoing) { g_keepGoing = keepGoing; }

int Compile(const QString& project, TCliUserInterface&) {
  std::unique_ptr<TTarvixPlusModel> model = Load(project);
  if (!model || !CompileModel(*model)) return 1;
  std::printf("%s\n", QStringLiteral("Programmlänge %1 bytes").arg(PlexorGetCodeLength(model->Engine())).toUtf8().constData());
  return 0;
}

int Run(const QString& project, const QStringList& options, TCliUserInterface& ui) {
  TSimulatedInputs& in = ResetToUnitAtRest();
  int32_t steps = 1000;
  bool text = false;
  std::vector<std::pair<int32_t, int32_t>> ports;
  for (qsizetype i = 0; i < options.size(); ++i) {
    const QString& o = options[i];
    const bool hasValue = i + 1 < options.size();
    int32_t key = 0, value = 0;
    if (o == QStringLiteral("--realtime")) {
      in.AutoTiming = true;
    } else if (o == QStringLiteral("--virtual-time")) {
      // The unit's clock runs with the program from a fixed date: fast, and
      // the same on every run.
      in.VirtualTime = true;
      in.FixedDate = true;
    } else if (o == QStringLiteral("--text")) {
      text = true;
    } else if (o == QStringLiteral("--steps") && hasValue && ParseInt(options[i + 1], 0, INT32_MAX, value)) {
      steps = value;
      ++i;
    } else if (o == QStringLiteral("--input") && hasValue && ParseInt(options[i + 1], -32768, 65535, value)) {
      ui.inputs.push_back(value);
      ++i;
    } else if (o == QStringLiteral("--adc") && hasValue && ParsePair(options[i + 1], 8, 255, key, value)) {
      in.AdcValue[static_cast<size_t>(key - 1)] = static_cast<uint8_t>(value);
      ++i;
    } else if (o == QStringLiteral("--port") && hasValue && ParsePair(options[i + 1], 16, 1, key, value)) {
      ports.emplace_back(key, value);
      ++i;
    } else if (o == QStringLiteral("--freq") && hasValue && ParseInt(options[i + 1], 0, 65535, value)) {
      in.Frequency = static_cast<uint16_t>(value);
      ++i;
    } else {
      Say(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(o));
      return 1;
    }
  }
  std::unique_ptr<TTarvixPlusModel> model = Load(project);
  if (!model || !CompileModel(*model, false)) return 1;
  CliHost host(text);
  TSimulationHost::SetCurrent(&host);
  model->SetEngineStepLimit(steps);
  model->SetCompiled(true);
  for (const auto& [port, level] : ports) {
    in.PortLevel[static_cast<size_t>(port - 1)] = level != 0;
    in.PortChanged[static_cast<size_t>(port - 1)] = true;
  }
  model->RunCommand(cmd::kRun);
  while (model->StepOrSleep()) {
  }
  TSimulationHost::SetCurrent(nullptr);
  std::fflush(stdout);
  if (ui.inputsExhausted) return 3;
  if (ui.runtimeError) return 2;
  return 0;
}

int Download(const QString& project, const QStringList& options, TCliUserInterface&) {
  QString device;
  for (qsizetype i = 0; i < options.size(); ++i) {
    if (options[i] == QStringLiteral("--device") && i + 1 < options.size()) {
      device = options[++i];
    } else {
      Say(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(options[i]));
      return 1;
    }
  }
  if (device.isEmpty()) {
    Say(QStringLiteral("Geben Sie die Schnittstelle mit --device an."));
    return 1;
  }
  std::unique_ptr<TTarvixPlusModel> model = Load(project);
  if (!model || !CompileModel(*model)) return 1;
  // Opened as the station opens it: a terminal only, exclusively, and
  // refused with the same reasons.
  TSerialPort port;
  if (!port.Open(device)) {
    Say(QStringLiteral("Die Schnittstelle lässt sich nicht öffnen: %1").arg(TSerialPort::Explain(port.Error(), device)));
    return 1;
  }
  const int fd = port.Handle();
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigaction(SIGINT, &action, nullptr);

  PlexorHandle e = model->Engine();
  std::atomic<bool> finished{false};
  int32_t result = 0;
  std::thread worker([&] {
    result = PlexorDownload(e, fd);
    finished = true;
  });
  auto show = [shown = -1](int percent) mutable {
    if (percent == shown) return;
    shown = percent;
    const int filled = percent * 30 / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(30 - filled), '-').c_str(), percent);
    std::fflush(stderr);
  };
  // Until the download has reset the engine's progress, the figure still
  // belongs to the compile (100 %): the bar stays at 0 % until the engine
  // shows a figure below 100, which it does before the first byte.
  bool counting = false;
  while (!finished) {
    if (g_interrupted.exchange(false)) PlexorBreak(e);
    const int percent = PlexorGetProgress(e);
    counting = counting || percent < 100;
    show(counting ? percent : 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  worker.join();
  if (result > 0) show(PlexorGetProgress(e));
  port.Close();
  std::fprintf(stderr, "\n");
  const QString text = DownloadResultText(result);
  if (result < 0) {
    Say(text);
    return 1;
  }
  std::printf("%s\n", text.toUtf8().constData());
  return 0;
}

std::unique_ptr<TTarvixPlusModel> LoadProject(const QString& project) { return Load(project); }

// Only compile writes CODE.TXT; test and disasm leave the directory as it was.
bool CompileProject(TTarvixPlusModel& model) { return CompileModel(model, false); }

std::unique_ptr<TTarvixPlusModel> LoadCompiled(const QString& project) {
  std::unique_ptr<TTarvixPlusModel> model = Load(project);
  if (!model || !CompileModel(*model, false)) return nullptr;
  return model;
}

}  // namespace cli
