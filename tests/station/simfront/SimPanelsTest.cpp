// The digital port, key/LED and analog panels and the tool-window base,
// driven with synthesized mouse and key events against the shared simulated
// inputs and, end to end, a real model and engine.
#include <QAccessible>
#include <QAction>
#include <QScreen>

#include "Commands.h"
#include "SimFrontTestSupport.h"
#include "SimPictures.h"
#include "TAnalogPortForm.h"
#include "TDigitalPortForm.h"
#include "TKeyLEDForm.h"
#include "TMarlixAnalogBar.h"
#include "TPanelSpot.h"

using namespace sft;

namespace {

TSimulatedInputs& In() { return TSimulatedInputs::Current(); }

QString SpotState(QWidget* panel, const QString& label) {
  for (TPanelSpot* s : panel->findChildren<TPanelSpot*>())
    if (s->accessibleName() == label) return s->State();
  return QStringLiteral("<none>");
}

QPoint PortPoint(int port) { return QPoint(32 * (port - 1) + 16, 20); }

// The panel's picture of the port state: the lamp's centre pixel.
QColor LedPixel(QWidget* panel, const QPoint& centre) { return panel->grab().toImage().pixelColor(centre); }

}  // namespace

class SimPanelsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    RegisterSimulationWindows();
    model = NewModel();
    frame = std::make_unique<TestFrame>(model.get());
  }
  void cleanup() {
    ForgetModalWatchers();
    frame.reset();
    model.reset();
  }

  void digitalPortGestures();
  void digitalPortPopupMenu();
  void digitalPortRefreshEndsPressOnOutputs();
  void keyPanelDrivesAProgramThatLightsAnLed();
  void keyPanelPopupMenuAndHelp();
  void analogDisplayFormats_data();
  void analogDisplayFormats();
  void analogBarKeysMouseAndLimits();
  void analogPanelHandsValuesToTheEngine();
  void toolWindowsComeBackOnScreen_data();
  void toolWindowsComeBackOnScreen();
  void panelsAtMostOnceAndPictures();

 private:
  std::unique_ptr<TTarvixPlusModel> model;
  std::unique_ptr<TestFrame> frame;
  PanelHost host;
};

void SimPanelsTest::digitalPortGestures() {
  RecordingUserInterface ui;
  In().PortIsOutput[2] = true;  // P3 is an output
  auto* panel = qobject_cast<TDigitalPortForm*>(frame->ShowWindow(QStringLiteral("TDigitalPortForm")));
  QVERIFY(panel);
  QCOMPARE(panel->size(), QSize(192, 73));
  QCOMPARE(SpotState(panel, QStringLiteral("P1")), QStringLiteral("Eingang, aus"));
  QCOMPARE(SpotState(panel, QStringLiteral("P3")), QStringLiteral("Ausgang, aus"));
  QCOMPARE(SpotState(panel, QStringLiteral("Relais K1")), QStringLiteral("aus"));
  const QColor dark = LedPixel(panel, QPoint(16, 14));

  // Without Shift: on only while the button is held.
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, PortPoint(1));
  QVERIFY(In().PortLevel[0]);
  QVERIFY(In().PortChanged[0]);
  QCOMPARE(SpotState(panel, QStringLiteral("P1")), QStringLiteral("Eingang, ein"));
  QVERIFY(LedPixel(panel, QPoint(16, 14)) != dark);
  // Keys are ignored while the mouse holds a port.
  QTest::keyPress(panel, Qt::Key_2);
  QVERIFY(!In().PortLevel[1]);
  QTest::keyRelease(panel, Qt::Key_2);
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, PortPoint(1));
  QVERIFY(!In().PortLevel[0]);
  // Leaving the rows 4..40 ends the press too.
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, PortPoint(2));
  QVERIFY(In().PortLevel[1]);
  QMouseEvent leave(QEvent::MouseMove, QPointF(48, 41), panel->mapToGlobal(QPointF(48, 41)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &leave);
  QVERIFY(!In().PortLevel[1]);
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, QPoint(48, 41));
  QVERIFY(!In().PortLevel[1]);
  // With Shift: it stays.
  QTest::mouseClick(panel, Qt::LeftButton, Qt::ShiftModifier, PortPoint(4));
  QVERIFY(In().PortLevel[3]);
  // Alt or Ctrl, the rows outside 4..40 and an output do nothing.
  In().PortChanged = {};
  QTest::mouseClick(panel, Qt::LeftButton, Qt::ControlModifier, PortPoint(5));
  QTest::mouseClick(panel, Qt::LeftButton, Qt::AltModifier, PortPoint(5));
  QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(144, 2));
  QTest::mousePress(panel, Qt::LeftButton, Qt::ShiftModifier, PortPoint(3));
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::ShiftModifier, PortPoint(3));
  QVERIFY(!In().PortLevel[4]);
  QVERIFY(!In().PortLevel[2]);
  QCOMPARE(In().PortChanged, (std::array<bool, 16>{}));

  // Number keys: push button, auto-repeat ignored; with Shift latched.
  QTest::keyPress(panel, Qt::Key_5);
  QVERIFY(In().PortLevel[4]);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"), true);
  QApplication::sendEvent(panel, &repeat);
  QVERIFY(In().PortLevel[4]);
  QTest::keyRelease(panel, Qt::Key_5);
  QVERIFY(!In().PortLevel[4]);
  QTest::keyClick(panel, Qt::Key_6, Qt::ShiftModifier);
  QVERIFY(In().PortLevel[5]);
  QTest::keyClick(panel, Qt::Key_Exclam, Qt::ShiftModifier);  // Shift+1 on a real keyboard
  QVERIFY(In().PortLevel[0]);
  QTest::keyClick(panel, Qt::Key_3);
  QVERIFY(!In().PortLevel[2]);
  // F1 opens the panel's help.
  QTest::keyClick(panel, Qt::Key_F1);
  QCOMPARE(ui.Texts("ShowHelp"), QStringList{QStringLiteral("15000")});
  Shot(panel, QStringLiteral("digital"));
}

