#include "TScenario.h"

#include <QStringDecoder>
#include <QStringList>
#include <optional>

#include "EngineText.h"
#include "RegularFile.h"

namespace {

using Kind = TScenarioStep::Kind;

struct Token {
  QString text;
  bool quoted = false;
};

// Splits a line into words, '=' and quoted strings; stops at '#' outside
// quotes. False with a message for an unterminated string or a bad escape.
bool Tokenize(const QString& line, std::vector<Token>& tokens, QString& error) {
  qsizetype i = 0;
  const qsizetype n = line.size();
  while (i < n) {
    const QChar c = line[i];
    if (c.isSpace()) {
      ++i;
    } else if (c == QLatin1Char('#')) {
      break;
    } else if (c == QLatin1Char('=')) {
      tokens.push_back({QStringLiteral("="), false});
      ++i;
    } else if (c == QLatin1Char('"')) {
      Token t{{}, true};
      ++i;
      bool closed = false;
      while (i < n) {
        const QChar d = line[i++];
        if (d == QLatin1Char('"')) {
          closed = true;
          break;
        }
        if (d != QLatin1Char('\\')) {
          t.text += d;
          continue;
        }
        if (i >= n) break;
        const QChar e = line[i++];
        switch (e.unicode()) {
          case 'r': t.text += QLatin1Char('\r'); break;
          case 'n': t.text += QLatin1Char('\n'); break;
          case 't': t.text += QLatin1Char('\t'); break;
          case '"': t.text += QLatin1Char('"'); break;
          case '\\': t.text += QLatin1Char('\\'); break;
          default:
            error = QStringLiteral("Unbekannte Ersatzdarstellung \\%1 (erlaubt: \\r \\n \\t \\\" \\\\)").arg(e);
            return false;
        }
      }
      if (!closed) {
        error = QStringLiteral("Die Zeichenkette ist nicht mit \" abgeschlossen");
        return false;
      }
      tokens.push_back(t);
    } else {
      Token t;
      while (i < n && !line[i].isSpace() && line[i] != QLatin1Char('=') && line[i] != QLatin1Char('"') &&
             line[i] != QLatin1Char('#'))
        t.text += line[i++];
      tokens.push_back(t);
    }
  }
  return true;
}

// Reads the tokens of one line in order; every accessor reports what it
// wanted when the line does not hold it.
class LineReader {
 public:
  explicit LineReader(const std::vector<Token>& tokens) : tokens_(tokens) {}

  bool AtEnd() const { return pos_ >= tokens_.size(); }
  // The next bare word, lower case ("" at the end or for a string).
  QString PeekWord() const {
    return AtEnd() || tokens_[pos_].quoted ? QString() : tokens_[pos_].text.toLower();
  }
  bool Word(const char* word) {
    if (PeekWord() != QLatin1String(word)) return Fail(QStringLiteral("\"%1\" erwartet").arg(QLatin1String(word)));
    ++pos_;
    return true;
  }
  bool Number(const QString& what, long long low, long long high, long long& value) {
    if (AtEnd() || tokens_[pos_].quoted) return Fail(QStringLiteral("%1 erwartet").arg(what));
    const QString& t = tokens_[pos_].text;
    const bool ok = TScenario::ParseNumber(t, value);
    if (!ok || value < low || value > high)
      return Fail(QStringLiteral("%1 muss eine Zahl von %2 bis %3 sein, nicht %4").arg(what).arg(low).arg(high).arg(t));
    ++pos_;
    return true;
  }
  bool Number32(const QString& what, long long low, long long high, int32_t& value) {
    long long v = 0;
    if (!Number(what, low, high, v)) return false;
    value = static_cast<int32_t>(v);
    return true;
  }
  bool String(QString& text) {
    if (AtEnd() || !tokens_[pos_].quoted) return Fail(QStringLiteral("Zeichenkette in \"...\" erwartet"));
    text = tokens_[pos_++].text;
    return true;
  }
  // A quoted string or a bare word.
  bool Name(QString& text) {
    if (AtEnd() || tokens_[pos_].text == QLatin1String("="))
      return Fail(QStringLiteral("Name oder Kennzahl einer Variablen erwartet"));
    text = tokens_[pos_++].text;
    return true;
  }
  bool Equals() {
    if (AtEnd() || tokens_[pos_].quoted || tokens_[pos_].text != QLatin1String("=")) return Fail(QStringLiteral("\"=\" erwartet"));
    ++pos_;
    return true;
  }
  bool End() {
    if (!AtEnd()) return Fail(QStringLiteral("Überzählige Angabe: %1").arg(tokens_[pos_].text));
    return true;
  }
  const QString& Error() const { return error_; }
  // Refuses what was read with a message of the caller's.
  bool Refuse(const QString& message) { return Fail(message); }

