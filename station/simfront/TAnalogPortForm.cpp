#include "TAnalogPortForm.h"

#include <QAccessible>
#include <QLabel>

#include "SimPictures.h"
#include "TColorValue.h"
#include "TMarlixAnalogBar.h"
#include "TSimulatedInputs.h"
#include "TStationSettings.h"

namespace {

TSimulatedInputs& Inputs() { return TSimulatedInputs::Current(); }

constexpr int kRowHeight = 26;
constexpr int kTop = 6;

QString Unit(int index) {
  if (index < 4) return QStringLiteral("V");
  if (index < 6) return QStringLiteral("°C");
  if (index < 8) return QString();
  return QStringLiteral("Hz");
}

TStationSettings::Color BarColor(int index) {
  if (index < 4) return TStationSettings::kGenericAnalogIn;
  if (index < 6) return TStationSettings::kTemperatureAnalogIn;
  if (index < 8) return TStationSettings::kVoltageAnalogIn;
  return TStationSettings::kFrequencyIn;
}

int InputValue(int index) {
  return index == TAnalogPortForm::kFrequencyBar ? Inputs().Frequency : Inputs().AdcValue[static_cast<size_t>(index)];
}

}  // namespace

QString TAnalogPortForm::BarLabel(int index) {
  static const char* const kLabels[kBars] = {"A1", "A2", "A3", "A4", "T1", "T2", "U1", "U2", "f"};
  return index >= 0 && index < kBars ? QString::fromLatin1(kLabels[index]) : QString();
}

QString TAnalogPortForm::FormatValue(int index, int value) {
  if (index < 4) return QStringLiteral("%1,%2").arg(value / 100).arg(value % 100, 2, 10, QLatin1Char('0'));
  if (index < 6) {
    // Tenths of a degree; the sign is kept when the whole degrees are 0.
    const int tenths = value * 5 - 250;
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return QStringLiteral("%1%2,%3").arg(tenths < 0 ? QStringLiteral("-") : QString()).arg(magnitude / 10).arg(magnitude % 10);
  }
  return QString::number(value);
}

TAnalogPortForm::TAnalogPortForm(TTarvixPlusModel* model, QWidget* parent) : TToolWindow(model, parent) {
  setWindowTitle(QStringLiteral("Meßwerte"));
  setAccessibleName(windowTitle());
  setFixedSize(kClientWidth, kClientHeight);
  setFont(simpictures::PanelFont());
  for (int i = 0; i < kBars; ++i) {
    const int y = kTop + i * kRowHeight;
    auto* name = new QLabel(BarLabel(i), this);
    name->setGeometry(3, y, 17, 18);
    auto* bar = new TMarlixAnalogBar(this);
    bar->setGeometry(20, y, 108, 18);
    bar->SetMaxValue(i == kFrequencyBar ? 30000 : 255);
    if (i == kFrequencyBar) bar->SetValueDeltaPage(100);
    bar->setAccessibleName(BarLabel(i));
    auto* value = new QLabel(this);
    // Wide enough for "30000" in this platform's panel font.
    value->setGeometry(129, y, 36, 18);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* unit = new QLabel(Unit(i), this);
    unit->setGeometry(168, y, 24, 18);
    bars_[static_cast<size_t>(i)] = bar;
    values_[static_cast<size_t>(i)] = value;
    connect(bar, &TMarlixAnalogBar::changed, this, [this, i](int v) { BarChanged(i, v); });
    ShowValue(i, bar->Value());
  }
  setTabOrder(bars_[0], bars_[1]);
  SettingsChanged();
  UsePlacementSlot(TStationSettings::kAnalogPortWindow);
}

QString TAnalogPortForm::ValueText(int index) const { return values_[static_cast<size_t>(index)]->text(); }

void TAnalogPortForm::ShowValue(int index, int value) {
  const QString text = FormatValue(index, value);
  values_[static_cast<size_t>(index)]->setText(text);
  const QString unit = Unit(index);
  bars_[static_cast<size_t>(index)]->setAccessibleDescription(unit.isEmpty() ? text : text + QLatin1Char(' ') + unit);
}

void TAnalogPortForm::BarChanged(int index, int value) {
  ShowValue(index, value);
  if (syncing_) return;
  TSimulatedInputs& in = Inputs();
  if (index == kFrequencyBar) {
    in.Frequency = static_cast<uint16_t>(value);
    in.FrequencyChanged = true;
  } else {
    in.AdcValue[static_cast<size_t>(index)] = static_cast<uint8_t>(value);
    in.AdcChanged[static_cast<size_t>(index)] = true;
  }
}

void TAnalogPortForm::RefreshPorts() {
  syncing_ = true;
  for (int i = 0; i < kBars; ++i) {
    const int value = InputValue(i);
    if (bars_[static_cast<size_t>(i)]->Value() != value) bars_[static_cast<size_t>(i)]->SetValue(value);
  }
  syncing_ = false;
}

void TAnalogPortForm::showEvent(QShowEvent* event) {
  RefreshPorts();
  TToolWindow::showEvent(event);
}

void TAnalogPortForm::SettingsChanged() {
  const TStationSettings& s = TStationSettings::Current();
  const QColor background = tcolor::ToQColor(s.colors[TStationSettings::kAnalogInBackgnd]);
  for (int i = 0; i < kBars; ++i) {
    bars_[static_cast<size_t>(i)]->SetBackgroundColor(background);
    bars_[static_cast<size_t>(i)]->SetForegroundColor(tcolor::ToQColor(s.colors[BarColor(i)]));
  }
}