void SimPanelsTest::digitalPortPopupMenu() {
  In().PortIsOutput[1] = true;
  In().PortLevel[1] = false;
  In().FixedDigitalIn = 0x0F00 | 0x0040;
  TDigitalPortForm panel(model.get());
  panel.show();
  QCOMPARE(panel.AllOnAction()->text(), QStringLiteral("Alle Eingänge einschalten"));
  panel.AllOnAction()->trigger();
  for (size_t i = 0; i < 6; ++i) {
    QCOMPARE(In().PortLevel[i], i != 1);
    QCOMPARE(In().PortChanged[i], i != 1);
  }
  QCOMPARE(SpotState(&panel, QStringLiteral("P6")), QStringLiteral("Eingang, ein"));
  // Only when all six ports are inputs.
  emit panel.PopupMenu()->aboutToShow();
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), panel.mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(&panel, &menu);
  QVERIFY(!panel.AsInitialAction()->isEnabled());
  panel.PopupMenu()->hide();
  In().PortIsOutput[1] = false;
  panel.RefreshPorts();
  QApplication::sendEvent(&panel, &menu);
  QVERIFY(panel.AsInitialAction()->isEnabled());
  panel.PopupMenu()->hide();
  panel.AllOffAction()->trigger();
  In().PortLevel[0] = In().PortLevel[4] = true;
  panel.AsInitialAction()->trigger();
  QCOMPARE(In().FixedDigitalIn, uint16_t{0x0F00 | 0x0040 | 0x0001 | 0x0010});  // bit 6 kept
  QVERIFY(In().FixedDigitalInChanged);
}

void SimPanelsTest::digitalPortRefreshEndsPressOnOutputs() {
  TDigitalPortForm panel(model.get());
  panel.show();
  QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, PortPoint(1));
  QVERIFY(In().PortLevel[0]);
  // The program makes P1 an output and drives it low: the press is over.
  In().PortIsOutput[0] = true;
  In().PortLevel[0] = false;
  panel.RefreshPorts();
  QCOMPARE(SpotState(&panel, QStringLiteral("P1")), QStringLiteral("Ausgang, aus"));
  QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, PortPoint(1));
  QVERIFY(!In().PortLevel[0]);
  // The relay K2 follows line 8.
  In().PortLevel[7] = true;
  panel.RefreshPorts();
  QCOMPARE(SpotState(&panel, QStringLiteral("Relais K2")), QStringLiteral("ein"));
}

