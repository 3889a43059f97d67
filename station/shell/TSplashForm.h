// TSplashForm: the station's picture with its version, shown without border
// while the station starts and as the about box ("&Info über...").
#pragma once

#include <QImage>

#include "TCenteredDlg.h"

class QTimer;

class TSplashForm : public TCenteredDlg {
  Q_OBJECT

 public:
  enum class Mode { Splash, About };
  // How long the splash stays after the main window first showed.
  static constexpr int kSplashMilliseconds = 420;

  explicit TSplashForm(Mode mode, QWidget* parent = nullptr);

  // The picture with "Version 1.10" at (22, 140) in 8-point italic maroon
  // Arial on it.
  static QImage Picture();

  // Start-up: a borderless splash centred on the screen, shown at once and
  // deleted when closed. The frame closes it (or calls CloseAfter).
  static TSplashForm* ShowSplash();
  // Closes (and so deletes) the splash when the timer fires.
  void CloseAfter(int milliseconds = kSplashMilliseconds);
  QTimer* CloseTimer() const { return closeTimer_; }

  // "&Info über...": modal, centred over the main window and kept on screen.
  static void ShowAbout(QWidget* mainWindow);

 private:
  QTimer* closeTimer_ = nullptr;
};
