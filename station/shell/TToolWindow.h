// TToolWindow: base of the simulator panels (ports, analog values, keys and
// LEDs): small stay-on-top windows outside the MDI area, each at most once.
// The frame refreshes them after the run control read the ports, and tells
// them when the settings or the project change.
#pragma once

#include <QWidget>

class TTarvixPlusModel;

class TToolWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TToolWindow(TTarvixPlusModel* model, QWidget* parent = nullptr);

  TTarvixPlusModel* Model() const { return model_; }
  virtual void SetModel(TTarvixPlusModel* model) { model_ = model; }
  // The simulated ports changed (TSimulatedInputs holds the new state).
  virtual void RefreshPorts() {}
  // Colours or fonts of the settings changed.
  virtual void SettingsChanged() {}
  // The help topic F1 opens in this window.
  virtual int32_t HelpContext() const { return 0; }

 private:
  TTarvixPlusModel* model_ = nullptr;
};