void SimPanelsTest::keyPanelDrivesAProgramThatLightsAnLed() {
  RecordingUserInterface ui;
  // LED1 := F1, again and again.
  const int32_t cell = NewCell(*model, QStringLiteral("K"));
  TBlock* key = mt::Place(*model, cell, 112, 0, 0);
  TBlock* led = mt::Place(*model, cell, 116, 100, 0);
  QVERIFY(mt::Connect(*model, *key, *led));
  mt::Place(*model, cell, 1000, 200, 0, QStringLiteral("K"));
  // Keys released after a reset (what the settings pass at start-up).
  PlexorSetInitialPortState(model->Engine(), 0x0F00);
  QVERIFY(Compile(*model));
  auto* panel = qobject_cast<TKeyLEDForm*>(frame->ShowWindow(QStringLiteral("TKeyLEDForm")));
  QVERIFY(panel);
  QCOMPARE(panel->size(), simpictures::Keyboard().size());
  model->RunCommand(cmd::kRun);
  for (int i = 0; i < 5; ++i) model->Step();
  // The key block reads a pressed key as 1: released, LED1 is dark.
  QCOMPARE(SpotState(panel, QStringLiteral("LED1")), QStringLiteral("aus"));
  QCOMPARE(SpotState(panel, QStringLiteral("F1")), QStringLiteral("losgelassen"));
  // F1 held: the line goes to 0 before the next batch, and the LED lights.
  QTest::keyPress(panel, Qt::Key_F1);
  QVERIFY(panel->KeyShownPressed(1));
  QVERIFY(!In().PortLevel[8]);
  for (int i = 0; i < 3; ++i) model->Step();
  QVERIFY(!In().PortChanged[8]);
  QCOMPARE(PlexorGetPortState(model->Engine()) & (1 << 8), 0);
  QCOMPARE(SpotState(panel, QStringLiteral("LED1")), QStringLiteral("ein"));
  Shot(panel, QStringLiteral("keys-pressed"));
  QTest::keyRelease(panel, Qt::Key_F1);
  for (int i = 0; i < 3; ++i) model->Step();
  QCOMPARE(SpotState(panel, QStringLiteral("LED1")), QStringLiteral("aus"));
  // A click on the key works the same way; with Shift it stays pressed.
  const QPoint onKey = TKeyLEDForm::KeyRect(1).center();
  QTest::mouseClick(panel, Qt::LeftButton, Qt::ShiftModifier, onKey);
  for (int i = 0; i < 3; ++i) model->Step();
  QCOMPARE(SpotState(panel, QStringLiteral("F1")), QStringLiteral("gedrückt"));
  QCOMPARE(SpotState(panel, QStringLiteral("LED1")), QStringLiteral("ein"));
  QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, onKey);  // press and release: toggles twice
  QVERIFY(panel->KeyShownPressed(1));
  // Auto-repeat of F2 does nothing more.
  QTest::keyPress(panel, Qt::Key_F2);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(panel, &repeat);
  QVERIFY(panel->KeyShownPressed(2));
  QTest::keyRelease(panel, Qt::Key_F2);
  QVERIFY(!panel->KeyShownPressed(2));
  QVERIFY(In().PortLevel[9]);
  QCOMPARE(ui.Count("ShowHelp"), 0);
  Shot(panel, QStringLiteral("keys"));
}

void SimPanelsTest::keyPanelPopupMenuAndHelp() {
  RecordingUserInterface ui;
  TKeyLEDForm panel(model.get());
  panel.show();
  In().FixedDigitalIn = 0x0F3F;
  QTest::keyClick(&panel, Qt::Key_F3, Qt::ShiftModifier);
  QVERIFY(panel.KeyShownPressed(3));
  panel.AsInitialAction()->trigger();
  // Bits 8..11 are the levels after a reset: the pressed key 3 starts at 0.
  QCOMPARE(In().FixedDigitalIn, uint16_t{0x0B3F});
  QVERIFY(In().FixedDigitalInChanged);
  panel.AllOnAction()->trigger();
  for (size_t i = 8; i < 12; ++i) QVERIFY(!In().PortLevel[i]);
  QVERIFY(!panel.KeyShownPressed(1));  // the pictures stay
  panel.AllOffAction()->trigger();
  for (size_t i = 8; i < 12; ++i) QVERIFY(In().PortLevel[i] && In().PortChanged[i]);
  // F1 is a key here; Ctrl+F1 is the help.
  QTest::keyClick(&panel, Qt::Key_F1, Qt::ControlModifier);
  QCOMPARE(ui.Texts("ShowHelp"), QStringList{QStringLiteral("17000")});
}

