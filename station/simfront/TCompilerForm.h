// TCompilerForm: the modal window ("Compilieren") that compiles the project
// and, for a download, sends it to the unit, showing each stage, the engine's
// progress and the results.
//
// The engine work runs on a TTarvixPlusCompileThread; the window polls the
// progress every 50 ms and handles every stage on the user-interface thread.
// While the worker runs the window cannot be closed (close, Escape and
// Alt+F4 are refused); "Abbrechen" asks the worker and the engine to stop.
// When it goes away the window hands its error block to the project, so the
// cell editors mark the block at fault or clear an old mark.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "TSerialPort.h"
#include "TTarvixPlusCompileThread.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TStationSettings;
class TTarvixPlusModel;

class TCompilerForm : public QDialog {
  Q_OBJECT
 public:
  explicit TCompilerForm(QWidget* parent = nullptr);
  ~TCompilerForm() override;

  // The project to compile; shows its name.
  void SetModel(TTarvixPlusModel* model);
  // Compile and download (command 251) instead of compile only.
  void SetDownload(bool download) { download_ = download; }

  // A compiler window's worker is running somewhere in the station.
  static bool AnyRunning() { return runningForms_ > 0; }

  // Asks for the serial port when a download finds none chosen (the
  // program installs the environment options on their interface page).
  // True when the user confirmed; without one the download is cancelled.
  using PortChooser = std::function<bool(TStationSettings&, TTarvixPlusModel*, QWidget*)>;
  static void SetPortChooser(PortChooser chooser);

  bool Started() const { return started_; }
  bool Finished() const { return finished_; }
  int32_t ErrorBlockId() const { return errorBlockId_; }
  // The longest pause between two progress polls while the worker ran, in
  // milliseconds: how long the user-interface thread was kept busy.
  qint64 LongestProgressGap() const { return longestGap_; }

 public slots:
  void done(int result) override;

 signals:
  // After each stage the worker handed over (0 to 7), for observers.
  void StageShown(int stage);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ThreadTimerTick();
  void CloseClicked();
  // Asks for a port when none is chosen and opens it; false when the window
  // is to close (or nothing is to happen).
  bool PreparePort();
  void StartThread();
  void ShowStage(uint8_t stage);
  void LoadTables();
  void Finish();
  void PollProgress();
  void SetStatus(QLabel* label, const QString& text, bool error);
  bool Running() const { return started_ != finished_; }

  QLabel* lProject = nullptr;
  QLabel* lAction = nullptr;
  QProgressBar* ctrlProgress = nullptr;
  QLabel* lStatus1 = nullptr;
  QLabel* lStatus2 = nullptr;
  QPushButton* bClose = nullptr;
  QTimer* ThreadTimer = nullptr;

  TTarvixPlusModel* model_ = nullptr;
  bool download_ = false;
  bool shown_ = false;
  bool started_ = false;
  bool finished_ = false;
  int32_t errorBlockId_ = -1;
  TSerialPort port_;
  std::unique_ptr<TTarvixPlusCompileThread> thread_;

  static int runningForms_;  // user-interface thread only

  QElapsedTimer sinceLastPoll_;
  qint64 longestGap_ = 0;
};
