// The colour and font dialog as a user meets it: every element of every page
// with the selectors it may use, "Vorgabe", Apply and Cancel on the copy,
// the fixed-pitch font choice, and a change reaching the open windows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>

#include "ApplySettings.h"
#include "CellEditorSettings.h"
#include "TColorOptionsDlg.h"
#include "TMDIChildForm.h"
#include "TToolWindow.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/QtAppEnvironment.h"

namespace {

using S = TStationSettings;

struct PageWidgets {
  QListWidget* elements;
  QComboBox* fore;
  QComboBox* back;
  QLabel* font;
  QPushButton* choose;
};

PageWidgets PageOf(TColorOptionsDlg& dlg, int page) {
  auto* tabs = dlg.findChild<QTabWidget*>();
  tabs->setCurrentIndex(page);
  QWidget* w = tabs->widget(page);
  PageWidgets p{w->findChild<QListWidget*>(), nullptr, nullptr, nullptr, nullptr};
  for (auto* box : w->findChildren<QComboBox*>())
    (box->accessibleName() == QStringLiteral("Vordergrund") ? p.fore : p.back) = box;
  for (auto* label : w->findChildren<QLabel*>())
    if (label->accessibleName() == QStringLiteral("Schriftart")) p.font = label;
  p.choose = w->findChild<QPushButton*>();
  return p;
}

// Picks an entry of a selector with the keyboard, as a user does.
void Pick(QComboBox* box, int index) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(box, Qt::Key_Down);
}

QPushButton* ButtonNamed(QWidget& dlg, const QString& name) {
  for (auto* b : dlg.findChildren<QPushButton*>())
    if (b->accessibleName() == name) return b;
  return nullptr;
}

class ColorOptionsDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { TStationSettings::Current() = TStationSettings::Defaults(QString()); }
  void TearDown() override { TStationSettings::Current() = TStationSettings::Defaults(QString()); }
};

