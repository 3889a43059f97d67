// The terminal, the watch window, the input dialog and the trend view,
// driven with synthesized events against a real model and engine.
#include <QAccessible>
#include <QClipboard>
#include <QHeaderView>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>

#include "Commands.h"
#include "SimFrontTestSupport.h"
#include "TAnalogPortForm.h"
#include "TMarlixAnalogBar.h"
#include "TTerminalForm.h"
#include "TTrendView.h"
#include "TWatchForm.h"

using namespace sft;

class SimWindowsTest : public QObject {
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

  void terminalShowsEveryLineAndFollowsTheLast();
  void terminalCommandsCopyAndClear();
  void watchRowsEditingAndRemoval();
  void watchEditOfAnAnalogInputMovesItsBar();
  void inputDialogRefusesNonNumbersAndCancelHalts();
  void trendSamplesMatchTheWatchedValues();
  void trendKeepsTheLastSamples();
  void documentWindowsKeepTheirPlacement();

 private:
  // A cell printing "n<TAB>x" lines with a counter and jumping to itself.
  int32_t BuildCounter() {
    const int32_t cell = mt::AddCounterCell(*model);
    mt::Place(*model, cell, 1000, 300, 300, model->FindCell(cell)->Name());
    return cell;
  }
  TBlock* WordBlock(int32_t cell) { return FirstOfType(*model, cell, 602); }

  std::unique_ptr<TTarvixPlusModel> model;
  std::unique_ptr<TestFrame> frame;
  PanelHost host;
};

void SimWindowsTest::terminalShowsEveryLineAndFollowsTheLast() {
  RecordingUserInterface ui;
  BuildCounter();
  QVERIFY(Compile(*model));
  model->RunCommand(cmd::kRun);
  for (int i = 0; i < 10 && !frame->FindWindow(QStringLiteral("TTerminalForm")); ++i) model->Step();
  auto* terminal = qobject_cast<TTerminalForm*>(frame->FindWindow(QStringLiteral("TTerminalForm")));
  QVERIFY2(terminal, "the first output opens the terminal");
  QCOMPARE(terminal->windowTitle(), QStringLiteral("Tarvix Ausgaben"));
  terminal->resize(300, 120);
  QCoreApplication::processEvents();
  for (int i = 0; i < 60; ++i) model->Step();
  QCoreApplication::processEvents();
  // Every line is a row whose accessible text is the line.
  QCOMPARE(terminal->ShownLines(), model->TerminalLines());
  QVERIFY(model->TerminalLines().size() > 20);
  QCOMPARE(model->TerminalLines().first(), QStringLiteral("1"));
  // The last line is in view.
  QListView* view = terminal->View();
  const QModelIndex last = view->model()->index(view->model()->rowCount() - 1, 0);
  QVERIFY(view->viewport()->rect().intersects(view->visualRect(last)));
  QVERIFY(!view->viewport()->rect().intersects(view->visualRect(view->model()->index(0, 0))));
  Shot(terminal, QStringLiteral("terminal"));
  // What assistive technology reads: one list item per line.
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
  QVERIFY(list);
  QCOMPARE(list->childCount(), static_cast<int>(model->TerminalLines().size()));
  QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("1"));
  QCOMPARE(list->child(list->childCount() - 2)->text(QAccessible::Name), model->TerminalLines().at(model->TerminalLines().size() - 2));

  // Past 1000 lines the oldest go; the view shows what the model keeps, to its last line.
  for (int i = 0; i < 3000 && model->TerminalLines().first() == QStringLiteral("1"); ++i) model->Step();
  for (int i = 0; i < 20; ++i) model->Step();
  QCoreApplication::processEvents();
  // At most 1000 full lines and the one being written (a batch may end
  // between the number and its line end when its slice is used up).
  QVERIFY(model->TerminalLines().size() >= qsizetype{TTarvixPlusModel::kMaxTerminalLines});
  QVERIFY(model->TerminalLines().size() <= qsizetype{TTarvixPlusModel::kMaxTerminalLines} + 1);
  QCOMPARE(terminal->ShownLines(), model->TerminalLines());
  const QModelIndex newLast = view->model()->index(view->model()->rowCount() - 1, 0);
  QVERIFY(view->viewport()->rect().intersects(view->visualRect(newLast)));
}

