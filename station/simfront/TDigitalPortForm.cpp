#include "TDigitalPortForm.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "SimPictures.h"
#include "TPanelSpot.h"
#include "TSimulatedInputs.h"
#include "TStationSettings.h"

namespace {

using simpictures::LedColor;

TSimulatedInputs& Inputs() { return TSimulatedInputs::Current(); }

// The port a number key stands for, 0 for none. With Shift a keyboard
// delivers the symbol above the digit; the usual layouts are recognised.
int PortOfKey(const QKeyEvent* event) {
  const int key = event->key();
  if (key >= Qt::Key_1 && key <= Qt::Key_6) return key - Qt::Key_1 + 1;
  switch (key) {
    case Qt::Key_Exclam: return 1;
    case Qt::Key_QuoteDbl:
    case Qt::Key_At: return 2;
    case Qt::Key_section:
    case Qt::Key_NumberSign: return 3;
    case Qt::Key_Dollar: return 4;
    case Qt::Key_Percent: return 5;
    case Qt::Key_Ampersand:
    case Qt::Key_AsciiCircum: return 6;
    default: return 0;
  }
}

QString StateText(bool output, bool level) {
  return QStringLiteral("%1, %2").arg(output ? QStringLiteral("Ausgang") : QStringLiteral("Eingang"),
                                       level ? QStringLiteral("ein") : QStringLiteral("aus"));
}

}  // namespace

TDigitalPortForm::TDigitalPortForm(TTarvixPlusModel* model, QWidget* parent)
    : TToolWindow(model, parent), ports_(kPorts, [this](int port) { Toggle(port); }) {
  setWindowTitle(QStringLiteral("Digitalports/Relais"));
  setAccessibleName(windowTitle());
  setFixedSize(kClientWidth, kClientHeight);
  setFocusPolicy(Qt::StrongFocus);
  setFont(simpictures::PanelFont());
  for (int p = 1; p <= kPorts; ++p) spots_[static_cast<size_t>(p - 1)] = new TPanelSpot(QStringLiteral("P%1").arg(p), PortRect(p), this);
  for (int r = 1; r <= 2; ++r) spots_[static_cast<size_t>(kPorts + r - 1)] = new TPanelSpot(QStringLiteral("Relais K%1").arg(r), RelayRect(r), this);
  allOn_ = menu_.addAction(QStringLiteral("Alle Eingänge einschalten"), this, [this] { SetAllInputs(true); });
  allOff_ = menu_.addAction(QStringLiteral("Alle Eingänge ausschalten"), this, [this] { SetAllInputs(false); });
  menu_.addSeparator();
  asInitial_ = menu_.addAction(QStringLiteral("Als Anfangseinstellungen nach Reset verwenden"), this, [this] { UseAsInitialState(); });
  UpdateMenu();
  UsePlacementSlot(TStationSettings::kDigitalPortWindow);
}

QRect TDigitalPortForm::PortRect(int port) { return QRect(32 * (port - 1), 0, 32, 44); }

QRect TDigitalPortForm::RelayRect(int relay) { return relay == 1 ? QRect(14, 52, 72, 16) : QRect(110, 52, 72, 16); }

int TDigitalPortForm::PortAt(const QPoint& pos) {
  if (pos.y() < 4 || pos.y() > 40 || pos.x() < 0) return 0;
  const int port = pos.x() / 32 + 1;
  return port <= kPorts ? port : 0;
}

void TDigitalPortForm::showEvent(QShowEvent* event) {
  if (!shownOnce_) {
    shownOnce_ = true;
    for (size_t i = 0; i < shownLevel_.size(); ++i) Sync(i, true);
  }
  TToolWindow::showEvent(event);
}

void TDigitalPortForm::Sync(size_t line, bool force) {
  const TSimulatedInputs& in = Inputs();
  const bool level = in.PortLevel[line];
  const bool output = in.PortIsOutput[line];
  if (!force && level == shownLevel_[line] && output == shownOutput_[line]) return;
  shownLevel_[line] = level;
  shownOutput_[line] = output;
  const int number = static_cast<int>(line) + 1;
  spots_[line]->SetState(number <= kPorts ? StateText(output, level) : (level ? QStringLiteral("ein") : QStringLiteral("aus")));
  update(number <= kPorts ? PortRect(number) : RelayRect(number - kPorts));
}

void TDigitalPortForm::RefreshPorts() {
  const TSimulatedInputs& in = Inputs();
  for (size_t i = 0; i < shownLevel_.size(); ++i) {
    if (in.PortLevel[i] == shownLevel_[i] && in.PortIsOutput[i] == shownOutput_[i]) continue;
    // A port that became an output ends a press held on it.
    if (in.PortIsOutput[i] && i < static_cast<size_t>(kPorts)) ports_.Forget(static_cast<int>(i) + 1);
    Sync(i, true);
  }
  if (!menu_.isVisible()) return;
  UpdateMenu();
}

