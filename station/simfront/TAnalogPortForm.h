// TAnalogPortForm: the panel of the simulated analog inputs A1..A4, T1, T2,
// U1, U2 and the frequency input f, one TMarlixAnalogBar each with its value
// in the unit's display form. A bar the user moves hands its value to the
// engine before the next step batch; values set from elsewhere (the watch
// editor) are taken over at the next refresh.
#pragma once

#include <QString>
#include <array>

#include "TToolWindow.h"

class QLabel;
class TMarlixAnalogBar;

class TAnalogPortForm : public TToolWindow {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 192;
  static constexpr int kClientHeight = 242;
  static constexpr int kBars = 9;  // eight analog inputs and the frequency
  static constexpr int kFrequencyBar = 8;

  explicit TAnalogPortForm(TTarvixPlusModel* model, QWidget* parent = nullptr);

  // Takes over values changed outside the panel.
  void RefreshPorts() override;
  void SettingsChanged() override;
  int32_t HelpContext() const override { return 15000; }

  TMarlixAnalogBar* Bar(int index) const { return bars_[static_cast<size_t>(index)]; }
  QString ValueText(int index) const;

  // The label of bar i ("A1" .. "f") and the display form of a value on it:
  // A 0,05 V; T -0,5 °C; U and f plain integers.
  static QString BarLabel(int index);
  static QString FormatValue(int index, int value);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BarChanged(int index, int value);
  void ShowValue(int index, int value);

  std::array<TMarlixAnalogBar*, kBars> bars_{};
  std::array<QLabel*, kBars> values_{};
  bool syncing_ = false;
};