void SimWindowsTest::terminalCommandsCopyAndClear() {
  RecordingUserInterface ui;
  auto* terminal = qobject_cast<TTerminalForm*>(frame->ShowWindow(QStringLiteral("TTerminalForm")));
  QVERIFY(terminal);
  // No lines: one empty row, nothing to copy or clear.
  QCOMPARE(terminal->ShownLines(), QStringList{QString()});
  QVERIFY(!terminal->IsCommandEnabled(cmd::kCopy));
  QVERIFY(!terminal->IsCommandEnabled(cmd::kClearContents));
  BuildCounter();
  QVERIFY(Compile(*model));
  model->RunCommand(cmd::kRun);
  for (int i = 0; i < 8; ++i) model->Step();
  QVERIFY(terminal->IsCommandEnabled(cmd::kCopy));
  QVERIFY(terminal->IsCommandEnabled(cmd::kClearContents));
  terminal->DoCommand(cmd::kCopy, nullptr);
  QCOMPARE(QGuiApplication::clipboard()->text(), model->TerminalLines().join(QStringLiteral("\r\n")));
  terminal->DoCommand(cmd::kClearContents, nullptr);
  QVERIFY(model->TerminalLines().isEmpty());
  QCOMPARE(terminal->ShownLines(), QStringList{QString()});
  QVERIFY(!terminal->IsCommandEnabled(cmd::kCopy));
}