 private:
  bool Fail(const QString& message) {
    if (error_.isEmpty()) error_ = message;
    return false;
  }
  const std::vector<Token>& tokens_;
  size_t pos_ = 0;
  QString error_;
};

// Output texts compare with the unit's bytes, so they must be Windows-1252.
bool UnitText(const QString& text, QByteArray& bytes, QString& error) {
  const std::string raw = enginetext::ToBytes(text);
  if (enginetext::ToQString(raw.c_str()) != text || raw.find('\0') != std::string::npos) {
    error = QStringLiteral("Der Text enthält Zeichen, die die Unit nicht ausgeben kann");
    return false;
  }
  bytes = QByteArray::fromStdString(raw);
  return true;
}

// "N steps" (simulator steps) or "N s" (seconds of the unit's time).
bool Bound(LineReader& r, TScenarioStep& s) {
  long long n = 0;
  if (!r.Number(QStringLiteral("Die Grenze"), 1, TScenario::kMaxSteps, n)) return false;
  if (r.PeekWord() == QLatin1String("s")) {
    if (n > TScenario::kMaxSeconds)
      return r.Refuse(QStringLiteral("Die Zeit muss eine Zahl von 1 bis %1 s sein, nicht %2 s").arg(TScenario::kMaxSeconds).arg(n));
    s.seconds = n;
    return r.Word("s");
  }
  s.steps = n;
  return r.PeekWord() == QLatin1String("steps") ? r.Word("steps") : r.Word("steps|s");
}

bool ParseSet(LineReader& r, TScenarioStep& s) {
  const QString what = r.PeekWord();
  if (what == QLatin1String("adc")) {
    s.kind = Kind::SetAdc;
    return r.Word("adc") && r.Number32(QStringLiteral("Der Analogkanal"), 1, 8, s.index) && r.Equals() &&
           r.Number32(QStringLiteral("Der Analogwert"), 0, 255, s.value);
  }
  if (what == QLatin1String("port")) {
    s.kind = Kind::SetPort;
    return r.Word("port") && r.Number32(QStringLiteral("Der Port"), 1, 16, s.index) && r.Equals() &&
           r.Number32(QStringLiteral("Der Pegel"), 0, 1, s.value);
  }
  if (what == QLatin1String("freq")) {
    s.kind = Kind::SetFreq;
    return r.Word("freq") && r.Equals() && r.Number32(QStringLiteral("Die Frequenz"), 0, 65535, s.value);
  }
  if (what == QLatin1String("value")) {
    s.kind = Kind::SetValue;
    return r.Word("value") && r.Name(s.name) && r.Equals() &&
           r.Number32(QStringLiteral("Der Wert"), INT32_MIN, INT32_MAX, s.value);
  }
  if (what == QLatin1String("realtime")) {
    s.kind = Kind::SetRealtime;
    if (!r.Word("realtime")) return false;
    const QString mode = r.PeekWord();
    s.value = mode == QLatin1String("on") ? 1 : 0;
    if (mode != QLatin1String("on") && mode != QLatin1String("off")) return r.Word("on|off");
    return r.Word(s.value ? "on" : "off");
  }
  return r.Word("adc|port|freq|value|realtime");
}

bool ParseRun(LineReader& r, TScenarioStep& s, QString& error) {
  if (r.PeekWord() != QLatin1String("until")) {
    s.kind = Kind::Run;
    // A run without a bound would never end on a waiting program.
    if (r.AtEnd()) {
      error = QStringLiteral("Ein run braucht eine Grenze: run N steps, run N s oder run until ... within N steps");
      return false;
    }
    return Bound(r, s);
  }
  s.kind = Kind::RunUntilOutput;
  QString text;
  if (!r.Word("until") || !r.Word("output") || !r.Word("contains") || !r.String(text)) return false;
  if (text.isEmpty()) return r.Word("nichtleere Zeichenkette");
  if (!UnitText(text, s.text, error)) return false;
  return r.Word("within") && Bound(r, s);
}

bool ParseExpect(LineReader& r, TScenarioStep& s, QString& error) {
  const QString what = r.PeekWord();
  if (what == QLatin1String("output")) {
    QString text;
    if (!r.Word("output")) return false;
    s.kind = Kind::ExpectOutput;
    if (r.PeekWord() == QLatin1String("contains")) {
      r.Word("contains");
      s.kind = Kind::ExpectOutputContains;
    }
    return r.String(text) && UnitText(text, s.text, error);
  }
  if (what == QLatin1String("port")) {
    s.kind = Kind::ExpectPort;
    return r.Word("port") && r.Number32(QStringLiteral("Der Port"), 1, 16, s.index) && r.Equals() &&
           r.Number32(QStringLiteral("Der Pegel"), 0, 1, s.value);
  }
  if (what == QLatin1String("value")) {
    s.kind = Kind::ExpectValue;
    return r.Word("value") && r.Name(s.name) && r.Equals() &&
           r.Number32(QStringLiteral("Der Wert"), INT32_MIN, INT32_MAX, s.value);
  }
  if (what == QLatin1String("dac")) {
    s.kind = Kind::ExpectDac;
    return r.Word("dac") && r.Number32(QStringLiteral("Der Analogausgang"), 1, 2, s.index) && r.Equals() &&
           r.Number32(QStringLiteral("Der Wert"), INT32_MIN, INT32_MAX, s.value);
  }
  if (what == QLatin1String("file")) {
    if (!r.Word("file")) return false;
    if (r.PeekWord() == QLatin1String("length")) {
      s.kind = Kind::ExpectFileLength;
      return r.Word("length") && r.Equals() && r.Number32(QStringLiteral("Die Dateilänge"), 0, 65535, s.value);
    }
    s.kind = Kind::ExpectFileWord;
    return r.Number32(QStringLiteral("Die Wortnummer (oder length)"), 1, 65535, s.index) && r.Equals() &&
           r.Number32(QStringLiteral("Der Wert"), 0, 65535, s.value);
  }
  if (what == QLatin1String("status")) {
    s.kind = Kind::ExpectStatus;
    if (!r.Word("status")) return false;
    const QString word = r.PeekWord();
    for (auto st : {TScenarioStep::Status::Ready, TScenarioStep::Status::End, TScenarioStep::Status::Running, TScenarioStep::Status::Error,
                    TScenarioStep::Status::Input})
      if (word == TScenario::StatusName(st)) {
        s.status = st;
        return r.Word(word.toLatin1().constData());
      }
    return r.Word("ready|end|running|error|input");
  }
  return r.Word("output|port|value|dac|file|status");
}

bool ParseLine(const std::vector<Token>& tokens, TScenarioStep& s, QString& error) {
  LineReader r(tokens);
  const QString verb = r.PeekWord();
  bool ok = false;
  if (verb == QLatin1String("set")) {
    ok = r.Word("set") && ParseSet(r, s);
  } else if (verb == QLatin1String("input")) {
    s.kind = Kind::Input;
    ok = r.Word("input");
    do {
      int32_t v = 0;
      ok = ok && r.Number32(QStringLiteral("Der Eingabewert"), -32768, 65535, v);
      s.values.push_back(v);
    } while (ok && !r.AtEnd());
  } else if (verb == QLatin1String("run")) {
    ok = r.Word("run") && ParseRun(r, s, error);
  } else if (verb == QLatin1String("reset")) {
    s.kind = Kind::Reset;
    ok = r.Word("reset");
  } else if (verb == QLatin1String("expect")) {
    ok = r.Word("expect") && ParseExpect(r, s, error);
  } else {
    r.Word("set|input|run|reset|expect");
  }
  ok = ok && r.End();
  if (!ok && error.isEmpty()) error = r.Error();
  return ok;
}

}  // namespace

