// The program checks: for every rule a minimal project that triggers it and
// its near twin that must not (no false alarm), the examples free of
// errors and warnings, and the mistakes example showing every rule.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <functional>
#include <cstring>
#include <set>

#include "ProjectBuilder.h"
#include "RecordingUserInterface.h"
#include "TCheckRules.h"
#include "TProjectChecker.h"
#include "TTarvixPlusModel.h"

namespace {

void EnsureApp() {
  if (QGuiApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "check_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

using mt::Connect;
using mt::Place;

int32_t NamedCell(TTarvixPlusModel& m, const QString& name) {
  m.NewCell(-1);
  const int32_t cell = m.Cells().back()->CellId();
  m.RenameCell(cell, name);
  return cell;
}

// A constant printed: a cell with a statement and nothing to find.
void PrintConstant(TTarvixPlusModel& m, int32_t cell, const QString& value) {
  Connect(m, *Place(m, cell, 700, 10, 10, value), *Place(m, cell, 900, 100, 10));
}

// A pause of one tick closing a cell's loop, so loop checks stay quiet.
void Pause(TTarvixPlusModel& m, int32_t cell) { Connect(m, *Place(m, cell, 700, 10, 300, QStringLiteral("1")), *Place(m, cell, 1006, 100, 300)); }

struct Where {
  int32_t cell = 0;
  int32_t block = 0;  // 0: the whole cell or the project
};

struct Case {
  const char* name;
  const char* code;
  // Builds the project that triggers the rule (twin false) or its near twin
  // (twin true); answers where the finding belongs.
  std::function<Where(TTarvixPlusModel&, bool twin)> build;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"MissingInput", "E101",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t c = NamedCell(m, QStringLiteral("A"));
         TBlock* sub = Place(m, c, 201, 100, 10);
         Connect(m, *Place(m, c, 700, 10, 10, QStringLiteral("5")), *sub, 0);
         if (twin) Connect(m, *Place(m, c, 700, 10, 60, QStringLiteral("2")), *sub, 1);
         Connect(m, *sub, *Place(m, c, 900, 200, 10));
         return Where{c, sub->Id()};
       }},
      {"BlockWithoutEffect", "W101",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t c = NamedCell(m, QStringLiteral("A"));
         TBlock* k = Place(m, c, 700, 10, 10, QStringLiteral("5"));
         if (twin) Connect(m, *k, *Place(m, c, 900, 100, 10));
         return Where{c, k->Id()};
       }},
      {"UnreachableCell", "W102",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         PrintConstant(m, a, QStringLiteral("1"));
         TBlock* end = Place(m, a, 1007, 300, 10);
         // The twin's end only runs when the key is pressed, so A falls through into B.
         if (twin) Connect(m, *Place(m, a, 112, 200, 10), *end);
         const int32_t b = NamedCell(m, QStringLiteral("B"));
         PrintConstant(m, b, QStringLiteral("2"));
         return Where{b, 0};
       }},
      {"ReadNeverWritten", "W103",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t c = NamedCell(m, QStringLiteral("A"));
         TBlock* word = Place(m, c, 602, 10, 10, QStringLiteral("2"));
         Connect(m, *word, *Place(m, c, 900, 100, 10));
         // The twin writes BYTE[3], the low byte of WORD[2], in another cell.
         const int32_t b = NamedCell(m, QStringLiteral("B"));
         if (twin) Connect(m, *Place(m, b, 700, 10, 10, QStringLiteral("7")), *Place(m, b, 601, 100, 10, QStringLiteral("3")));
         else PrintConstant(m, b, QStringLiteral("7"));
         return Where{c, word->Id()};
       }},
      {"WrittenNeverRead", "H101",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t c = NamedCell(m, QStringLiteral("A"));
         TBlock* word = Place(m, c, 602, 100, 10, QStringLiteral("3"));
         Connect(m, *Place(m, c, 700, 10, 10, QStringLiteral("7")), *word);
         if (twin) Connect(m, *Place(m, c, 602, 10, 100, QStringLiteral("3")), *Place(m, c, 900, 100, 100));
         return Where{c, word->Id()};
       }},
      {"OutputFromTwoCells", "H102",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         TBlock* p1 = Place(m, a, 130, 100, 10);
         Connect(m, *Place(m, a, 700, 10, 10, QStringLiteral("1")), *p1);
         const int32_t b = NamedCell(m, QStringLiteral("B"));
         Connect(m, *Place(m, b, 700, 10, 10, QStringLiteral("0")), *Place(m, b, twin ? 131 : 130, 100, 10));
         return Where{a, p1->Id()};
       }},
      {"BusyLoop", "W104",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         PrintConstant(m, a, QStringLiteral("1"));
         const int32_t b = NamedCell(m, QStringLiteral("B"));
         PrintConstant(m, b, QStringLiteral("2"));
         if (twin) Pause(m, b);
         TBlock* jump = Place(m, b, 1000, 300, 10, QStringLiteral("A"));
         return Where{b, jump->Id()};
       }},
      {"BusyLoopThroughACall", "W104",
       [](TTarvixPlusModel& m, bool twin) {
         // A calls B and jumps back to itself; only a pause in B lets the unit rest.
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         PrintConstant(m, a, QStringLiteral("1"));
         Place(m, a, 1001, 200, 10, QStringLiteral("B"));
         TBlock* jump = Place(m, a, 1000, 300, 10, QStringLiteral("A"));
         const int32_t b = NamedCell(m, QStringLiteral("B"));
         PrintConstant(m, b, QStringLiteral("2"));
         if (twin) Pause(m, b);
         Place(m, b, 1002, 300, 10);
         return Where{a, jump->Id()};
       }},
      {"UnknownJumpTarget", "E102",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         Pause(m, a);
         TBlock* jump = Place(m, a, 1000, 300, 10, twin ? QStringLiteral("A") : QStringLiteral("a"));
         return Where{a, jump->Id()};
       }},
      {"MissingJumpTarget", "E103",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         Pause(m, a);
         TBlock* jump = Place(m, a, 1000, 300, 10, twin ? QStringLiteral("A") : QString());
         return Where{a, jump->Id()};
       }},
      {"UnknownTable", "E104",
       [](TTarvixPlusModel& m, bool twin) {
         m.NewTable(true);
         m.Tables().back()->Data = QStringList{QStringLiteral("1 2 3")};
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         TBlock* tab = Place(m, a, 209, 100, 10, twin ? QStringLiteral("Tabelle 1") : QStringLiteral("Tabelle 2"));
         Connect(m, *Place(m, a, 124, 10, 10), *tab);
         Connect(m, *tab, *Place(m, a, 900, 200, 10));
         return Where{a, tab->Id()};
       }},
      {"UnreadableTable", "E105",
       [](TTarvixPlusModel& m, bool twin) {
         m.NewTable(true);
         m.Tables().back()->Data = QStringList{QStringLiteral("1 2"), twin ? QStringLiteral("-32768") : QStringLiteral("32768")};
         PrintConstant(m, NamedCell(m, QStringLiteral("A")), QStringLiteral("1"));
         return Where{0, 0};
       }},
      {"DivisionByZero", "E106",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         TBlock* div = Place(m, a, 203, 100, 10);
         Connect(m, *Place(m, a, 124, 10, 10), *div, 0);
         Connect(m, *Place(m, a, 700, 10, 60, twin ? QStringLiteral("2") : QStringLiteral("0")), *div, 1);
         Connect(m, *div, *Place(m, a, 900, 200, 10));
         return Where{a, div->Id()};
       }},
      {"ConstantOutOfRange", "W105",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         TBlock* byte = Place(m, a, 601, 100, 10, QStringLiteral("1"));
         Connect(m, *Place(m, a, 700, 10, 10, twin ? QStringLiteral("255") : QStringLiteral("256")), *byte);
         Connect(m, *Place(m, a, 601, 10, 100, QStringLiteral("1")), *Place(m, a, 900, 100, 100));
         return Where{a, byte->Id()};
       }},
      {"ComparisonAlwaysFalse", "W106",
       [](TTarvixPlusModel& m, bool twin) {
         const int32_t a = NamedCell(m, QStringLiteral("A"));
         TBlock* lower = Place(m, a, 400, 100, 10);
         Connect(m, *Place(m, a, 124, 10, 10), *lower, 0);
         Connect(m, *Place(m, a, 700, 10, 60, twin ? QStringLiteral("1") : QStringLiteral("0")), *lower, 1);
         Connect(m, *lower, *Place(m, a, 1005, 200, 10));
         return Where{a, lower->Id()};
       }},
  };
  return cases;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<TFinding> With(const std::vector<TFinding>& all, const QString& code) {
  std::vector<TFinding> out;
  for (const TFinding& f : all)
    if (f.code == code) out.push_back(f);
  return out;
}