void SimWindowsTest::watchRowsEditingAndRemoval() {
  RecordingUserInterface ui;
  const int32_t cell = BuildCounter();
  QVERIFY(Compile(*model));
  model->AddWatch(WordBlock(cell)->Id());
  auto* watch = qobject_cast<TWatchForm*>(frame->FindWindow(QStringLiteral("TWatchForm")));
  QVERIFY2(watch, "the first watch opens the watch window");
  QCOMPARE(watch->windowTitle(), QStringLiteral("Überwachte Variablen"));
  const QString name = model->Watches()[0].Name;
  QCOMPARE(watch->ShownRows(), QStringList{name + QStringLiteral(": 0")});
  QCOMPARE(watch->CurrentRow(), 0);
  // The same variable again only makes its row current.
  model->AddWatch(WordBlock(cell)->Id());
  QCOMPARE(model->Watches().size(), size_t{1});

  // Single steps refresh the values.
  for (int i = 0; i < 3; ++i) {
    model->RunCommand(cmd::kSingleStep);
    model->Step();
  }
  const int32_t counted = PlexorGetValue(model->Engine(), model->Watches()[0].MapCode);
  QVERIFY(counted > 0);
  QCOMPARE(watch->ShownRows(), QStringList{name + QStringLiteral(": ") + QString::number(counted)});
  QVERIFY(model->Watches()[0].Changed);

  // Enter opens the box preset with the value; a non-number beeps and changes nothing.
  watch->View()->setFocus();
  QString preset;
  OnModal([&](QWidget* box) {
    preset = box->findChild<QLineEdit*>()->text();
    QCOMPARE(box->windowTitle(), QStringLiteral("Variable ändern"));
    TypeAndPress(box, QStringLiteral("zwanzig"), QStringLiteral("OK"));
  });
  QTest::keyClick(watch->View(), Qt::Key_Return);
  QCOMPARE(preset, QString::number(counted));
  QCOMPARE(ui.Count("Beep"), 1);
  QCOMPARE(PlexorGetValue(model->Engine(), model->Watches()[0].MapCode), counted);

  // An out-of-range number is refused the same way.
  OnModal([&](QWidget* box) { TypeAndPress(box, QStringLiteral("70000"), QStringLiteral("OK")); });
  watch->DoCommand(cmd::kEditWatchValue, nullptr);
  QCOMPARE(ui.Count("Beep"), 2);
  QCOMPARE(model->Watches()[0].Value, counted);

  // A double click and a number: the engine takes it, the row shows it.
  OnModal([&](QWidget* box) { TypeAndPress(box, QStringLiteral("1234"), QStringLiteral("OK")); });
  const QModelIndex row = watch->View()->model()->index(0, 0);
  const QPoint at = watch->View()->visualRect(row).center();
  // A real double click: press and release, then the second press.
  QTest::mouseClick(watch->View()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(watch->View()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QCOMPARE(PlexorGetValue(model->Engine(), model->Watches()[0].MapCode), 1234);
  QCOMPARE(watch->ShownRows(), QStringList{name + QStringLiteral(": 1234")});
  QCOMPARE(QAccessible::queryAccessibleInterface(watch->View())->child(0)->text(QAccessible::Name), name + QStringLiteral(": 1234"));
  QVERIFY(model->Watches()[0].Changed);
  QCOMPARE(ui.Count("Beep"), 2);
  // The program continues from the new value.
  model->RunCommand(cmd::kSingleStep);
  model->Step();
  QCOMPARE(model->Watches()[0].Value, 1235);

  // The name column keeps its stored width within its limits.
  watch->resize(300, 200);
  watch->SetNameColumnWidth(10);
  QCOMPARE(watch->NameColumnWidth(), TWatchForm::kMinNameWidth);
  watch->SetNameColumnWidth(120);
  QCOMPARE(TStationSettings::Current().watchNameColWidth, 120);
  watch->SetNameColumnWidth(5000);
  QCOMPARE(watch->NameColumnWidth(), 300 - 45);
  watch->SetNameColumnWidth(120);
  Shot(watch, QStringLiteral("watch"));

  // Del removes the entry; the empty list has one empty row and nothing to edit.
  QVERIFY(watch->IsCommandEnabled(cmd::kClear));
  QTest::keyClick(watch->View(), Qt::Key_Delete);
  QVERIFY(model->Watches().empty());
  QCOMPARE(watch->ShownRows(), QStringList{QString()});
  QVERIFY(!watch->IsCommandEnabled(cmd::kClear));
  QVERIFY(!watch->IsCommandEnabled(cmd::kEditWatchValue));
}

void SimWindowsTest::watchEditOfAnAnalogInputMovesItsBar() {
  RecordingUserInterface ui;
  const int32_t cell = NewCell(*model, QStringLiteral("A"));
  TBlock* ad = mt::Place(*model, cell, 124, 0, 0);  // AD1
  TBlock* print = mt::Place(*model, cell, 900, 100, 0, QStringLiteral("2"));
  QVERIFY(mt::Connect(*model, *ad, *print));
  mt::Place(*model, cell, 1000, 200, 0, QStringLiteral("A"));
  QVERIFY(Compile(*model));
  auto* analog = qobject_cast<TAnalogPortForm*>(frame->ShowWindow(QStringLiteral("TAnalogPortForm")));
  QVERIFY(analog);
  QCOMPARE(analog->Bar(0)->Value(), 64);
  model->AddWatch(ad->Id());
  auto* watch = qobject_cast<TWatchForm*>(frame->FindWindow(QStringLiteral("TWatchForm")));
  QVERIFY(watch);
  QCOMPARE(watch->ShownRows(), QStringList{QStringLiteral("AD1: 64")});
  // A byte takes 0..255 only.
  OnModal([&](QWidget* box) { TypeAndPress(box, QStringLiteral("300"), QStringLiteral("OK")); });
  watch->EditCurrent();
  QCOMPARE(ui.Count("Beep"), 1);
  QCOMPARE(analog->Bar(0)->Value(), 64);
  OnModal([&](QWidget* box) { TypeAndPress(box, QStringLiteral("7"), QStringLiteral("OK")); });
  watch->EditCurrent();
  QCOMPARE(watch->ShownRows(), QStringList{QStringLiteral("AD1: 7")});
  QCOMPARE(int{TSimulatedInputs::Current().AdcValue[0]}, 7);
  QVERIFY(TSimulatedInputs::Current().AdcChanged[0]);
  QCOMPARE(analog->Bar(0)->Value(), 7);
  QCOMPARE(analog->ValueText(0), QStringLiteral("0,07"));
  // The other inputs were not touched.
  QVERIFY(!TSimulatedInputs::Current().AdcChanged[1]);
}

void SimWindowsTest::inputDialogRefusesNonNumbersAndCancelHalts() {
  DialogUserInterface ui;
  const int32_t cell = NewCell(*model, QStringLiteral("A"));
  TBlock* in = mt::Place(*model, cell, 901, 0, 0);
  TBlock* print = mt::Place(*model, cell, 900, 100, 0, QStringLiteral("2"));
  QVERIFY(mt::Connect(*model, *in, *print));
  mt::Place(*model, cell, 1000, 200, 0, QStringLiteral("A"));
  QVERIFY(Compile(*model));
  model->RunCommand(cmd::kRun);

  // Letters and an empty field keep the dialog open with a beep.
  int beepsWhileOpen = -1;
  QString title, label;
  OnModal([&](QWidget* dialog) {
    auto* d = qobject_cast<TPlexorInputDialog*>(dialog);
    QVERIFY(d);
    title = d->windowTitle();
    QCOMPARE(d->EValue()->text(), QStringLiteral("0"));
    TypeAndPress(d, QStringLiteral("12a"), QStringLiteral("OK"));
    QVERIFY(d->isVisible());
    QVERIFY(d->EValue()->hasFocus() || QApplication::focusWidget() == d->EValue());
    TypeAndPress(d, QString(), QStringLiteral("OK"));
    QVERIFY(d->isVisible());
    beepsWhileOpen = ui.Count("Beep");
    TypeAndPress(d, QStringLiteral("123"), QStringLiteral("OK"));
  });
  for (int i = 0; i < 10 && ui.inputRequests == 0; ++i) model->Step();
  QCOMPARE(title, QStringLiteral("Eingabewert für Simulator"));
  QCOMPARE(beepsWhileOpen, 2);
  QCOMPARE(model->SimState(), TSimState::Running);
  QVERIFY(model->TerminalLines().join(QString()).contains(QStringLiteral("123")));

  // The next request is preset with the last value; cancel halts the run.
  QString preset;
  OnModal([&](QWidget* dialog) {
    preset = static_cast<TPlexorInputDialog*>(dialog)->EValue()->text();
    TypeAndPress(dialog, QStringLiteral("5"), QStringLiteral("Simulation abbrechen"));
  });
  for (int i = 0; i < 10 && model->SimState() == TSimState::Running; ++i) model->Step();
  QCOMPARE(preset, QStringLiteral("123"));
  QCOMPARE(model->SimState(), TSimState::Halted);
  QCOMPARE(ui.Count("Beep"), 3);
  QCOMPARE(ui.inputRequests, 2);

  // The dialog as the user sees it.
  TPlexorInputDialog dialog;
  dialog.SetValue(77);
  dialog.adjustSize();
  Shot(&dialog, QStringLiteral("inputdialog"));
  QCOMPARE(dialog.EValue()->accessibleName(), QStringLiteral("Eingabewert:"));
}

void SimWindowsTest::trendSamplesMatchTheWatchedValues() {
  RecordingUserInterface ui;
  const int32_t cell = BuildCounter();
  TBlock* ad = mt::Place(*model, cell, 125, 400, 400);  // AD2, a second variable
  QVERIFY(Compile(*model));
  model->AddWatch(WordBlock(cell)->Id());
  model->AddWatch(ad->Id());
  auto* watch = qobject_cast<TWatchForm*>(frame->FindWindow(QStringLiteral("TWatchForm")));
  QVERIFY(watch);
  // A new entry becomes current; one already watched is made current again.
  QCOMPARE(watch->CurrentRow(), 1);
  model->AddWatch(WordBlock(cell)->Id());
  QCOMPARE(watch->CurrentRow(), 0);
  watch->ShowTrend();
  auto* trend = qobject_cast<TTrendView*>(frame->FindWindow(QStringLiteral("TTrendView")));
  QVERIFY2(trend, "the watch window opens the trend");
  model->RunCommand(cmd::kRun);
  const size_t before = trend->Samples().Size();
  const int refreshesBefore = host.refreshes;
  for (int i = 0; i < 40; ++i) model->Step();
  const auto& s = trend->Samples();
  QVERIFY(s.Size() > before);
  QVERIFY(s.Size() - before <= static_cast<size_t>(host.refreshes - refreshesBefore));
  const size_t n = model->Watches().size();
  QCOMPARE(n, size_t{2});
  QCOMPARE(s.AllSeries().size(), n);
  // The last sample holds what the engine holds now, at the driver's step count.
  QCOMPARE(s.TimeAt(s.Size() - 1), model->Simulation().EngineSteps());
  for (size_t i = 0; i < n; ++i) QCOMPARE(s.ValueAt(s.Size() - 1, i), PlexorGetValue(model->Engine(), model->Watches()[i].MapCode));
  // The counter only grows.
  for (size_t i = 1; i < s.Size(); ++i) QVERIFY(s.ValueAt(i, 0) >= s.ValueAt(i - 1, 0));
  trend->update();
  Shot(trend, QStringLiteral("trend"));

  // Paused: no samples.
  QTest::mouseClick(trend->PauseButton(), Qt::LeftButton);
  QVERIFY(trend->Paused());
  const size_t paused = s.Size();
  for (int i = 0; i < 10; ++i) model->Step();
  QCOMPARE(s.Size(), paused);

  // Export: a header and one line per sample.
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("verlauf.csv"));
  RecordingUserInterface::Reply reply;
  reply.text = file;
  ui.replies.push_back(reply);
  QTest::mouseClick(trend->ExportButton(), Qt::LeftButton);
  QFile f(file);
  QVERIFY(f.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = f.readAll().split('\n');
  QCOMPARE(lines.first().trimmed(), QByteArray("Schritt;") + model->Watches()[0].Name.toUtf8() +
                                        (n > 1 ? QByteArray(";") + model->Watches()[1].Name.toUtf8() : QByteArray()));
  QCOMPARE(static_cast<size_t>(lines.size()), s.Size() + 2);  // header, rows, empty after the last CR LF
  // An unwritable file is reported.
  QVERIFY(!trend->ExportCsv(dir.filePath(QStringLiteral("fehlt/verlauf.csv"))));
  QCOMPARE(ui.Count("ErrorBox"), 1);
  // The project closes: the trend lets go of it.
  model.reset();
  QVERIFY(trend->Model() == nullptr);
  QCOMPARE(trend->Samples().Size(), size_t{0});
  trend->RefreshPorts();
}

void SimWindowsTest::trendKeepsTheLastSamples() {
  TTrendSamples s;
  const QString a = QStringLiteral("A"), b = QStringLiteral("B;x");
  for (int t = 0; t < 10005; ++t) {
    std::vector<TTrendSamples::Watched> w{{&a, 1, t}};
    // B is watched from t = 9000 on, in front of A; a ninth and tenth series widen the rows.
    if (t >= 9000) w.insert(w.begin(), {&b, 2, -t});
    if (t == 9500)
      for (int k = 0; k < 9; ++k) w.push_back({&a, 100 + k, k});
    s.Add(t, w);
  }
  QCOMPARE(s.Size(), TTrendSamples::kCapacity);
  QCOMPARE(s.TimeAt(0), int64_t{5});
  QCOMPARE(s.AllSeries().size(), size_t{11});
  QCOMPARE(s.ValueAt(0, 0), 5);
  QCOMPARE(s.ValueAt(0, 1), TTrendSamples::kNoValue);
  QCOMPARE(s.ValueAt(s.Size() - 1, 1), -10004);
  QCOMPARE(s.ValueAt(s.Size() - 1, 0), 10004);
  QCOMPARE(s.ValueAt(9500 - 5, 10), 8);
  QCOMPARE(s.ValueAt(9501 - 5, 10), TTrendSamples::kNoValue);
  int32_t low = 0, high = 0;
  QVERIFY(s.Range(low, high));
  QCOMPARE(low, -10004);
  QCOMPARE(high, 10004);
  const QList<QByteArray> lines = s.ToCsv().split('\n');
  QVERIFY(lines[0].startsWith("Schritt;A;B,x;A"));
  QCOMPARE(lines[1], QByteArray("5;5;;;;;;;;;;\r"));
  // A reset (time going back) starts a new history.
  s.Add(3, {{&a, 1, 7}});
  QCOMPARE(s.Size(), size_t{1});
  QCOMPARE(s.AllSeries().size(), size_t{1});
}

void SimWindowsTest::documentWindowsKeepTheirPlacement() {
  QMdiArea area;
  area.resize(600, 400);
  area.show();
  auto& slot = TStationSettings::Current().windows[TStationSettings::kTerminalWindow];
  slot.rect = TRect{3000, 50, 3300, 250};  // right of the area
  auto* terminal = new TTerminalForm(model.get());
  QMdiSubWindow* sub = area.addSubWindow(terminal);
  sub->show();
  const QSize viewport = area.viewport()->size();
  QCOMPARE(sub->geometry(), QRect(viewport.width() - 300, 50, 300, 200));
  sub->move(20, 30);
  QCOMPARE(slot.rect, TRect::FromQRect(sub->geometry()));
  // A zero-sized or huge stored rectangle still gives a usable window.
  auto& watchSlot = TStationSettings::Current().windows[TStationSettings::kWatchWindow];
  watchSlot.rect = TRect{-5, -5, 100000, 100000};
  QMdiSubWindow* watchSub = area.addSubWindow(new TWatchForm(model.get()));
  watchSub->show();
  QVERIFY(QRect(QPoint(0, 0), viewport).contains(watchSub->geometry().center()));
  QVERIFY(watchSub->width() <= viewport.width() && watchSub->width() >= 100);
}

QTEST_MAIN(SimWindowsTest)
#include "SimWindowsTest.moc"
