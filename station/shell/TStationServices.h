// TStationServices: what the program plugs into the frame — the dialogs and
// windows the frame does not link itself (option dialogs, tip of the day,
// about window, comparison, program checks, compile window, block palette).
//
// The program fills it (app/); the frame asks it. This base offers nothing:
// a frame without services (a test) keeps the items of missing services
// disabled and does nothing for the others.
#pragma once

class QToolBar;
class QWidget;
class TTarvixForm;
class TTarvixPlusModel;

class TStationServices {
 public:
  virtual ~TStationServices() = default;

  // Whether the program has the option dialogs, the about window and a
  // compiler (their menu items and commands are disabled otherwise).
  virtual bool HasOptionDialogs() const { return false; }
  virtual bool HasAbout() const { return false; }
  virtual bool HasCompiler() const { return false; }
  // Whether the tip of the day can be shown (its file is usable).
  virtual bool TipAvailable() const { return false; }

  virtual void OptionsEnvironment(TTarvixForm& /*frame*/) {}
  virtual void OptionsColors(TTarvixForm& /*frame*/) {}
  virtual void TipOfDay(TTarvixForm& /*frame*/) {}
  // The tip shown after the splash, when the settings ask for it.
  virtual void StartupTip(TTarvixForm& /*frame*/) {}
  virtual void About(TTarvixForm& /*frame*/) {}
  virtual void CompareWith(TTarvixForm& /*frame*/) {}
  virtual void CheckProgram(TTarvixForm& /*frame*/) {}
  // Compiles the project, and transfers it to the unit when download is set.
  virtual void Compile(TTarvixPlusModel& /*project*/, bool /*download*/, QWidget* /*owner*/) {}
  // Adds the block palette to the block tool bar (after the new-cell button).
  virtual void FillPalette(TTarvixForm& /*frame*/, QToolBar& /*blockBar*/) {}
  // The splash time is over (the splash window may go).
  virtual void SplashDone() {}
};