QString Describe(const std::vector<TFinding>& all) {
  QString s;
  for (const TFinding& f : all) s += QStringLiteral("%1 %2/%3 %4\n").arg(f.code).arg(f.cellId).arg(f.BlockNumber()).arg(f.text);
  return s;
}

class CheckRule : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { EnsureApp(); }
  RecordingUserInterface ui_;
};

TEST_P(CheckRule, TriggersOnceWhereTheMistakeIsAndNotOnItsTwin) {
  const Case& c = GetParam();
  const TCheckRule* rule = checkrules::Find(QLatin1String(c.code));
  ASSERT_NE(rule, nullptr);
  {
    TTarvixPlusModel m;
    const Where where = c.build(m, false);
    const std::vector<TFinding> all = TProjectChecker::Check(m);
    const std::vector<TFinding> hits = With(all, QLatin1String(c.code));
    ASSERT_EQ(hits.size(), 1u) << Describe(all).toStdString();
    EXPECT_EQ(hits[0].severity, rule->severity);
    EXPECT_EQ(hits[0].cellId, where.cell);
    EXPECT_EQ(hits[0].blockId, where.block);
    EXPECT_FALSE(hits[0].text.isEmpty());
  }
  {
    TTarvixPlusModel m;
    c.build(m, true);
    const std::vector<TFinding> all = TProjectChecker::Check(m);
    EXPECT_TRUE(With(all, QLatin1String(c.code)).empty()) << Describe(all).toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, CheckRule, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

class Checker : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
  RecordingUserInterface ui_;
};

TEST_F(Checker, EveryRuleHasATestCaseAndAHelpText) {
  std::set<std::string> tested;
  for (const Case& c : Cases()) tested.insert(c.code);
  std::set<std::string> codes;
  const QString page = checkrules::HelpPageHtml();
  for (const TCheckRule& rule : checkrules::All()) {
    EXPECT_TRUE(page.contains(QStringLiteral("<a name=\"%1\">").arg(QLatin1String(rule.code)))) << rule.code;
    EXPECT_TRUE(codes.insert(rule.code).second) << rule.code;
    EXPECT_TRUE(tested.count(rule.code)) << rule.code;
    EXPECT_GT(std::strlen(rule.help), 40u) << rule.code;
    const char expected = rule.severity == TSeverity::kFehler ? 'E' : rule.severity == TSeverity::kWarnung ? 'W' : 'H';
    EXPECT_EQ(rule.code[0], expected) << rule.code;
  }
}

// The compiler stops at the first block without its inputs; the check names all.
TEST_F(Checker, ReportsEveryBlockWithMissingInputsAtOnce) {
  TTarvixPlusModel m;
  const int32_t a = NamedCell(m, QStringLiteral("A"));
  TBlock* sub = Place(m, a, 201, 100, 10);
  TBlock* add = Place(m, a, 200, 100, 100);
  TBlock* wait = Place(m, a, 1005, 300, 200);
  Connect(m, *sub, *Place(m, a, 900, 200, 10));
  Connect(m, *add, *Place(m, a, 900, 200, 100));
  const std::vector<TFinding> missing = With(TProjectChecker::Check(m), QStringLiteral("E101"));
  ASSERT_EQ(missing.size(), 3u);
  EXPECT_EQ(missing[0].blockId, sub->Id());
  EXPECT_TRUE(missing[0].text.contains(QStringLiteral("a, b"))) << missing[0].text.toStdString();
  EXPECT_EQ(missing[1].blockId, add->Id());
  EXPECT_EQ(missing[2].blockId, wait->Id());
}

// A counter loop through a word cell reads the word on its own path.
TEST_F(Checker, FeedbackThroughAVariableCountsAsReading) {
  TTarvixPlusModel m;
  mt::AddCounterCell(m);
  for (const TFinding& f : TProjectChecker::Check(m)) EXPECT_NE(f.code, QStringLiteral("W103")) << f.text.toStdString();
}

TEST_F(Checker, ExamplesHaveNoErrorsOrWarnings) {
  for (const char* name : {"counter", "traffic", "logger"}) {
    TTarvixPlusModel m;
    ASSERT_TRUE(m.LoadFromFile(QStringLiteral(VORBLEN_EXAMPLES "/%1.tvp").arg(QLatin1String(name))));
    for (const TFinding& f : TProjectChecker::Check(m))
      EXPECT_EQ(f.severity, TSeverity::kHinweis) << name << ": " << f.code.toStdString() << " " << f.text.toStdString();
  }
}

// mistakes.tvp runs (its scenario shows what the mistakes do); the mistakes
// that stop the compile live in mistakes-compile.tvp.
TEST_F(Checker, MistakesExamplesShowEveryRule) {
  std::set<QString> found;
  for (const char* name : {"mistakes", "mistakes-compile"}) {
    TTarvixPlusModel m;
    ASSERT_TRUE(m.LoadFromFile(QStringLiteral(VORBLEN_EXAMPLES "/%1.tvp").arg(QLatin1String(name))));
    for (const TFinding& f : TProjectChecker::Check(m)) found.insert(f.code);
  }
  for (const TCheckRule& rule : checkrules::All()) EXPECT_TRUE(found.count(QLatin1String(rule.code))) << rule.code;
}

TEST_F(Checker, EmptyAndDamagedProjectsNeverCrash) {
  TTarvixPlusModel empty;
  EXPECT_TRUE(TProjectChecker::Check(empty).empty());
  TTarvixPlusModel m;
  const int32_t a = NamedCell(m, QStringLiteral("A"));
  // A jump to itself in an otherwise empty cell, an unknown table, a many-way jump with blank lines.
  Place(m, a, 1000, 10, 10, QStringLiteral("A"));
  Place(m, a, 1003, 10, 100, QStringLiteral("\r\n\r\n  \r\n"));
  Place(m, a, 209, 10, 200, QStringLiteral("X"));
  const std::vector<TFinding> all = TProjectChecker::Check(m);
  EXPECT_FALSE(With(all, QStringLiteral("W104")).empty()) << Describe(all).toStdString();
}

}  // namespace