TEST_F(ColorOptionsDlgTest, EveryElementOfEveryPageWithItsSelectors) {
  struct Row {
    int page;
    const char* name;
    int fore;
    int back;          // -1: no background selector
    bool backEnabled;  // a shared background is shown but not editable
  };
  const Row rows[] = {
      {0, "Kommentar", S::kCellComment, S::kCellBackgnd, true},
      {0, "Gitter", S::kCellGridColor, -1, false},
      {0, "Verbindung Zahl", S::kLineColorInt, -1, false},
      {0, "Verbindung Text", S::kLineColorText, -1, false},
      {0, "Verbindung Zeit", S::kLineColorTime, -1, false},
      {0, "Verbindung Datum", S::kLineColorDate, -1, false},
      {0, "Index der Blockressource", S::kIndexColor, S::kIndexBackgnd, true},
      {1, "Text", S::kTableText, S::kTableBackgnd, true},
      {2, "Text", S::kWatchText, S::kWatchBackgnd, true},
      {2, "Ungültiger Eintrag", S::kWatchInvalid, -1, false},
      {2, "Geänderter Wert", S::kWatchChanged, -1, false},
      {3, "Text", S::kTerminalText, S::kTerminalBackgnd, true},
      {4, "Text", S::kDataText, S::kDataBackgnd, true},
      {4, "Index", S::kDataIndex, -1, false},
      {4, "Geänderter Eintrag", S::kDataChanged, -1, false},
      {5, "Analogkanäle", S::kGenericAnalogIn, S::kAnalogInBackgnd, false},
      {5, "Temperaturkanäle", S::kTemperatureAnalogIn, S::kAnalogInBackgnd, false},
      {5, "Spannungskanäle", S::kVoltageAnalogIn, S::kAnalogInBackgnd, false},
      {5, "Frequenzeingang", S::kFrequencyIn, S::kAnalogInBackgnd, false},
  };
  // A colour that is none of the offered ones stays shown as it is.
  TStationSettings::Current().colors[S::kTerminalText] = tcolor::FromRgb(1, 2, 3);
  TColorOptionsDlg dlg;
  const QStringList pageNames{"Programmzelleneditor", "Tabellen-/Kommentareditor", "Variablenfenster",
                              "Ausgabefenster", "Datenfenster", "Meßwerte"};
  auto* tabs = dlg.findChild<QTabWidget*>();
  ASSERT_EQ(tabs->count(), 6);
  int seen[6] = {};
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.name) + " on page " + std::to_string(r.page));
    EXPECT_EQ(tabs->tabText(r.page), pageNames[r.page]);
    PageWidgets p = PageOf(dlg, r.page);
    ASSERT_LT(seen[r.page], p.elements->count());
    EXPECT_EQ(p.elements->item(seen[r.page])->text(), QString::fromUtf8(r.name));
    p.elements->setCurrentRow(seen[r.page]++);
    EXPECT_TRUE(p.fore->isEnabled());
    const TColor fore = TStationSettings::Current().colors[r.fore];
    EXPECT_EQ(p.fore->currentData().toInt(), fore);
    if (r.fore == S::kTerminalText) {
      EXPECT_EQ(p.fore->count(), 18);
      EXPECT_EQ(p.fore->currentText(), "Eigene Farbe");
    } else {
      EXPECT_EQ(p.fore->count(), 17);
      EXPECT_EQ(p.fore->itemText(0), "Vorgabe");
      EXPECT_EQ(p.fore->currentText(), "Vorgabe");
    }
    EXPECT_EQ(p.back->isEnabled(), r.backEnabled);
    if (r.back < 0) {
      EXPECT_EQ(p.back->count(), 0);
    } else {
      EXPECT_EQ(p.back->currentData().toInt(), TStationSettings::Current().colors[r.back]);
    }
  }
  for (int page = 0; page < 6; ++page) EXPECT_EQ(seen[page], PageOf(dlg, page).elements->count());

  // Fonts on the first five pages, none on the last.
  EXPECT_EQ(PageOf(dlg, 0).font->text(), "MS Sans Serif, 8pt");
  EXPECT_EQ(PageOf(dlg, 3).font->text(), "Courier New, 10pt");
  EXPECT_EQ(PageOf(dlg, 5).font->text(), "Keine Schrift verwendet");
  EXPECT_EQ(PageOf(dlg, 5).choose, nullptr);
  EXPECT_EQ(TColorOptionsDlg::FontText({"Courier New", 12, TStoredFont::kBold | TStoredFont::kItalic}),
            "Courier New, 12pt, fett, kursiv");
  EXPECT_EQ(TColorOptionsDlg::FontText({"Courier New", 9, TStoredFont::kItalic}), "Courier New, 9pt, kursiv");
}

TEST_F(ColorOptionsDlgTest, VorgabeRestoresTheDefaultAndTheAnalogBackgroundIsFixed) {
  TColorOptionsDlg dlg;
  PageWidgets cell = PageOf(dlg, 0);
  cell.elements->setCurrentRow(0);  // Kommentar: a system colour by default
  Pick(cell.fore, 10);              // Rot
  EXPECT_EQ(dlg.Colors()[S::kCellComment], tcolor::kRed);
  Pick(cell.fore, 0);
  EXPECT_EQ(static_cast<uint32_t>(dlg.Colors()[S::kCellComment]), 0x80000008u);

  // The analog channels show the panel's one background; no channel edits it.
  PageWidgets analog = PageOf(dlg, 5);
  for (int row = 0; row < 4; ++row) {
    analog.elements->setCurrentRow(row);
    EXPECT_FALSE(analog.back->isEnabled()) << row;
    EXPECT_TRUE(analog.fore->isEnabled()) << row;
  }
  EXPECT_EQ(dlg.Colors()[S::kAnalogInBackgnd], kColorSettings[S::kAnalogInBackgnd].defaultValue);
}