void SimPanelsTest::analogDisplayFormats_data() {
  QTest::addColumn<int>("bar");
  QTest::addColumn<int>("value");
  QTest::addColumn<QString>("text");
  QTest::newRow("A 7") << 0 << 7 << "0,07";
  QTest::newRow("A 5") << 1 << 5 << "0,05";
  QTest::newRow("A 255") << 3 << 255 << "2,55";
  QTest::newRow("A 0") << 2 << 0 << "0,00";
  QTest::newRow("T 0") << 4 << 0 << "-25,0";
  QTest::newRow("T 49") << 5 << 49 << "-0,5";
  QTest::newRow("T 50") << 4 << 50 << "0,0";
  QTest::newRow("T 255") << 5 << 255 << "102,5";
  QTest::newRow("U 100") << 6 << 100 << "100";
  QTest::newRow("f 30000") << 8 << 30000 << "30000";
}

void SimPanelsTest::analogDisplayFormats() {
  QFETCH(int, bar);
  QFETCH(int, value);
  QFETCH(QString, text);
  TAnalogPortForm panel(model.get());
  panel.Bar(bar)->SetValue(value);
  QCOMPARE(panel.ValueText(bar), text);
  QCOMPARE(TAnalogPortForm::FormatValue(bar, value), text);
}

void SimPanelsTest::analogBarKeysMouseAndLimits() {
  TAnalogPortForm panel(model.get());
  panel.show();
  TMarlixAnalogBar* f = panel.Bar(TAnalogPortForm::kFrequencyBar);
  QCOMPARE(f->accessibleName(), QStringLiteral("f"));
  QCOMPARE(f->Value(), 4200);
  QTest::keyClick(f, Qt::Key_Right, Qt::ControlModifier);
  QCOMPARE(f->Value(), 4300);
  QTest::keyClick(f, Qt::Key_Down);
  QCOMPARE(f->Value(), 4299);
  QTest::keyClick(f, Qt::Key_Left, Qt::ControlModifier);
  QCOMPARE(f->Value(), 4199);
  QTest::keyClick(f, Qt::Key_Up);
  QCOMPARE(f->Value(), 4200);
  QCOMPARE(int{In().Frequency}, 4200);
  QVERIFY(In().FrequencyChanged);
  QTest::keyClick(f, Qt::Key_End);
  QCOMPARE(f->Value(), 30000);
  QTest::keyClick(f, Qt::Key_Right);
  QCOMPARE(f->Value(), 30000);
  QTest::keyClick(f, Qt::Key_Home);
  QCOMPARE(f->Value(), 0);
  QTest::keyClick(f, Qt::Key_Left, Qt::ControlModifier);
  QCOMPARE(f->Value(), 0);
  QCOMPARE(f->accessibleDescription(), QStringLiteral("0 Hz"));
  QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(f);
  QCOMPARE(slider->role(), QAccessible::Slider);
  QCOMPARE(slider->text(QAccessible::Name), QStringLiteral("f"));
  QCOMPARE(slider->valueInterface()->maximumValue().toInt(), 30000);
  slider->valueInterface()->setCurrentValue(100);
  QCOMPARE(int{In().Frequency}, 100);
  QCOMPARE(slider->valueInterface()->currentValue().toInt(), 100);

  // Dragging the thumb of A1: a press off the thumb does nothing.
  TMarlixAnalogBar* a1 = panel.Bar(0);
  a1->SetValue(0);
  const int w = a1->width() - 8;
  QTest::mousePress(a1, Qt::LeftButton, Qt::NoModifier, QPoint(60, 9));
  QCOMPARE(a1->Value(), 0);
  QTest::mouseRelease(a1, Qt::LeftButton, Qt::NoModifier, QPoint(60, 9));
  QVERIFY(a1->InThumb(QPoint(4, 9)));
  QTest::mousePress(a1, Qt::LeftButton, Qt::NoModifier, QPoint(4, 9));
  QTest::mouseMove(a1, QPoint(4 + w / 2, 9));
  QCOMPARE(a1->Value(), 128);
  QTest::mouseMove(a1, QPoint(500, 9));  // clamped to the bar's end
  QCOMPARE(a1->Value(), 255);
  QTest::mouseRelease(a1, Qt::LeftButton, Qt::NoModifier, QPoint(500, 9));
  QCOMPARE(a1->Position(), w);
  QCOMPARE(int{In().AdcValue[0]}, 255);
  QCOMPARE(panel.ValueText(0), QStringLiteral("2,55"));

  // Limits clamp the value, and every change is reported.
  TMarlixAnalogBar bar;
  QSignalSpy spy(&bar, &TMarlixAnalogBar::changed);
  bar.SetValue(150);
  QCOMPARE(bar.Value(), 100);
  bar.SetMaxValue(50);
  QCOMPARE(bar.Value(), 50);
  bar.SetMinValue(60);
  QCOMPARE(bar.Value(), 60);
  bar.SetValue(60);
  QCOMPARE(spy.count(), 3);
}

