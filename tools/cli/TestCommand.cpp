// vorblen-cli test: plays scenario files on a project and reports like a
// unit-test runner, on standard output and optionally as JUnit XML.
#include <QFile>
#include <QFileInfo>
#include <QBuffer>
#include <QXmlStreamWriter>
#include <cstdio>
#include <memory>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "OutputFile.h"
#include "ProjectCommands.h"
#include "TScenario.h"
#include "TScenarioRunner.h"
#include "TTarvixPlusModel.h"

namespace cli {
namespace {

struct Outcome {
  QString name;  // the scenario file as given
  TScenarioRunner::Result result;
  QString where;  // "FILE:LINE: step" of a failure
  QString type;   // "expect" or "compile"
};

void Out(const QString& text) { std::fputs(text.toUtf8().constData(), stdout); }

QString Indented(const QString& text) {
  QString out;
  for (const QString& line : text.split(QLatin1Char('\n'))) out += QStringLiteral("    ") + line + QLatin1Char('\n');
  return out;
}

// Text as XML 1.0 can hold it: the control characters it cannot (a BEL or
// ESC in the unit's output, in an expected text or in a file name) and
// unpaired surrogates are written as \xNN or \uNNNN instead.
QString XmlText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode());
    if (pair) {
      out += text[i];
      out += text[++i];
    } else if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
      out += c < 0x100 ? QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0')) : QStringLiteral("\\u%1").arg(c, 4, 16, QLatin1Char('0'));
    } else {
      out += text[i];
    }
  }
  return out;
}

bool WriteJUnit(const QString& fileName, const QString& project, const std::vector<Outcome>& outcomes, int failed,
                QString& problem) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QXmlStreamWriter xml(&buffer);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  const QString suite = XmlText(QFileInfo(project).completeBaseName());
  const QString tests = QString::number(outcomes.size());
  xml.writeStartElement(QStringLiteral("testsuites"));
  xml.writeAttribute(QStringLiteral("name"), QStringLiteral("vorblen-cli test"));
  xml.writeAttribute(QStringLiteral("tests"), tests);
  xml.writeAttribute(QStringLiteral("failures"), QString::number(failed));
  xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
  xml.writeStartElement(QStringLiteral("testsuite"));
  xml.writeAttribute(QStringLiteral("name"), suite);
  xml.writeAttribute(QStringLiteral("tests"), tests);
  xml.writeAttribute(QStringLiteral("failures"), QString::number(failed));
  xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
  xml.writeAttribute(QStringLiteral("skipped"), QStringLiteral("0"));
  for (const Outcome& o : outcomes) {
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("classname"), suite);
    xml.writeAttribute(QStringLiteral("name"), XmlText(o.name));
    if (!o.result.passed) {
      xml.writeStartElement(QStringLiteral("failure"));
      xml.writeAttribute(QStringLiteral("message"), XmlText(o.where));
      xml.writeAttribute(QStringLiteral("type"), o.type);
      xml.writeCharacters(XmlText(o.result.message));
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  if (xml.hasError()) {
    problem = QStringLiteral("Der Bericht lässt sich nicht als XML schreiben.");
    return false;
  }
  return outputfile::Write(fileName, bytes, problem);
}

}  // namespace

int Test(const QString& project, const QStringList& options) {
  QString junit;
  QStringList files;
  for (qsizetype i = 0; i < options.size(); ++i) {
    if (options[i] == QStringLiteral("--junit")) {
      if (i + 1 >= options.size()) {
        TCliUserInterface::Print(QStringLiteral("Nach --junit fehlt der Name der XML-Datei."));
        return 2;
      }
      junit = options[++i];
    } else if (options[i].startsWith(QStringLiteral("--"))) {
      TCliUserInterface::Print(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(options[i]));
      return 2;
    } else {
      files << options[i];
    }
  }
  if (files.isEmpty()) {
    TCliUserInterface::Print(QStringLiteral("Geben Sie mindestens eine Szenariodatei an."));
    return 2;
  }
  // The report must not take the place of what the test reads.
  if (!junit.isEmpty()) {
    for (const QString& input : QStringList{project} + files)
      if (outputfile::SameFile(junit, input)) {
        TCliUserInterface::Print(
            QStringLiteral("Der Bericht %1 würde die Datei %2 überschreiben, die der Test liest.").arg(junit, input));
        return 2;
      }
  }
  std::unique_ptr<TTarvixPlusModel> model = LoadProject(project);
  if (!model) return 2;

  // Every scenario is read and checked before anything runs.
  TScenarioRunner runner(*model);
  std::vector<TScenario> scenarios(static_cast<size_t>(files.size()));
  bool readable = true;
  for (qsizetype i = 0; i < files.size(); ++i) {
    QString error;
    TScenario& s = scenarios[static_cast<size_t>(i)];
    if (!s.Read(files[i], error) || !runner.Resolve(s, error)) {
      TCliUserInterface::Print(error);
      readable = false;
    }
  }
  if (!readable) return 2;

  const bool compiled = CompileProject(*model);
  std::vector<Outcome> outcomes;
  int failed = 0;
  for (const TScenario& s : scenarios) {
    Outcome o;
    o.name = s.FileName();
    if (compiled) {
      o.result = runner.Run(s);
      o.type = QStringLiteral("expect");
      o.where = QStringLiteral("%1:%2: %3").arg(o.name).arg(o.result.line).arg(o.result.step);
    } else {
      o.result.passed = false;
      o.result.message = QStringLiteral("Das Projekt lässt sich nicht übersetzen.");
      o.type = QStringLiteral("compile");
      o.where = QStringLiteral("%1: %2").arg(o.name, o.result.message);
    }
    if (o.result.passed) {
      Out(QStringLiteral("PASS %1\n").arg(o.name));
    } else {
      ++failed;
      Out(QStringLiteral("FAIL %1\n").arg(o.where) + (compiled ? Indented(o.result.message) : QString()));
    }
    outcomes.push_back(o);
  }
  Out(QStringLiteral("%1 passed, %2 failed\n").arg(static_cast<int>(outcomes.size()) - failed).arg(failed));
  std::fflush(stdout);
  QString problem;
  if (!junit.isEmpty() && !WriteJUnit(junit, project, outcomes, failed, problem)) {
    TCliUserInterface::Print(QStringLiteral("Der JUnit-Bericht lässt sich nicht schreiben: %1").arg(problem));
    return 2;
  }
  return failed > 0 ? 1 : 0;
}

}  // namespace cli
