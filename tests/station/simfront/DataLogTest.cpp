// The data-log view against a real project and engine: layout numbers,
// colours of old and new values, refresh, hexadecimal switch, export.
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "Commands.h"
#include "EngineText.h"
#include "ProjectBuilder.h"
#include "RecordingUserInterface.h"
#include "TDataLogChart.h"
#include "TPlexorFileForm.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TStationSettings.h"
#include "TTarvixPlusModel.h"

namespace {

void EnsureApp() {
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "datalog_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// Value i of the test programs' logs: 1000 i - 5, so the first is 0xFFFB.
uint16_t LoggedValue(int i) { return static_cast<uint16_t>(i * 1000 - 5); }

class DataLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    TStationSettings::Current() = TStationSettings::Defaults(QStringLiteral("/tmp"));
    m = std::make_unique<TTarvixPlusModel>();
  }
  void TearDown() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // One cell that opens the data file, writes count values and closes it.
  void CompileLogger(int count) {
    m->NewCell(-1);
    const int32_t cell = m->Cells().back()->CellId();
    mt::Place(*m, cell, 800, 0, 0);
    for (int i = 0; i < count; ++i) {
      TBlock* value = mt::Place(*m, cell, 700, 0, 500 * (i + 1), QString::number(static_cast<int16_t>(LoggedValue(i))));
      mt::Connect(*m, *value, *mt::Place(*m, cell, 803, 500, 500 * (i + 1)));
    }
    mt::Place(*m, cell, 805, 0, 500 * (count + 1));
    PlexorHandle e = m->Engine();
    ASSERT_TRUE(PlexorCompilerInit(e));
    ASSERT_EQ(PlexorCompile(e), 0) << PlexorGetErrorMessage(e);
    ASSERT_TRUE(PlexorCompilerDone(e)) << PlexorGetErrorMessage(e);
    m->SetCompiled(true);
  }
  // Single steps until the log has grown by one value.
  void StepOneValue() {
    const int before = m->DataFileLength();
    for (int i = 0; i < 10 && m->DataFileLength() == before; ++i) {
      m->RunCommand(cmd::kSingleStep);
      m->Step();
    }
    ASSERT_EQ(m->DataFileLength(), before + 1);
  }
  void StepValues(int count) {
    for (int i = 0; i < count; ++i) ASSERT_NO_FATAL_FAILURE(StepOneValue());
  }
  // Runs the program to its end; what it logged stays.
  void RunToEnd() {
    const int logged = m->DataFileLength();
    m->RunCommand(cmd::kRun);
    for (int i = 0; i < 500 && m->Step(); ++i) {
    }
    ASSERT_EQ(m->SimState(), TSimState::Ready);
    ASSERT_EQ(m->DataFileLength(), logged);
  }
  // Number of pixels of a colour inside a rectangle of the grid's viewport.
  static int PixelsOf(TDataLogGrid* grid, QRect area, QColor color) {
    const QImage image = grid->viewport()->grab().toImage();
    int n = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
      for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
        const QColor p = image.pixelColor(x, y);
        // Glyph edges are blended with the background: count the pixels
        // that carry the colour itself.
        n += std::abs(p.red() - color.red()) + std::abs(p.green() - color.green()) + std::abs(p.blue() - color.blue()) < 24;
      }
    return n;
  }

  RecordingUserInterface ui;
  std::unique_ptr<TTarvixPlusModel> m;
};

TEST(DataLogLayout, ValuesPerRowRowsAndFormats) {
  struct Case {
    int charWidth, width;
    bool hex;
    int length, perRow, rows;
  };
  const Case cases[] = {
      // n = (W - 4c - 10) div (c k)
      {8, 400, false, 20, 6, 4}, {8, 400, true, 20, 8, 3},  {8, 800, false, 20, 13, 2}, {8, 800, true, 20, 18, 2},
      {7, 640, false, 0, 12, 1}, {7, 640, true, 4096, 17, 241}, {8, 30, false, 3, 1, 3},  {8, -5, true, 1, 1, 1},
  };
  for (const Case& c : cases) {
    TDataLogLayout layout{c.charWidth, c.width, c.hex, c.length};
    EXPECT_EQ(layout.ValuesPerRow(), c.perRow) << c.width << (c.hex ? " hex" : " dec");
    EXPECT_EQ(layout.Rows(), c.rows) << c.width << (c.hex ? " hex" : " dec");
  }
  EXPECT_EQ(TDataLogLayout::FormatIndex(12), "  12");
  EXPECT_EQ(TDataLogLayout::FormatValue(0xFFFB, false), "  65531");
  EXPECT_EQ(TDataLogLayout::FormatValue(0xFFFB, true), " fffb");
  EXPECT_EQ(TDataLogLayout::FormatValue(0x12, true), " 0012");
  EXPECT_EQ(TDataLogLayout::FormatValue(7, false), "      7");
}

