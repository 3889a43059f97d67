// The dialogs as the host meets them: PlexorEditBlockParam on each block
// class, typing into the dialog and pressing "Ok" or "Abbrechen".
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include <string>

#include "EngineFixture.h"
#include "ModalDriver.h"
#include "QtAppEnvironment.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

template <class T>
T* Child(QDialog& d, const char* name) {
  T* w = d.findChild<T*>(QLatin1String(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}


class EditParam : public ::testing::Test {
 protected:
  void SetUp() override { PlexorAddPage(e, 1, 0); }
  int32_t Block(int32_t type, const char* param = nullptr) { return vt::Add(e, type, 1, ++number_, param); }
  std::string Param(int32_t b) {
    const char* p = PlexorGetBlockParam(e, b);
    return p ? p : "<null>";
  }
  // Edits block b: types text into the line "ed" and presses Ok; when the
  // entry is refused the dialog must stay open, and is then cancelled.
  int32_t TypeAndOk(int32_t b, const QString& text, bool* refused = nullptr) {
    vt::WhenModal([text, refused](QDialog& d) {
      QLineEdit* ed = Child<QLineEdit>(d, "ed");
      if (!ed) return d.reject();
      vt::Retype(ed, text);
      vt::Click(d, "OkButton");
      if (refused) *refused = d.isVisible();
      if (d.isVisible()) vt::Click(d, "CancelButton");
    });
    return PlexorEditBlockParam(e, b);
  }

  vt::Engine e;

 private:
  int32_t number_ = 0;
};

TEST_F(EditParam, ValueConstant) {
  int32_t b = Block(700, "-17");
  vt::WhenModal([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Blockparameter"));
    EXPECT_EQ(Child<QLabel>(d, "label")->text(), U("Geben Sie einen konstanten Wert von -32768 bis +32767 ein:"));
    EXPECT_EQ(Child<QLineEdit>(d, "ed")->displayText().trimmed(), QStringLiteral("-17"));
    vt::Click(d, "CancelButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
  EXPECT_EQ(Param(b), "-17");

  bool refused = false;
  EXPECT_EQ(TypeAndOk(b, QStringLiteral("32767"), &refused), 1);
  EXPECT_FALSE(refused);
  EXPECT_EQ(Param(b), "32767");
  for (const char* bad : {"32768", "-32769"}) {
    EXPECT_EQ(TypeAndOk(b, QString::fromLatin1(bad), &refused), 0) << bad;
    EXPECT_TRUE(refused) << bad;
    EXPECT_EQ(Param(b), "32767");
  }
  EXPECT_EQ(TypeAndOk(b, QString(), &refused), 1);  // empty: the constant becomes 0
  EXPECT_FALSE(refused);
  EXPECT_EQ(Param(b), "0");
  EXPECT_EQ(TypeAndOk(b, QStringLiteral("-32768")), 1);
  EXPECT_EQ(Param(b), "-32768");
}

TEST_F(EditParam, TimeConstant) {
  int32_t b = Block(703, "07:05");
  bool refused = false;
  vt::WhenModal([](QDialog& d) {
    EXPECT_EQ(Child<QLabel>(d, "label")->text(), U("Geben Sie eine Uhrzeit an:"));
    EXPECT_EQ(Child<QLineEdit>(d, "ed")->displayText(), QStringLiteral("07:05"));
    vt::Click(d, "OkButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  EXPECT_EQ(Param(b), "07:05");
  EXPECT_EQ(TypeAndOk(b, QStringLiteral("2359"), &refused), 1);
  EXPECT_FALSE(refused);
  EXPECT_EQ(Param(b), "23:59");
  for (const char* bad : {"2400", "1260", "12"}) {
    EXPECT_EQ(TypeAndOk(b, QString::fromLatin1(bad), &refused), 0) << bad;
    EXPECT_TRUE(refused) << bad;
  }
  EXPECT_EQ(Param(b), "23:59");
  // A time that no dialog would produce is shown as the block reads it.
  PlexorSetBlockParam(e, b, "-5:77");
  vt::WhenModal([](QDialog& d) { vt::Click(d, "CancelButton"); });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
  EXPECT_EQ(Param(b), "-5:77");
}

TEST_F(EditParam, DateConstant) {
  int32_t b = Block(704);
  vt::WhenModal([](QDialog& d) {
    EXPECT_EQ(Child<QLabel>(d, "label")->text(), U("Geben Sie ein Datum an:"));
    EXPECT_EQ(Child<QLineEdit>(d, "ed")->displayText(), QStringLiteral("01.01"));
    vt::Click(d, "CancelButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
  bool refused = false;
  EXPECT_EQ(TypeAndOk(b, QStringLiteral("2902"), &refused), 1);
  EXPECT_EQ(Param(b), "29.02");
  for (const char* bad : {"3002", "3104", "0005", "1513"}) {
    EXPECT_EQ(TypeAndOk(b, QString::fromLatin1(bad), &refused), 0) << bad;
    EXPECT_TRUE(refused) << bad;
  }
  EXPECT_EQ(Param(b), "29.02");
}

TEST_F(EditParam, TextTableAndCellNames) {
  struct Case {
    int32_t type;
    const char* prompt;
  } const cases[] = {
      {702, "Geben Sie einen Text ein:"},
      {209, "Geben Sie den Bezeichner einer Tabelle ein:"},
      {1000, "Geben Sie den Bezeichner einer Zelle ein:"},
      {1001, "Geben Sie den Bezeichner einer Zelle ein:"},
  };
  for (const Case& c : cases) {
    int32_t b = Block(c.type, "alt");
    QString prompt = U(c.prompt);
    vt::WhenModal([prompt](QDialog& d) {
      EXPECT_EQ(Child<QLabel>(d, "label")->text(), prompt);
      EXPECT_EQ(Child<QLineEdit>(d, "ed")->text(), QStringLiteral("alt"));
      vt::Click(d, "CancelButton");
    });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 0) << c.type;
    EXPECT_EQ(Param(b), "alt");
    // Umlauts arrive as Windows-1252 bytes; the block cuts what it cannot keep.
    EXPECT_EQ(TypeAndOk(b, U("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC")), 1) << c.type;
    EXPECT_EQ(Param(b), "Gr\xFC\xDF" "e \x80");
    EXPECT_EQ(TypeAndOk(b, QString(150, u'n')), 1);
    EXPECT_EQ(Param(b).size(), c.type == 702 ? 80u : 99u);
    // Every byte survives a dialog closed with Ok unchanged, even those the
    // code page leaves undefined.
    const char* odd = "\x81\x8D\x8F\x90\x9D\x80\xFF\x01 x";
    PlexorSetBlockParam(e, b, odd);
    vt::WhenModal([](QDialog& d) { vt::Click(d, "OkButton"); });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
    EXPECT_EQ(Param(b), odd);
  }
}

TEST_F(EditParam, CharacterConstant) {
  int32_t b = Block(701);
  vt::WhenModal([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), U("Eigenschaften des Blocks"));
    EXPECT_EQ(Child<QLineEdit>(d, "ed")->text(), QStringLiteral("C"));
    vt::Click(d, "CancelButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
  EXPECT_EQ(TypeAndOk(b, U("\xC3\xA4")), 1);
  EXPECT_EQ(Param(b), "'\xE4'");
  EXPECT_EQ(TypeAndOk(b, QString()), 1);  // empty: a space between the quotes
  EXPECT_EQ(Param(b), "' '");
  PlexorSetBlockParam(e, b, "'\t'");  // shown as a blank, kept when untouched
  vt::WhenModal([](QDialog& d) { vt::Click(d, "OkButton"); });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  EXPECT_EQ(Param(b), "'\t'");
  PlexorSetBlockParam(e, b, "");  // no quotes at all: they come back
  EXPECT_EQ(TypeAndOk(b, QStringLiteral("x")), 1);
  EXPECT_EQ(Param(b), "'x'");
}

TEST_F(EditParam, OnGotoList) {
  for (int32_t type : {1003, 1004}) {
    int32_t b = Block(type, "Start\r\nEnde\r\n");
    vt::WhenModal([](QDialog& d) {
      EXPECT_EQ(d.windowTitle(), U("Blockeigenschaften"));
      EXPECT_EQ(Child<QLabel>(d, "label")->text(),
                U("Geben Sie zeilenweise die Bezeichner der Zellen ein, zu denen verzweigt werden soll:"));
      QPlainTextEdit* memo = Child<QPlainTextEdit>(d, "memo");
      EXPECT_EQ(memo->toPlainText(), QStringLiteral("Start\nEnde\n"));
      memo->moveCursor(QTextCursor::End);
      vt::TypeText(memo, U("Mitte"));
      vt::Click(d, "OkButton");
    });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
    EXPECT_EQ(Param(b), "Start\r\nEnde\r\nMitte");
  }
}

TEST_F(EditParam, PrintEnding) {
  int32_t b = Block(900, "4");
  vt::WhenModal([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), U("Parameter des RS232-Ausgabeblocks"));
    EXPECT_TRUE(Child<QRadioButton>(d, "RadioButton3")->isChecked());  // "Tabulator"
    vt::Click(Child<QRadioButton>(d, "RadioButton1"));
    vt::Click(d, "CancelButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
  EXPECT_EQ(Param(b), "4");
  vt::WhenModal([](QDialog& d) {
    vt::Click(Child<QRadioButton>(d, "RadioButton1"));
    vt::Click(d, "OkButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  EXPECT_EQ(Param(b), "1");
  // Odd codes select "nichts"; Ok then stores "1".
  for (const char* code : {"2", "3", "0", "junk"}) {
    PlexorSetBlockParam(e, b, code);
    std::string expected = std::string(code) == "2" ? "RadioButton2" : "RadioButton1";
    vt::WhenModal([expected](QDialog& d) {
      EXPECT_TRUE(Child<QRadioButton>(d, expected.c_str())->isChecked());
      vt::Click(d, "OkButton");
    });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
    EXPECT_EQ(Param(b), std::string(code) == "2" ? "2" : "1");
  }
}

TEST_F(EditParam, BaudRate) {
  int32_t b = Block(904);
  const struct {
    const char* code;
    const char* selected;
    const char* stored;
  } cases[] = {{"1", "RadioButton1", "1"}, {"2", "RadioButton2", "2"}, {"4", "RadioButton3", "4"},
               {"8", "RadioButton4", "8"}, {"3", "RadioButton4", "8"}, {"", "RadioButton4", "8"}};
  for (const auto& c : cases) {
    PlexorSetBlockParam(e, b, c.code);
    std::string selected = c.selected;
    vt::WhenModal([selected](QDialog& d) {
      EXPECT_EQ(d.windowTitle(), U("Eigenschaften des Baudrate-Blocks"));
      EXPECT_TRUE(Child<QRadioButton>(d, selected.c_str())->isChecked()) << selected;
      vt::Click(d, "OkButton");
    });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 1) << c.code;
    EXPECT_EQ(Param(b), c.stored) << c.code;
  }
  vt::WhenModal([](QDialog& d) {
    vt::Click(Child<QRadioButton>(d, "RadioButton2"));
    vt::Click(d, "OkButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  EXPECT_EQ(Param(b), "2");
}

TEST_F(EditParam, UserCellsWithinTheirLimit) {
  const struct {
    int32_t type;
    int limit;
  } cases[] = {{600, 192}, {601, 24}, {602, 12}};
  for (const auto& c : cases) {
    int32_t b = Block(c.type);
    PlexorSetBlockParam(e, b, std::to_string(c.limit - 1).c_str());
    int limit = c.limit;
    vt::WhenModal([limit](QDialog& d) {
      EXPECT_EQ(Child<QLabel>(d, "label")->text(), U("W\xC3\xA4hlen Sie die Speicherzelle aus:"));
      QSpinBox* spin = Child<QSpinBox>(d, "spin");
      EXPECT_EQ(spin->maximum(), limit);
      EXPECT_EQ(spin->minimum(), 1);
      EXPECT_EQ(Child<QLineEdit>(d, "ed")->text(), QString::number(limit - 1));
      QTest::keyClick(spin, Qt::Key_Up);
      QTest::keyClick(spin, Qt::Key_Up);  // stops at the limit
      vt::Click(d, "Button1");
    });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 1) << c.type;
    EXPECT_EQ(Param(b), std::to_string(c.limit));
    vt::WhenModal([](QDialog& d) {
      QTest::keyClick(Child<QSpinBox>(d, "spin"), Qt::Key_Down);
      vt::Click(d, "Button2");
    });
    EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
    EXPECT_EQ(Param(b), std::to_string(c.limit));
  }
}

TEST_F(EditParam, MelodyGrid) {
  int32_t b = Block(108, "478 100 20 426 200 ");
  vt::WhenModal([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), U("Eigenschaften des Tonausgabe-Blocks"));
    QTableWidget* grid = Child<QTableWidget>(d, "melody");
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("478"));
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("20"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("426"));
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("200"));
    EXPECT_TRUE(grid->item(1, 2)->text().isEmpty());
    vt::Click(d, "OkButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  std::string expected = "478 100 20 426 200 ";
  for (int i = 0; i < 82; ++i) expected += "0 ";
  EXPECT_EQ(Param(b), expected);

  vt::WhenModal([](QDialog& d) {
    QTableWidget* grid = Child<QTableWidget>(d, "melody");
    grid->setCurrentCell(3, 2);
    vt::Click(d, "Button3");  // "E" into row 4
    vt::Click(d, "CancelButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 0);
  EXPECT_EQ(Param(b), expected);
  vt::WhenModal([](QDialog& d) {
    Child<QTableWidget>(d, "melody")->setCurrentCell(3, 2);
    vt::Click(d, "Button3");
    vt::Click(d, "OkButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  EXPECT_EQ(Param(b).substr(0, 30), "478 100 20 426 200 0 0 0 0 379");

  // What is typed into the open cell counts, without leaving the cell first.
  vt::WhenModal([](QDialog& d) {
    QTableWidget* grid = Child<QTableWidget>(d, "melody");
    grid->setCurrentCell(0, 1);
    auto* editor = vt::OpenEditor(grid);
    if (editor) {
      vt::Retype(editor, QStringLiteral("55"));
    } else {
      ADD_FAILURE() << "no open cell editor";
    }
    vt::Click(d, "OkButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(e, b), 1);
  EXPECT_EQ(Param(b).substr(0, 10), "478 55 20 ");
}

TEST_F(EditParam, BlocksWithoutParameterOpenNothing) {
  int32_t add = Block(200);
  EXPECT_EQ(PlexorEditBlockParam(e, add), 0);
  EXPECT_EQ(PlexorEditBlockParam(e, vt::Bid(1, 999)), 0);
  EXPECT_EQ(PlexorEditBlockParam(nullptr, add), 0);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
