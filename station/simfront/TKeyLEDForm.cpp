#include "TKeyLEDForm.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "SimPictures.h"
#include "TPanelSpot.h"
#include "TSimulatedInputs.h"
#include "TStationSettings.h"
#include "UserInterface.h"

namespace {

TSimulatedInputs& Inputs() { return TSimulatedInputs::Current(); }

constexpr size_t kFirstKeyLine = 8;   // line 9, 0-based
constexpr size_t kFirstLedLine = 12;  // line 13, 0-based

}  // namespace

TKeyLEDForm::TKeyLEDForm(TTarvixPlusModel* model, QWidget* parent)
    : TToolWindow(model, parent), keys_(kKeys, [this](int key) { Toggle(key); }) {
  setWindowTitle(QStringLiteral("Tasten/LEDs"));
  setAccessibleName(windowTitle());
  setFixedSize(simpictures::kKeyboardWidth, simpictures::kKeyboardHeight);
  setFocusPolicy(Qt::StrongFocus);
  setFont(simpictures::PanelFont());
  for (int k = 1; k <= kKeys; ++k) {
    ledSpots_[static_cast<size_t>(k - 1)] = new TPanelSpot(QStringLiteral("LED%1").arg(k), LedRect(k), this);
    keySpots_[static_cast<size_t>(k - 1)] = new TPanelSpot(QStringLiteral("F%1").arg(k), KeyRect(k), this);
    UpdateKeySpot(k);
  }
  allOn_ = menu_.addAction(QStringLiteral("Alle Tasten einschalten"), this, [this] { SetAllKeyLines(false); });
  allOff_ = menu_.addAction(QStringLiteral("Alle Tasten ausschalten"), this, [this] { SetAllKeyLines(true); });
  menu_.addSeparator();
  asInitial_ = menu_.addAction(QStringLiteral("Als Anfangseinstellungen nach Reset verwenden"), this, [this] { UseAsInitialState(); });
  UsePlacementSlot(TStationSettings::kKeyboardLEDWindow);
}

QRect TKeyLEDForm::LedRect(int led) { return QRect(20 + 28 * (led - 1), 15, 12, 12); }

QRect TKeyLEDForm::KeyRect(int key) { return QRect(14 + 28 * (key - 1), 34, 25, 25); }

int TKeyLEDForm::KeyAt(const QPoint& pos) {
  for (int k = 1; k <= kKeys; ++k)
    if (KeyRect(k).contains(pos)) return k;
  return 0;
}

void TKeyLEDForm::showEvent(QShowEvent* event) {
  if (!shownOnce_) {
    shownOnce_ = true;
    for (size_t i = 0; i < shownLed_.size(); ++i) SyncLed(i, true);
  }
  TToolWindow::showEvent(event);
}

void TKeyLEDForm::SyncLed(size_t led, bool force) {
  const bool lit = Inputs().PortLevel[kFirstLedLine + led];
  if (!force && lit == shownLed_[led]) return;
  shownLed_[led] = lit;
  ledSpots_[led]->SetState(lit ? QStringLiteral("ein") : QStringLiteral("aus"));
  update(LedRect(static_cast<int>(led) + 1));
}

void TKeyLEDForm::UpdateKeySpot(int key) {
  keySpots_[static_cast<size_t>(key - 1)]->SetState(pressed_[static_cast<size_t>(key - 1)] ? QStringLiteral("gedrückt")
                                                                                           : QStringLiteral("losgelassen"));
}

void TKeyLEDForm::RefreshPorts() {
  const TSimulatedInputs& in = Inputs();
  for (size_t i = 0; i < shownLed_.size(); ++i)
    if (in.PortLevel[kFirstLedLine + i] != shownLed_[i]) SyncLed(i, true);
}

void TKeyLEDForm::Toggle(int key) {
  const size_t k = static_cast<size_t>(key - 1);
  const bool wasPressed = pressed_[k];
  pressed_[k] = !wasPressed;
  // A pressed key pulls its line to 0.
  TSimulatedInputs& in = Inputs();
  in.PortLevel[kFirstKeyLine + k] = wasPressed;
  in.PortChanged[kFirstKeyLine + k] = true;
  UpdateKeySpot(key);
  update(KeyRect(key));
}

void TKeyLEDForm::SetAllKeyLines(bool level) {
  TSimulatedInputs& in = Inputs();
  for (size_t k = 0; k < static_cast<size_t>(kKeys); ++k) {
    in.PortLevel[kFirstKeyLine + k] = level;
    in.PortChanged[kFirstKeyLine + k] = true;
  }
}

void TKeyLEDForm::UseAsInitialState() {
  // The bits hold the levels after a reset, like the ports' bits: a key
  // shown pressed starts at 0, a released one at 1.
  TSimulatedInputs& in = Inputs();
  uint16_t bits = in.FixedDigitalIn & ~uint16_t{0x0F00};
  for (size_t k = 0; k < static_cast<size_t>(kKeys); ++k)
    if (!pressed_[k]) bits |= static_cast<uint16_t>(1u << (kFirstKeyLine + k));
  in.FixedDigitalIn = bits;
  in.FixedDigitalInChanged = true;
}

void TKeyLEDForm::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setClipRegion(event->region());
  p.drawPixmap(0, 0, simpictures::Keyboard(devicePixelRatioF()));
  for (int k = 1; k <= kKeys; ++k) {
    const size_t i = static_cast<size_t>(k - 1);
    p.drawPixmap(LedRect(k).topLeft(), simpictures::Led(simpictures::LedColor::Yellow, shownLed_[i], devicePixelRatioF()));
    if (!pressed_[i]) continue;
    // A pressed key: its rounded rectangle inverted.
    QPainterPath path;
    path.addRoundedRect(QRectF(KeyRect(k)), 4.5, 4.5);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    p.fillPath(path, Qt::white);
    p.restore();
  }
}

void TKeyLEDForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
    TToolWindow::mousePressEvent(event);
    return;
  }
  keys_.MousePress(KeyAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void TKeyLEDForm::mouseMoveEvent(QMouseEvent* event) { keys_.MouseOver(KeyAt(event->position().toPoint())); }

void TKeyLEDForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) keys_.MouseRelease();
}

void TKeyLEDForm::keyPressEvent(QKeyEvent* event) {
  const int key = event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F4 ? event->key() - Qt::Key_F1 + 1 : 0;
  if (event->key() == Qt::Key_F1 && (event->modifiers() & Qt::ControlModifier)) {
    TUserInterface::Current().ShowHelp(HelpContext());
    return;
  }
  if (key == 0 || (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
    // F1 is a key here: the base's F1 help must not see it.
    if (event->key() != Qt::Key_F1) TToolWindow::keyPressEvent(event);
    return;
  }
  keys_.KeyPress(key, event->modifiers() & Qt::ShiftModifier, event->isAutoRepeat());
}

void TKeyLEDForm::keyReleaseEvent(QKeyEvent* event) {
  const int key = event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F4 ? event->key() - Qt::Key_F1 + 1 : 0;
  if (key == 0 || event->isAutoRepeat()) {
    TToolWindow::keyReleaseEvent(event);
    return;
  }
  keys_.KeyRelease(key);
}

void TKeyLEDForm::contextMenuEvent(QContextMenuEvent* event) { menu_.popup(event->globalPos()); }