void TDigitalPortForm::UpdateMenu() {
  bool allInputs = true;
  for (int i = 0; i < kPorts; ++i) allInputs = allInputs && !Inputs().PortIsOutput[static_cast<size_t>(i)];
  asInitial_->setEnabled(allInputs);
}

void TDigitalPortForm::Toggle(int port) {
  TSimulatedInputs& in = Inputs();
  const size_t i = static_cast<size_t>(port - 1);
  if (in.PortIsOutput[i]) return;
  in.PortLevel[i] = !in.PortLevel[i];
  in.PortChanged[i] = true;
  Sync(i, false);
}

void TDigitalPortForm::SetAllInputs(bool level) {
  TSimulatedInputs& in = Inputs();
  for (size_t i = 0; i < static_cast<size_t>(kPorts); ++i) {
    if (in.PortIsOutput[i]) continue;
    in.PortLevel[i] = level;
    in.PortChanged[i] = true;
    Sync(i, false);
  }
}

void TDigitalPortForm::UseAsInitialState() {
  TSimulatedInputs& in = Inputs();
  uint16_t bits = in.FixedDigitalIn & ~uint16_t{0x3F};
  for (size_t i = 0; i < static_cast<size_t>(kPorts); ++i) {
    if (in.PortIsOutput[i]) return;  // only when all six are inputs
    if (in.PortLevel[i]) bits |= static_cast<uint16_t>(1u << i);
  }
  in.FixedDigitalIn = bits;
  in.FixedDigitalInChanged = true;
}

void TDigitalPortForm::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setClipRegion(event->region());
  for (int port = 1; port <= kPorts; ++port) {
    const QRect r = PortRect(port);
    if (!event->region().intersects(r)) continue;
    const size_t i = static_cast<size_t>(port - 1);
    const QPixmap& led = simpictures::Led(shownOutput_[i] ? LedColor::Red : LedColor::Green, shownLevel_[i], devicePixelRatioF());
    p.drawPixmap(r.left() + (32 - simpictures::kLedSize) / 2, 8, led);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(r.left(), 24, 32, 16), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("P%1").arg(port));
  }
  // The sunken separator between ports and relays.
  p.setPen(palette().color(QPalette::Dark));
  p.drawLine(8, 44, 185, 44);
  p.setPen(palette().color(QPalette::Light));
  p.drawLine(8, 45, 185, 45);
  p.setPen(palette().color(QPalette::WindowText));
  for (int relay = 1; relay <= 2; ++relay) {
    const QRect r = RelayRect(relay);
    if (!event->region().intersects(r)) continue;
    const size_t i = static_cast<size_t>(kPorts + relay - 1);
    p.drawPixmap(r.right() + 1 - simpictures::kLedSize, r.top() + (r.height() - simpictures::kLedSize) / 2,
                 simpictures::Led(LedColor::Green, shownLevel_[i], devicePixelRatioF()));
    p.drawText(r.adjusted(0, 0, -18, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Relais K%1").arg(relay));
  }
}

void TDigitalPortForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
    TToolWindow::mousePressEvent(event);
    return;
  }
  const int port = PortAt(event->position().toPoint());
  if (port == 0 || Inputs().PortIsOutput[static_cast<size_t>(port - 1)]) return;
  ports_.MousePress(port, event->modifiers() & Qt::ShiftModifier);
}

void TDigitalPortForm::mouseMoveEvent(QMouseEvent* event) { ports_.MouseOver(PortAt(event->position().toPoint())); }

void TDigitalPortForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) ports_.MouseRelease();
}

void TDigitalPortForm::keyPressEvent(QKeyEvent* event) {
  const int port = PortOfKey(event);
  if (port == 0 || (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
    TToolWindow::keyPressEvent(event);
    return;
  }
  if (Inputs().PortIsOutput[static_cast<size_t>(port - 1)]) return;
  ports_.KeyPress(port, event->modifiers() & Qt::ShiftModifier, event->isAutoRepeat());
}

void TDigitalPortForm::keyReleaseEvent(QKeyEvent* event) {
  const int port = PortOfKey(event);
  if (port == 0 || event->isAutoRepeat()) {
    TToolWindow::keyReleaseEvent(event);
    return;
  }
  ports_.KeyRelease(port);
}

void TDigitalPortForm::contextMenuEvent(QContextMenuEvent* event) {
  UpdateMenu();
  menu_.popup(event->globalPos());
}
