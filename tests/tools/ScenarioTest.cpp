// The scenario grammar: every step kind, comments, quoting, and bad lines
// reported with their file and line.
#include <gtest/gtest.h>

#include "TScenario.h"

namespace {

using Kind = TScenarioStep::Kind;

TScenarioStep ParseOne(const QByteArray& line) {
  TScenario s;
  QString error;
  EXPECT_TRUE(s.Parse(line, QStringLiteral("s.scenario"), error)) << line.constData() << ": " << error.toStdString();
  return s.Steps().empty() ? TScenarioStep{} : s.Steps().front();
}

TEST(Scenario, ReadsEveryStepKind) {
  struct Case {
    const char* line;
    Kind kind;
    int32_t index;
    int32_t value;
    int64_t steps;
    const char* name;
    QByteArray text;
  };
  const Case cases[] = {
      {"set adc 8 = 255", Kind::SetAdc, 8, 255, 0, "", {}},
      {"SET ADC 1=0", Kind::SetAdc, 1, 0, 0, "", {}},
      {"set port 16 = 1", Kind::SetPort, 16, 1, 0, "", {}},
      {"set freq = 0x10", Kind::SetFreq, 0, 16, 0, "", {}},
      {"set value \"M 1\" = -5", Kind::SetValue, 0, -5, 0, "M 1", {}},
      {"set value WORD[1] = 2147483647", Kind::SetValue, 0, 2147483647, 0, "WORD[1]", {}},
      {"set realtime on", Kind::SetRealtime, 0, 1, 0, "", {}},
      {"set realtime off", Kind::SetRealtime, 0, 0, 0, "", {}},
      {"run 2000 steps", Kind::Run, 0, 0, 2000, "", {}},
      {"run until output contains \"fertig\" within 100000 steps", Kind::RunUntilOutput, 0, 0, 100000, "", "fertig"},
      {"reset", Kind::Reset, 0, 0, 0, "", {}},
      {"expect output \"Z\xC3\xA4hler: 1\\r\\n\"", Kind::ExpectOutput, 0, 0, 0, "", "Z\xE4hler: 1\r\n"},
      {"expect output \"\"", Kind::ExpectOutput, 0, 0, 0, "", {}},
      {"expect output contains \"a\\tb\\\\c\\\"d\"", Kind::ExpectOutputContains, 0, 0, 0, "", "a\tb\\c\"d"},
      {"expect port 13 = 1", Kind::ExpectPort, 13, 1, 0, "", {}},
      {"expect value 0x02010000 = 2", Kind::ExpectValue, 0, 2, 0, "0x02010000", {}},
      {"expect dac 2 = 100", Kind::ExpectDac, 2, 100, 0, "", {}},
      {"expect file length = 10", Kind::ExpectFileLength, 0, 10, 0, "", {}},
      {"expect file 3 = 400", Kind::ExpectFileWord, 3, 400, 0, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const TScenarioStep s = ParseOne(c.line);
    EXPECT_EQ(s.kind, c.kind);
    EXPECT_EQ(s.index, c.index);
    EXPECT_EQ(s.value, c.value);
    EXPECT_EQ(s.steps, c.steps);
    EXPECT_EQ(s.name, QString::fromUtf8(c.name));
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.line, 1);
  }
  EXPECT_EQ(ParseOne("input 42 -1 65535").values, (std::vector<int32_t>{42, -1, 65535}));
  // Runs bounded by the unit's time.
  EXPECT_EQ(ParseOne("run 60 s").seconds, 60);
  EXPECT_EQ(ParseOne("run 60 s").steps, 0);
  const TScenarioStep until = ParseOne("run until output contains \"Gr\xC3\xBCn\" within 864000 s");
  EXPECT_EQ(until.kind, Kind::RunUntilOutput);
  EXPECT_EQ(until.seconds, 864000);
  for (const char* status : {"ready", "end", "running", "error", "input"})
    EXPECT_EQ(TScenario::StatusName(ParseOne(QByteArray("expect status ") + status).status), QLatin1String(status));
}

TEST(Scenario, CommentsBlankLinesAndLineNumbers) {
  TScenario s;
  QString error;
  const QByteArray text =
      "\xEF\xBB\xBF# a comment\r\n"
      "\r\n"
      "   set port 9 = 0   # key 1 pressed\r\n"
      "expect output \"# not a comment \\\" # still not\"   # but this is\n"
      "\t\n"
      "run 5 steps";
  ASSERT_TRUE(s.Parse(text, QStringLiteral("s.scenario"), error)) << error.toStdString();
  ASSERT_EQ(s.Steps().size(), 3u);
  EXPECT_EQ(s.Steps()[0].line, 3);
  EXPECT_EQ(s.Steps()[0].source, QStringLiteral("set port 9 = 0"));
  EXPECT_EQ(s.Steps()[1].line, 4);
  EXPECT_EQ(s.Steps()[1].text, QByteArray("# not a comment \" # still not"));
  EXPECT_EQ(s.Steps()[1].source, QStringLiteral("expect output \"# not a comment \\\" # still not\""));
  EXPECT_EQ(s.Steps()[2].line, 6);
}

TEST(Scenario, BadLinesNameFileAndLine) {
  struct Case {
    QByteArray text;
    const char* error;  // the whole message after "s.scenario:"
  };
  const Case cases[] = {
      {"run 5 steps\nfrobnicate", "2: \"set|input|run|reset|expect\" erwartet"},
      {"run", "1: Ein run braucht eine Grenze: run N steps, run N s oder run until ... within N steps"},
      {"run 0 steps", "1: Die Grenze muss eine Zahl von 1 bis 1000000000 sein, nicht 0"},
      {"run 10", "1: \"steps|s\" erwartet"},
      {"run 0 s", "1: Die Grenze muss eine Zahl von 1 bis 1000000000 sein, nicht 0"},
      {"run 864001 s", "1: Die Zeit muss eine Zahl von 1 bis 864000 s sein, nicht 864001 s"},
      {"run until output contains \"x\" within 5 ms", "1: \"steps|s\" erwartet"},
      {"run until output contains \"x\"", "1: \"within\" erwartet"},
      {"run until output contains \"\" within 5 steps", "1: \"nichtleere Zeichenkette\" erwartet"},
      {"set adc 9 = 1", "1: Der Analogkanal muss eine Zahl von 1 bis 8 sein, nicht 9"},
      {"set adc 1 = 256", "1: Der Analogwert muss eine Zahl von 0 bis 255 sein, nicht 256"},
      {"set port 17 = 1", "1: Der Port muss eine Zahl von 1 bis 16 sein, nicht 17"},
      {"expect port 0 = 1", "1: Der Port muss eine Zahl von 1 bis 16 sein, nicht 0"},
      {"set port 1 = 2", "1: Der Pegel muss eine Zahl von 0 bis 1 sein, nicht 2"},
      {"set port 1 1", "1: \"=\" erwartet"},
      {"set freq = 70000", "1: Die Frequenz muss eine Zahl von 0 bis 65535 sein, nicht 70000"},
      {"set realtime maybe", "1: \"on|off\" erwartet"},
      {"set volume = 3", "1: \"adc|port|freq|value|realtime\" erwartet"},
      {"input", "1: Der Eingabewert erwartet"},
      {"input 70000", "1: Der Eingabewert muss eine Zahl von -32768 bis 65535 sein, nicht 70000"},
      {"expect output \"offen", "1: Die Zeichenkette ist nicht mit \" abgeschlossen"},
      {"expect output \"a\\qb\"", "1: Unbekannte Ersatzdarstellung \\q (erlaubt: \\r \\n \\t \\\" \\\\)"},
      {"expect output \"\xE2\x82\xAC \xE2\x98\x83\"", "1: Der Text enthält Zeichen, die die Unit nicht ausgeben kann"},
      {"expect output fertig", "1: Zeichenkette in \"...\" erwartet"},
      {"expect status done", "1: \"ready|end|running|error|input\" erwartet"},
      {"expect dac 3 = 1", "1: Der Analogausgang muss eine Zahl von 1 bis 2 sein, nicht 3"},
      {"expect value = 3", "1: Name oder Kennzahl einer Variablen erwartet"},
      {"expect file 0 = 1", "1: Die Wortnummer (oder length) muss eine Zahl von 1 bis 65535 sein, nicht 0"},
      {"reset now", "1: Überzählige Angabe: now"},
      {"expect port 1 = 1 2", "1: Überzählige Angabe: 2"},
      {"# only a comment\n\n", " Das Szenario enthält keine Schritte"},
      {"run 5 steps\n\xFF\xFE", " Die Szenariodatei ist kein gültiges UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.constData());
    TScenario s;
    QString error;
    EXPECT_FALSE(s.Parse(c.text, QStringLiteral("s.scenario"), error));
    EXPECT_EQ(error, QStringLiteral("s.scenario:") + QString::fromUtf8(c.error));
  }
  TScenario s;
  QString error;
  EXPECT_FALSE(s.Read(QStringLiteral("/nonexistent/x.scenario"), error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("/nonexistent/x.scenario: Die Szenariodatei lässt sich nicht lesen")));
}

}  // namespace
