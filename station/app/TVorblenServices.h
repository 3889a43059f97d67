// TVorblenServices: the dialogs and windows the program Vorblen plugs into
// the frame (option dialogs, tip of the day, about window, comparison,
// program checks, compile window, block palette, the end of the splash).
#pragma once

#include <QPointer>

#include "TStationServices.h"

class TSplashForm;

class TVorblenServices : public TStationServices {
 public:
  // The splash window the end of the splash time closes (none: nothing to close).
  void SetSplash(TSplashForm* splash);

  bool HasOptionDialogs() const override { return true; }
  bool HasAbout() const override { return true; }
  bool HasCompiler() const override { return true; }
  bool TipAvailable() const override;

  void OptionsEnvironment(TTarvixForm& frame) override;
  void OptionsColors(TTarvixForm& frame) override;
  void TipOfDay(TTarvixForm& frame) override;
  void StartupTip(TTarvixForm& frame) override;
  void About(TTarvixForm& frame) override;
  void CompareWith(TTarvixForm& frame) override;
  void CheckProgram(TTarvixForm& frame) override;
  void Compile(TTarvixPlusModel& project, bool download, QWidget* owner) override;
  void FillPalette(TTarvixForm& frame, QToolBar& blockBar) override;
  void SplashDone() override;

 private:
  QPointer<TSplashForm> splash_;
};