TEST_F(ColorOptionsDlgTest, ApplyThenCancelKeepsOnlyWhatWasApplied) {
  TColorOptionsDlg dlg;
  QPushButton* apply = ButtonNamed(dlg, "Übernehmen");
  ASSERT_NE(apply, nullptr);
  EXPECT_FALSE(apply->isEnabled());
  PageWidgets watch = PageOf(dlg, 2);
  watch.elements->setCurrentRow(2);  // Geänderter Wert
  Pick(watch.fore, 13);              // Blau
  EXPECT_TRUE(apply->isEnabled());
  EXPECT_EQ(TStationSettings::Current().colors[S::kWatchChanged], tcolor::kRed);
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_FALSE(apply->isEnabled());
  EXPECT_EQ(TStationSettings::Current().colors[S::kWatchChanged], tcolor::kBlue);

  Pick(watch.fore, 12);  // Gelb: not applied
  EXPECT_TRUE(apply->isEnabled());
  vt::WhenModal([](QDialog& d) { QTest::mouseClick(ButtonNamed(d, "Abbrechen"), Qt::LeftButton); });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(TStationSettings::Current().colors[S::kWatchChanged], tcolor::kBlue);

  // OK applies what is pending.
  TColorOptionsDlg again;
  PageWidgets term = PageOf(again, 3);
  term.elements->setCurrentRow(0);
  Pick(term.back, 16);
  vt::WhenModal([](QDialog& d) { QTest::mouseClick(ButtonNamed(d, "OK"), Qt::LeftButton); });
  EXPECT_TRUE(again.Execute());
  EXPECT_EQ(TStationSettings::Current().colors[S::kTerminalBackgnd], tcolor::kWhite);
}

TEST_F(ColorOptionsDlgTest, FontChoiceOffersFixedPitchFontsAndKeepsEightToTwentyFourPoints) {
  const QString mono = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  struct Case {
    int points;
    int stored;
  } cases[] = {{30, 24}, {12, 12}, {5, 8}};
  for (const Case& c : cases) {
    TColorOptionsDlg dlg;
    PageWidgets table = PageOf(dlg, 1);
    bool checked = false;
    vt::WhenModal([&](QDialog& d) {
      auto* fonts = qobject_cast<QFontDialog*>(&d);
      ASSERT_NE(fonts, nullptr);
      EXPECT_TRUE(fonts->testOption(QFontDialog::MonospacedFonts));
      EXPECT_FALSE(fonts->testOption(QFontDialog::ProportionalFonts));
      QFont f(mono);
      f.setPointSize(c.points);
      f.setItalic(true);
      fonts->setCurrentFont(f);
      checked = true;
      fonts->accept();
    });
    QTest::mouseClick(table.choose, Qt::LeftButton);
    ASSERT_TRUE(checked);
    EXPECT_EQ(dlg.Fonts()[S::kTableFont].size, c.stored) << c.points;
    EXPECT_EQ(dlg.Fonts()[S::kTableFont].style, TStoredFont::kItalic);
    EXPECT_EQ(table.font->text(), TColorOptionsDlg::FontText(dlg.Fonts()[S::kTableFont]));
    EXPECT_TRUE(ButtonNamed(dlg, "Übernehmen")->isEnabled());
  }
}

// A document window and a panel that remember what they were told.
class ProbeForm : public TMDIChildForm {
 public:
  ProbeForm() : TMDIChildForm(nullptr) {}
  void SettingsChanged() override {
    ++changes;
    seen = TStationSettings::Current().colors[S::kTableText];
  }
  int changes = 0;
  TColor seen = 0;
};

class ProbePanel : public TToolWindow {
 public:
  ProbePanel() : TToolWindow(nullptr) {}
  void SettingsChanged() override { ++changes; }
  int changes = 0;
};

TEST_F(ColorOptionsDlgTest, AppliedChangeReachesOpenWindowsAndTheCellEditor) {
  ProbeForm form;
  ProbePanel panel;
  CellEditorSettings::Current().gridVisible = false;  // changed by the user meanwhile
  TColorOptionsDlg dlg;
  PageWidgets table = PageOf(dlg, 1);
  table.elements->setCurrentRow(0);
  Pick(table.fore, 5);  // Marineblau
  PageWidgets cell = PageOf(dlg, 0);
  cell.elements->setCurrentRow(2);  // Verbindung Zahl
  Pick(cell.fore, 14);              // Fuchsia
  EXPECT_EQ(form.changes, 0);
  QTest::mouseClick(ButtonNamed(dlg, "Übernehmen"), Qt::LeftButton);
  EXPECT_EQ(form.changes, 1);
  EXPECT_EQ(panel.changes, 1);
  EXPECT_EQ(form.seen, tcolor::kNavy);
  EXPECT_EQ(CellEditorSettings::Current().wireColors[0], tcolor::FromRgb(255, 0, 255));
  EXPECT_FALSE(CellEditorSettings::Current().gridVisible);
  CellEditorSettings::Current().gridVisible = true;
}

}  // namespace