void SimPanelsTest::analogPanelHandsValuesToTheEngine() {
  RecordingUserInterface ui;
  const int32_t cell = NewCell(*model, QStringLiteral("A"));
  mt::Place(*model, cell, 1000, 200, 0, QStringLiteral("A"));
  QVERIFY(Compile(*model));
  auto* panel = qobject_cast<TAnalogPortForm*>(frame->ShowWindow(QStringLiteral("TAnalogPortForm")));
  QVERIFY(panel);
  QCOMPARE(panel->size(), QSize(192, 242));
  // The bars show the values at the first showing.
  QCOMPARE(panel->Bar(4)->Value(), 96);
  QCOMPARE(panel->ValueText(4), QStringLiteral("23,0"));
  panel->Bar(2)->setFocus();
  QTest::keyClick(panel->Bar(2), Qt::Key_End);
  QTest::keyClick(panel->Bar(8), Qt::Key_Right, Qt::ControlModifier);
  model->RunCommand(cmd::kRun);
  model->Step();
  QCOMPARE(PlexorGetADC(model->Engine(), 2), 255);
  QCOMPARE(PlexorGetFreq(model->Engine()), 4300);
  QVERIFY(!In().AdcChanged[2]);
  panel->Bar(5)->SetValue(255);  // the widest value text, 102,5
  panel->Bar(8)->SetValue(30000);
  Shot(panel, QStringLiteral("analog"));
}

void SimPanelsTest::toolWindowsComeBackOnScreen_data() {
  const QRect s = QGuiApplication::primaryScreen()->geometry();
  QTest::addColumn<QRect>("saved");
  QTest::addColumn<QRect>("shown");
  QTest::newRow("on screen") << QRect(100, 50, 192, 73) << QRect(100, 50, 192, 73);
  QTest::newRow("left of it") << QRect(-500, 40, 192, 73) << QRect(0, 40, 192, 73);
  QTest::newRow("right of it") << QRect(s.width() + 300, 40, 192, 73) << QRect(s.width() - 192, 40, 192, 73);
  QTest::newRow("far below") << QRect(20, s.height() + 5000, 192, 73) << QRect(20, s.height() - 73, 192, 73);
  QTest::newRow("above") << QRect(20, -900, 192, 73) << QRect(20, 0, 192, 73);
  QTest::newRow("partly off stays") << QRect(-50, 10, 192, 73) << QRect(-50, 10, 192, 73);
}

void SimPanelsTest::toolWindowsComeBackOnScreen() {
  QFETCH(QRect, saved);
  QFETCH(QRect, shown);
  TStationSettings::Current().windows[TStationSettings::kDigitalPortWindow].rect = TRect::FromQRect(saved);
  TDigitalPortForm panel(model.get());
  panel.show();
  QCOMPARE(panel.geometry(), shown);
  // The rectangle it now has is the one kept for the settings.
  QCOMPARE(TStationSettings::Current().windows[TStationSettings::kDigitalPortWindow].rect, TRect::FromQRect(shown));
  QVERIFY(TStationSettings::Current().windows[TStationSettings::kDigitalPortWindow].visible);
  panel.move(panel.pos() + QPoint(7, 3));
  QCOMPARE(TStationSettings::Current().windows[TStationSettings::kDigitalPortWindow].rect, TRect::FromQRect(panel.geometry()));
}

