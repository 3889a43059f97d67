// Shared helpers of the compiler window tests: projects written in the
// project file's own text, the emulated unit serving a pseudo-terminal on a
// thread of its own, and a driver that runs the modal windows from a timer.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "CellBodyText.h"
#include "CompileProject.h"
#include "EmulatedUnit.h"
#include "PseudoTerminal.h"
#include "TCompilerForm.h"
#include "TEnvOptionDlg.h"
#include "TTarvixPlusModel.h"

namespace ct {

// A block record of the cell body.
inline QStringList Block(int32_t id, int32_t type, const QString& param = {}, const QStringList& wires = {}) {
  QStringList l = {"#BLOCK_START", "GraphBlock", QStringLiteral("ID=%1").arg(id), "10,10,70,30"};
  l << wires << QStringLiteral("TYPE=%1").arg(type);
  if (!param.isEmpty()) l << "#DLLDATA_START" << param.split("\r\n") << "#DLLDATA_END";
  l << "#BLOCK_END" << "";
  return l;
}

inline QStringList CellSection(int id, const QString& name, const QStringList& blocks) {
  return QStringList{"#CELL_START", QStringLiteral("ID=%1").arg(id), "NAME=" + name, ""} + blocks +
         QStringList{"#CELL_END", ""};
}

inline QString In(int slot, int32_t source) {
  return QStringLiteral("IN%1=%2,1:0,0,1,1").arg(slot, 2, 10, QLatin1Char('0')).arg(source);
}

inline QStringList Table(const QString& name, const QStringList& lines) {
  return QStringList{"#TABLE_START", "Name=" + name} + lines + QStringList{"#TABLE_END", ""};
}

// Prints the constant 7: a program of 9 bytes.
inline QStringList PrintSeven() {
  return CellSection(1, "Start", Block(65537, 700, "7") + Block(65538, 900, "2", {In(0, 65537)}));
}

// Reads a number, looks it up in the table "Quadrat" and prints it.
inline QStringList Lookup() {
  return CellSection(1, "Start", Block(65537, 901) + Block(65538, 209, "Quadrat", {In(0, 65537)}) +
                                     Block(65539, 900, "2", {In(0, 65538)}));
}

// A program with tables of about 8000 bytes in all.
inline QStringList LargeProject() {
  QStringList sections;
  for (int t = 1; t <= 16; ++t) {
    QStringList lines;
    const int values = t <= 15 ? 256 : 150;
    for (int row = 0; row < values / 16 + 1; ++row) {
      QStringList numbers;
      for (int i = row * 16; i < std::min(values, row * 16 + 16); ++i) numbers << QString::number((i * 37 + t) % 1000);
      if (!numbers.isEmpty()) lines << numbers.join(' ');
    }
    sections << Table(QStringLiteral("T%1").arg(t), lines);
  }
  return sections + PrintSeven();
}

// Writes the project file into dir and opens it.
inline std::unique_ptr<TTarvixPlusModel> OpenProject(const QTemporaryDir& dir, const QStringList& sections,
                                                     const QString& name = QStringLiteral("probe.tvp")) {
  QStringList lines = {"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""};
  lines << sections;
  const QString path = dir.filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return nullptr;
  f.write(cellbody::BytesFromLines(lines));
  f.close();
  auto model = std::make_unique<TTarvixPlusModel>();
  if (!model->Open(path)) return nullptr;
  return model;
}

// The bytes of CODE.TXT in the current directory.
inline std::vector<uint8_t> Listing() {
  QFile f(QStringLiteral("CODE.TXT"));
  std::vector<uint8_t> bytes;
  if (!f.open(QIODevice::ReadOnly)) return bytes;
  for (const QByteArray& n : f.readAll().split(' '))
    if (!n.trimmed().isEmpty()) bytes.push_back(static_cast<uint8_t>(n.trimmed().toInt()));
  return bytes;
}

// The emulated unit on a pseudo-terminal, served on its own thread.
class Unit {
 public:
  explicit Unit(const UnitOptions& options = {}) {
    if (!line_.Open()) return;
    unit_ = std::make_unique<CEmulatedUnit>(line_, options);
    thread_ = std::thread([this] {
      unit_->Serve(stop_, 0, [this](const UnitDownload& d) {
        std::lock_guard<std::mutex> lock(mutex_);
        downloads_.push_back(d.Image);
      });
    });
  }
  ~Unit() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool IsOpen() const { return line_.IsOpen(); }
  QString Path() const { return QString::fromStdString(line_.Path()); }
  std::vector<std::vector<uint8_t>> Downloads() {
    std::lock_guard<std::mutex> lock(mutex_);
    return downloads_;
  }

 private:
  CPseudoTerminal line_;
  std::unique_ptr<CEmulatedUnit> unit_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::vector<uint8_t>> downloads_;
  std::thread thread_;
};

// What one run of the compiler window showed.
struct Run {
  bool finished = false;  // CompileProject's answer
  bool sawForm = false;
  QList<int> stages;
  QStringList actions;  // lAction after each stage
  QString action, status1, status2, button;
  bool status1Red = false, status2Red = false;
  qint64 longestGap = -1;
};

inline bool IsRed(const QLabel* label) { return label->palette().color(QPalette::WindowText) == QColor(Qt::red); }

// Runs a compile through CompileProject and plays the user from a timer:
// the port-selection dialog goes to onOptions (cancelled when unset),
// whileRunning sees the window on every poll while the worker runs, and a
// finished window is closed with its "OK" button.
class Driver : public QObject {
 public:
  // The port question the program plugs in: the environment options.
  Driver() {
    TCompilerForm::SetPortChooser([](TStationSettings& settings, TTarvixPlusModel* project, QWidget* owner) {
      return TEnvOptionDlg::Edit(settings, project, owner, true);
    });
  }

  std::function<void(TEnvOptionDlg&)> onOptions;
  std::function<void(TCompilerForm&)> whileRunning;
  std::function<void(TCompilerForm&)> whenFinished;

  Run Compile(TTarvixPlusModel& model, bool download) {
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [this] { Tick(); });
    timer.start();
    run_ = Run{};
    form_ = nullptr;
    run_.finished = CompileProject(model, download, nullptr);
    timer.stop();
    return run_;
  }

 private:
  void Snapshot(TCompilerForm& form) {
    run_.action = form.findChild<QLabel*>("lAction")->text();
    auto* s1 = form.findChild<QLabel*>("lStatus1");
    auto* s2 = form.findChild<QLabel*>("lStatus2");
    run_.status1 = s1->text();
    run_.status2 = s2->text();
    run_.status1Red = IsRed(s1);
    run_.status2Red = IsRed(s2);
    run_.button = form.findChild<QPushButton*>("bClose")->text();
    run_.longestGap = form.LongestProgressGap();
  }

  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* options = qobject_cast<TEnvOptionDlg*>(modal)) {
      if (onOptions) {
        auto answer = std::move(onOptions);
        onOptions = nullptr;
        answer(*options);
      } else {
        options->reject();
      }
      return;
    }
    auto* form = qobject_cast<TCompilerForm*>(modal);
    if (!form) return;
    if (form != form_) {
      form_ = form;
      run_.sawForm = true;
      connect(form, &TCompilerForm::StageShown, this, [this, form](int stage) {
        run_.stages << stage;
        run_.actions << form->findChild<QLabel*>("lAction")->text();
      });
    }
    Snapshot(*form);
    if (form->Started() && !form->Finished() && whileRunning) whileRunning(*form);
    if (form->Finished()) {
      if (whenFinished) {
        auto look = std::move(whenFinished);
        whenFinished = nullptr;
        look(*form);
      }
      QTest::mouseClick(form->findChild<QPushButton*>("bClose"), Qt::LeftButton);
    }
  }

  Run run_;
  TCompilerForm* form_ = nullptr;
};

// Saves a picture of a window when VORBLEN_SHOTS names a directory.
inline void Shot(QWidget& w, const char* name) {
  const QByteArray dir = qgetenv("VORBLEN_SHOTS");
  if (!dir.isEmpty()) w.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(name)));
}

}  // namespace ct