QString TScenario::StatusName(TScenarioStep::Status status) {
  switch (status) {
    case TScenarioStep::Status::Ready: return QStringLiteral("ready");
    case TScenarioStep::Status::End: return QStringLiteral("end");
    case TScenarioStep::Status::Running: return QStringLiteral("running");
    case TScenarioStep::Status::Error: return QStringLiteral("error");
    case TScenarioStep::Status::Input: return QStringLiteral("input");
  }
  return {};
}

bool TScenario::ParseNumber(const QString& text, long long& value) {
  qsizetype i = text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? 1 : 0;
  const bool hex = text.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0;
  if (hex) i += 2;
  if (i == text.size()) return false;
  for (qsizetype k = i; k < text.size(); ++k) {
    const char16_t c = text[k].unicode();
    const bool digit = c >= u'0' && c <= u'9';
    if (!digit && !(hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))) return false;
  }
  bool ok = false;
  const qulonglong magnitude = text.mid(i).toULongLong(&ok, hex ? 16 : 10);
  if (!ok || magnitude > static_cast<qulonglong>(INT64_MAX)) return false;
  value = text.startsWith(QLatin1Char('-')) ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  return true;
}

bool TScenario::Read(const QString& fileName, QString& error) {
  // Regular files only, and not without bound: /dev/zero or a FIFO as a
  // scenario must neither fill the memory nor wait for ever.
  QByteArray bytes;
  QString problem;
  if (!regularfile::Read(fileName, kMaxFileBytes, bytes, problem)) {
    fileName_ = fileName;
    error = QStringLiteral("%1: Die Szenariodatei lässt sich nicht lesen: %2").arg(fileName, problem);
    return false;
  }
  return Parse(bytes, fileName, error);
}