void SimPanelsTest::panelsAtMostOnceAndPictures() {
  const QRect s = QGuiApplication::primaryScreen()->geometry();
  // Absurd sizes of a resizable tool window: never invisible or unusable.
  struct Case {
    TRect saved;
    bool moved;
  };
  for (const Case& c : {Case{TRect{10, 10, 10, 10}, false}, Case{TRect{50, 60, 40, 20}, false},
                        Case{TRect{-100000, -100000, 100000, 100000}, true}, Case{TRect{5, 5, 6, 6}, true}}) {
    TToolWindow w(model.get());
    w.resize(200, 100);
    w.move(30, 30);
    w.RestorePlacement(c.saved);
    QVERIFY(w.width() >= 32 && w.height() >= 32);
    QVERIFY(w.width() <= s.width() && w.height() <= s.height());
    QVERIFY(s.intersects(w.geometry()));
    if (!c.moved) QCOMPARE(w.geometry(), QRect(30, 30, 200, 100));
  }
  // One of each through the frame; closing frees it.
  QWidget* a = frame->ShowWindow(QStringLiteral("TKeyLEDForm"));
  QCOMPARE(frame->ShowWindow(QStringLiteral("TKeyLEDForm")), a);
  QCOMPARE(TWindowFactory::KindOf(QStringLiteral("TKeyLEDForm")), TWindowFactory::Kind::Tool);
  QCOMPARE(TWindowFactory::KindOf(QStringLiteral("TWatchForm")), TWindowFactory::Kind::Document);
  QPointer<QWidget> guard(a);
  a->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(guard.isNull());
  QVERIFY(!TStationSettings::Current().windows[TStationSettings::kKeyboardLEDWindow].visible);
  // The pictures: 12 x 12 LEDs with transparent corners; lit differs from dark.
  using simpictures::LedColor;
  for (LedColor c : {LedColor::Green, LedColor::Red, LedColor::Yellow}) {
    const QImage lit = simpictures::Led(c, true).toImage();
    const QImage dark = simpictures::Led(c, false).toImage();
    QCOMPARE(lit.size(), QSize(12, 12));
    QCOMPARE(qAlpha(lit.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(lit.pixel(6, 6)), 255);
    QVERIFY(lit.pixel(6, 6) != dark.pixel(6, 6));
  }
  // At 200 % the pictures have twice the pixels for the same logical size,
  // and nothing of them is magenta: their background is transparent.
  auto magenta = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        n += c.alpha() > 0 && c.red() > 200 && c.blue() > 200 && c.green() < 80;
      }
    return n;
  };
  for (qreal dpr : {1.0, 2.0}) {
    const QPixmap& keyboard = simpictures::Keyboard(dpr);
    QCOMPARE(keyboard.size(), QSize(simpictures::kKeyboardWidth, simpictures::kKeyboardHeight) * dpr);
    QCOMPARE(keyboard.deviceIndependentSize(), QSizeF(simpictures::kKeyboardWidth, simpictures::kKeyboardHeight));
    const QImage image = keyboard.toImage();
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(magenta(image), 0);
    const QImage led = simpictures::Led(LedColor::Yellow, false, dpr).toImage();
    QCOMPARE(led.size(), QSize(12, 12) * dpr);
    QCOMPARE(qAlpha(led.pixel(0, 0)), 0);
    QCOMPARE(magenta(led), 0);
  }
  // The key panel as shown: the window's own background at the corners.
  QWidget* keys = frame->ShowWindow(QStringLiteral("TKeyLEDForm"));
  const QImage shot = keys->grab().toImage();
  shot.save(QStringLiteral("keyled-panel.png"));
  QCOMPARE(magenta(shot), 0);
  QCOMPARE(shot.pixelColor(0, 0), keys->palette().color(QPalette::Window));
}

QTEST_MAIN(SimPanelsTest)
#include "SimPanelsTest.moc"