TEST_F(DataLogTest, LayoutFollowsWidthAndHexOutput) {
  CompileLogger(40);
  StepValues(40);
  TPlexorFileForm form(m.get());
  form.show();
  TDataLogGrid* grid = form.Grid();
  const int c = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('8'));
  ASSERT_GT(c, 3);
  int previous = 0;
  for (int width : {300, 700}) {
    for (bool hex : {false, true}) {
      SCOPED_TRACE(QStringLiteral("%1 %2").arg(width).arg(hex ? "hex" : "dec").toStdString());
      form.SetHexOutput(hex);
      form.resize(width, 160);
      QApplication::processEvents();
      const int w = grid->viewport()->width();
      const int k = hex ? 5 : 7;
      const TDataLogLayout layout = grid->Layout();
      EXPECT_EQ(layout.ValuesPerRow(), std::max(1, (w - 4 * c - 10) / (c * k)));
      EXPECT_EQ(layout.Rows(), (40 + layout.ValuesPerRow() - 1) / layout.ValuesPerRow());
      EXPECT_GT(layout.ValuesPerRow(), previous);  // wider or hexadecimal: more per row
      previous = layout.ValuesPerRow();
      // The last value of a row ends inside the window, one more would not fit.
      EXPECT_LE(layout.ValuesX() + layout.ValuesPerRow() * c * k, w);
      EXPECT_GT(layout.ValuesX() + (layout.ValuesPerRow() + 1) * c * k, w - 10);
      form.grab().save(QStringLiteral("datalog-%1-%2.png").arg(width).arg(hex ? "hex" : "dec"));
    }
  }
  EXPECT_TRUE(TStationSettings::Current().dataHexOutput);
}