#include <QGuiApplication>
#include "ShellShotSupport.h"
#include "TSplashForm.h"
#include "TTipOfDayDlg.h"

namespace {

TEST(SystemColors, DefaultColoursFollowTheDesktopPalette) {
  const QPalette before = QApplication::palette();
  QApplication::setPalette(shots::DarkPalette());
  const QPalette p = QApplication::palette();
  EXPECT_EQ(tcolor::SystemColor(5), p.color(QPalette::Base));
  EXPECT_EQ(tcolor::SystemColor(8), p.color(QPalette::Text));
  EXPECT_EQ(tcolor::SystemColor(15), p.color(QPalette::Button));
  EXPECT_EQ(tcolor::SystemColor(18), p.color(QPalette::ButtonText));
  // Greyed text stays readable on the button face.
  const int face = p.color(QPalette::Button).lightness();
  const int grey = tcolor::SystemColor(16).lightness();
  EXPECT_GT(grey - face, 60);
  EXPECT_EQ(tcolor::ToQColor(kColorSettings[S::kCellBackgnd].defaultValue), p.color(QPalette::Base));
  // The dialog's "Vorgabe" shows the theme's colour as well.
  TStationSettings::Current() = TStationSettings::Defaults(QString());
  TColorOptionsDlg dlg;
  PageWidgets table = PageOf(dlg, 1);
  table.elements->setCurrentRow(0);
  const QImage swatch = table.back->itemIcon(0).pixmap(24, 14).toImage();
  EXPECT_EQ(QColor(swatch.pixel(12, 7)), p.color(QPalette::Base));
  QApplication::setPalette(before);
  EXPECT_EQ(tcolor::SystemColor(5), before.color(QPalette::Base));
}

TEST(Screenshots, ShellDialogsInALightAndADarkTheme) {
  TStationSettings::Current() = TStationSettings::Defaults(QString());
  for (int page : {0, 2, 5}) {
    shots::Take(QStringLiteral("color-options-%1").arg(page), [page] {
      auto* dlg = new TColorOptionsDlg;
      PageWidgets p = PageOf(*dlg, page);
      p.elements->setCurrentRow(page == 5 ? 1 : 0);
      return dlg;
    });
  }
  shots::Take("tip-of-day", [] {
    auto* dlg = new TTipOfDayDlg(TTipOfDayDlg::TipFileName());
    dlg->Start(7, true);
    return dlg;
  });
  shots::Take("about", [] { return new TSplashForm(TSplashForm::Mode::About); });
}

}  // namespace

#include <QAccessible>
#include "RecordingUserInterface.h"
#include "THelpViewer.h"

namespace {

// Every control a user can reach with the keyboard or the mouse has a name.
void ExpectNamedControls(QWidget& window) {
  window.show();
  QApplication::processEvents();
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&window) || w->focusPolicy() == Qt::NoFocus) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->text(QAccessible::Name).isEmpty())
        << window.metaObject()->className() << ": " << w->metaObject()->className() << " " << w->objectName().toStdString();
  }
}

TEST(ShellDialogs, EveryReachableControlHasAnAccessibleName) {
  TColorOptionsDlg colors;
  for (int page = 0; page < TColorOptionsDlg::kPageCount; ++page) {
    PageOf(colors, page);
    ExpectNamedControls(colors);
  }
  TTipOfDayDlg tips(TTipOfDayDlg::TipFileName());
  ExpectNamedControls(tips);
  TSplashForm about(TSplashForm::Mode::About);
  ExpectNamedControls(about);
  THelpViewer help;
  ExpectNamedControls(help);
}

TEST(ShellDialogs, F1InTheColourDialogOpensTheOptionsTopic) {
  RecordingUserInterface ui;
  TColorOptionsDlg dlg;
  dlg.show();
  QTest::keyClick(&dlg, Qt::Key_F1);
  EXPECT_EQ(ui.Texts("ShowHelp"), QStringList{"20000"});
}

}  // namespace