bool TScenario::Parse(const QByteArray& utf8, const QString& fileName, QString& error) {
  fileName_ = fileName;
  steps_.clear();
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString text = decoder.decode(utf8);
  if (decoder.hasError()) {
    error = QStringLiteral("%1: Die Szenariodatei ist kein gültiges UTF-8").arg(fileName);
    return false;
  }
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    std::vector<Token> tokens;
    QString message;
    TScenarioStep step;
    step.line = static_cast<int>(i + 1);
    if (Tokenize(line, tokens, message) && tokens.empty()) continue;
    if (message.isEmpty() && ParseLine(tokens, step, message)) {
      const qsizetype hash = [&] {
        bool quoted = false;
        for (qsizetype k = 0; k < line.size(); ++k) {
          if (line[k] == QLatin1Char('\\') && quoted) ++k;
          else if (line[k] == QLatin1Char('"')) quoted = !quoted;
          else if (line[k] == QLatin1Char('#') && !quoted) return k;
        }
        return line.size();
      }();
      step.source = line.left(hash).trimmed();
      steps_.push_back(step);
      continue;
    }
    error = QStringLiteral("%1:%2: %3").arg(fileName).arg(step.line).arg(message);
    return false;
  }
  if (steps_.empty()) {
    error = QStringLiteral("%1: Das Szenario enthält keine Schritte").arg(fileName);
    return false;
  }
  return true;
}