TEST_F(DataLogTest, NewValuesInTheNewColourOnlyUntilTheNextChange) {
  CompileLogger(3);
  auto* form = new TPlexorFileForm(m.get());
  QPointer<TPlexorFileForm> guard(form);
  form->resize(400, 160);
  form->show();
  TDataLogGrid* grid = form->Grid();
  const QRect row0 = grid->RowRect(0);
  const QRect values(row0.left() + grid->Layout().ValuesX(), row0.top(), row0.width(), row0.height());
  EXPECT_GT(PixelsOf(grid, row0, grid->OldColor()), 0);  // "Keine Daten aufgezeichnet"
  EXPECT_EQ(grid->accessibleDescription(), "Keine Daten aufgezeichnet");

  StepOneValue();  // first refresh: value 0 is new
  EXPECT_EQ(grid->ValueColor(0), grid->NewColor());
  EXPECT_GT(PixelsOf(grid, values, grid->NewColor()), 0);
  EXPECT_EQ(PixelsOf(grid, values, grid->OldColor()), 0);
  EXPECT_GT(PixelsOf(grid, row0, grid->IndexColor()), 0);
  StepOneValue();  // second refresh: value 0 old, value 1 new
  EXPECT_EQ(grid->ValueColor(0), grid->OldColor());
  EXPECT_EQ(grid->ValueColor(1), grid->NewColor());
  EXPECT_GT(PixelsOf(grid, values, grid->OldColor()), 0);
  EXPECT_GT(PixelsOf(grid, values, grid->NewColor()), 0);
  EXPECT_EQ(grid->LastRepaintedRows(), qMakePair(0, 0));
  form->grab().save("datalog-colours.png");
  // Without a model the view shows the empty-log text, then closes.
  m.reset();
  ASSERT_FALSE(guard.isNull());
  EXPECT_EQ(grid->Layout().length, 0);
  EXPECT_GT(PixelsOf(grid, row0, grid->OldColor()), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
}

TEST_F(DataLogTest, RefreshScrollsToTheLastRowAndRepaintsOnlyChangedRows) {
  CompileLogger(30);
  TPlexorFileForm form(m.get());
  form.resize(300, 120);
  form.show();
  TDataLogGrid* grid = form.Grid();
  StepValues(30);
  EXPECT_EQ(grid->ShownCount(), 29);
  EXPECT_EQ(grid->ValueColor(28), grid->OldColor());
  EXPECT_EQ(grid->ValueColor(29), grid->NewColor());
  const int perRow = grid->Layout().ValuesPerRow();
  EXPECT_EQ(grid->LastRepaintedRows(), qMakePair(28 / perRow, 29 / perRow));
  QScrollBar* bar = grid->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  form.grab().save("datalog-scrolled.png");
  // The end of the program keeps the log on view.
  RunToEnd();
  EXPECT_EQ(grid->Layout().length, 30);
  EXPECT_EQ(bar->value(), bar->maximum());
  // A reset by the user starts from an empty file: every row goes.
  m->RunCommand(cmd::kReset);
  EXPECT_EQ(grid->LastRepaintedRows(), qMakePair(0, 29 / perRow));
  EXPECT_EQ(bar->maximum(), 0);
  EXPECT_GT(PixelsOf(grid, grid->RowRect(0), grid->OldColor()), 0);
}

// Simulated time that passes only when the run control sleeps, so a
// program's pauses take no real time.
class FastClock : public TSimulationHost {
 public:
  int64_t Milliseconds() override { return now_; }
  void Sleep(int milliseconds) override { now_ += milliseconds; }

 private:
  int64_t now_ = 0;
};

// The example the view is shown with: ten measurements, "Messung beendet",
// the end of the program; the view opened afterwards shows all ten.
TEST_F(DataLogTest, TheLoggersValuesAreShownAfterItsEnd) {
  FastClock clock;
  TSimulationHost::SetCurrent(&clock);
  ASSERT_TRUE(m->Open(QStringLiteral(VORBLEN_EXAMPLES "/logger.tvp")));
  ASSERT_TRUE(m->LoadTableData());
  PlexorHandle e = m->Engine();
  ASSERT_TRUE(PlexorCompilerInit(e));
  ASSERT_EQ(PlexorCompile(e), 0) << PlexorGetErrorMessage(e);
  for (const auto& table : m->Tables())
    ASSERT_TRUE(PlexorLoadTable(e, enginetext::ToBytes(table->Name).c_str(),
                                enginetext::ToBytes(TTarvixPlusModel::TableText(*table)).c_str()));
  ASSERT_TRUE(PlexorCompilerDone(e)) << PlexorGetErrorMessage(e);
  m->ReleaseTableData();
  m->SetCompiled(true);
  TSimulatedInputs& in = TSimulatedInputs::Current();
  in.AdcValue[0] = 120;  // 40.0 degrees through the table
  in.AdcChanged[0] = true;
  m->RunCommand(cmd::kRun);
  for (int i = 0; i < 100000 && m->IsSimulating(); ++i) m->StepOrSleep();
  TSimulationHost::SetCurrent(nullptr);
  ASSERT_EQ(m->SimState(), TSimState::Ready);  // the program ended
  ASSERT_EQ(m->DataFileLength(), 10);
  EXPECT_EQ(m->DataFileValue(9), 400);

  TPlexorFileForm form(m.get());
  form.resize(460, 240);
  form.show();
  TDataLogGrid* grid = form.Grid();
  EXPECT_EQ(grid->Layout().length, 10);
  EXPECT_EQ(grid->accessibleDescription(), QStringLiteral("10 Werte aufgezeichnet"));
  EXPECT_GT(PixelsOf(grid, grid->RowRect(0).adjusted(grid->Layout().ValuesX(), 0, 0, 0), grid->NewColor()), 0);
  form.grab().save("datalog-logger.png");
}

TEST_F(DataLogTest, ContextMenuExportChartHelpAndPlacement) {
  TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect = TRect{30, 40, 530, 340};
  CompileLogger(5);
  StepValues(5);
  auto* form = new TPlexorFileForm(m.get());
  QPointer<TPlexorFileForm> guard(form);
  form->show();
  EXPECT_EQ(form->geometry(), QRect(30, 40, 500, 300));
  EXPECT_EQ(form->windowTitle(), "Tarvix Datenaufzeichnung");
  EXPECT_EQ(form->HelpContext(), 14000);

  QStringList names;
  for (QAction* a : form->ContextMenu()->actions())
    if (!a->isSeparator()) names << a->text().remove('&');
  EXPECT_EQ(names, (QStringList{"Hexadezimale Ausgabe", "Exportieren...", "Diagramm..."}));
  const int decimalPerRow = form->Grid()->Layout().ValuesPerRow();
  form->ContextMenu()->actions()[0]->trigger();
  EXPECT_TRUE(form->Grid()->Hex());
  EXPECT_TRUE(TStationSettings::Current().dataHexOutput);
  EXPECT_GT(form->Grid()->Layout().ValuesPerRow(), decimalPerRow);

  QTemporaryDir dir;
  const QString file = dir.filePath("log.csv");
  RecordingUserInterface::Reply reply;
  reply.text = file;
  ui.replies.push_back(reply);
  form->ContextMenu()->actions()[2]->trigger();
  QFile csv(file);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll(), QByteArray("Index;Wert;Hex\r\n0;65531;fffb\r\n1;995;03e3\r\n2;1995;07cb\r\n3;2995;0bb3\r\n4;3995;0f9b\r\n"));
  EXPECT_FALSE(form->ExportCsv(dir.filePath("missing/dir/log.csv")));
  EXPECT_EQ(ui.Count("ErrorBox"), 1);

  auto* chart = static_cast<TDataLogChart*>(form->ShowChart());
  EXPECT_EQ(chart->windowTitle(), "Datenaufzeichnung - Diagramm");
  EXPECT_EQ(chart->PointOf(0).y(), chart->PlotArea().top());     // 65531 is the largest
  EXPECT_EQ(chart->PointOf(1).y(), chart->PlotArea().bottom());  // 995 the smallest
  chart->grab().save("datalog-chart.png");

  QTest::keyClick(form->Grid(), Qt::Key_F1);
  EXPECT_EQ(ui.Texts("ShowHelp"), QStringList{"14000"});

  form->setGeometry(50, 60, 400, 200);
  form->close();
  const TRect stored = TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect;
  EXPECT_EQ(stored.left, 50);
  EXPECT_EQ(stored.top, 60);
  EXPECT_EQ(stored.Width(), 400);
  EXPECT_EQ(stored.Height(), 200);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
}

}  // namespace
