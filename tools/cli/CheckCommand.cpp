// vorblen-cli check: runs the program checks over a project and prints the
// findings as text lines, JSON or SARIF 2.1.0 (for code-hosting sites that
// show findings on pull requests).
#include "CheckCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "CellBodyText.h"
#include "CliUserInterface.h"
#include "RegularFile.h"
#include "TCheckRules.h"
#include "TProjectChecker.h"
#include "TTarvixPlusModel.h"

namespace cli {
namespace {

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUnreadable = 2;

// Line numbers (1-based) of the "ID=n" lines of a project file: the cell
// and block records the findings point at.
QHash<int32_t, int> IdLines(const QString& project) {
  QHash<int32_t, int> lines;
  QByteArray bytes;
  QString problem;
  if (!regularfile::Read(project, regularfile::kMaxProjectBytes, bytes, problem)) return lines;
  const QStringList text = cellbody::LinesFromBytes(bytes);
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!text[i].startsWith(QLatin1String("ID="))) continue;
    bool ok = false;
    const int32_t id = text[i].mid(3).trimmed().toInt(&ok);
    if (ok && !lines.contains(id)) lines.insert(id, static_cast<int>(i + 1));
  }
  return lines;
}

QString CellName(const TTarvixPlusModel& model, const TFinding& f) {
  const TBlockList* cell = f.cellId ? model.FindCell(f.cellId) : nullptr;
  return cell ? cell->Name() : QString();
}

QString TextLine(const QString& project, const TTarvixPlusModel& model, const TFinding& f) {
  QString where;
  if (f.cellId) {
    where = QStringLiteral("cell \"%1\"").arg(CellName(model, f));
    if (f.blockId) where += QStringLiteral(", block %1").arg(f.BlockNumber());
    where += QStringLiteral(": ");
  }
  return QStringLiteral("%1: %2%3 %4: %5").arg(project, where, SeverityName(f.severity), f.code, f.text);
}

QJsonObject JsonFinding(const TTarvixPlusModel& model, const TFinding& f) {
  QJsonObject o{{QStringLiteral("code"), f.code},
                {QStringLiteral("severity"), SeverityName(f.severity)},
                {QStringLiteral("text"), f.text}};
  if (f.cellId) {
    o.insert(QStringLiteral("cell"), f.cellId);
    o.insert(QStringLiteral("cellName"), CellName(model, f));
  }
  if (f.blockId) o.insert(QStringLiteral("block"), f.BlockNumber());
  return o;
}

QString SarifLevel(TSeverity s) {
  switch (s) {
    case TSeverity::kFehler: return QStringLiteral("error");
    case TSeverity::kWarnung: return QStringLiteral("warning");
    case TSeverity::kHinweis: return QStringLiteral("note");
  }
  return QStringLiteral("error");
}

QJsonDocument Sarif(const QString& project, const TTarvixPlusModel& model, const std::vector<TFinding>& findings) {
  QJsonArray rules;
  QHash<QString, int> ruleIndex;
  for (const TCheckRule& rule : checkrules::All()) {
    ruleIndex.insert(QLatin1String(rule.code), static_cast<int>(rules.size()));
    rules.append(QJsonObject{
        {QStringLiteral("id"), QLatin1String(rule.code)},
        {QStringLiteral("name"), QString::fromUtf8(rule.title)},
        {QStringLiteral("shortDescription"), QJsonObject{{QStringLiteral("text"), QString::fromUtf8(rule.title)}}},
        {QStringLiteral("fullDescription"), QJsonObject{{QStringLiteral("text"), QString::fromUtf8(rule.help)}}},
        {QStringLiteral("help"), QJsonObject{{QStringLiteral("text"), QString::fromUtf8(rule.help)}}},
        {QStringLiteral("defaultConfiguration"), QJsonObject{{QStringLiteral("level"), SarifLevel(rule.severity)}}}});
  }
  // A relative path stays relative, so the site maps it onto its checkout.
  const QString uri = QString::fromUtf8(QUrl::toPercentEncoding(QDir::fromNativeSeparators(project), "/"));
  const QHash<int32_t, int> lines = IdLines(project);
  QJsonArray results;
  for (const TFinding& f : findings) {
    QJsonObject physical{{QStringLiteral("artifactLocation"), QJsonObject{{QStringLiteral("uri"), uri}}}};
    const int32_t id = f.blockId ? f.blockId : f.cellId;
    if (id && lines.contains(id))
      physical.insert(QStringLiteral("region"), QJsonObject{{QStringLiteral("startLine"), lines.value(id)}});
    QJsonObject location{{QStringLiteral("physicalLocation"), physical}};
    if (f.cellId) {
      QString name = CellName(model, f);
      if (f.blockId) name += QStringLiteral("/%1").arg(f.BlockNumber());
      location.insert(QStringLiteral("logicalLocations"),
                      QJsonArray{QJsonObject{{QStringLiteral("fullyQualifiedName"), name},
                                             {QStringLiteral("kind"), f.blockId ? QStringLiteral("member") : QStringLiteral("module")}}});
    }
    QJsonObject result{{QStringLiteral("ruleId"), f.code},
                       {QStringLiteral("level"), SarifLevel(f.severity)},
                       {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), f.text}}},
                       {QStringLiteral("locations"), QJsonArray{location}}};
    if (ruleIndex.contains(f.code)) result.insert(QStringLiteral("ruleIndex"), ruleIndex.value(f.code));
    results.append(result);
  }
  QJsonObject driver{{QStringLiteral("name"), QStringLiteral("vorblen-cli")},
                     {QStringLiteral("version"), QStringLiteral(VORBLEN_VERSION)},
                     {QStringLiteral("rules"), rules}};
  QJsonObject run{{QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
                  {QStringLiteral("results"), results}};
  return QJsonDocument(QJsonObject{{QStringLiteral("$schema"), QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
                                   {QStringLiteral("version"), QStringLiteral("2.1.0")},
                                   {QStringLiteral("runs"), QJsonArray{run}}});
}

int Wrong(const QString& problem) {
  TCliUserInterface::Print(problem);
  TCliUserInterface::Print(QStringLiteral("Aufruf: vorblen-cli check PROJEKT.tvp [--format text|json|sarif] [--werror]"));
  return kExitUnreadable;
}

}  // namespace

int Check(const QString& project, const QStringList& options) {
  QString format = QStringLiteral("text");
  bool werror = false;
  for (qsizetype i = 0; i < options.size(); ++i) {
    const QString& o = options[i];
    if (o == QLatin1String("--werror")) {
      werror = true;
    } else if (o == QLatin1String("--format") && i + 1 < options.size()) {
      format = options[++i];
    } else if (o.startsWith(QLatin1String("--format="))) {
      format = o.mid(9);
    } else {
      return Wrong(QStringLiteral("Unbekannte Angabe: %1").arg(o));
    }
  }
  if (format != QLatin1String("text") && format != QLatin1String("json") && format != QLatin1String("sarif"))
    return Wrong(QStringLiteral("Unbekanntes Format: %1").arg(format));

  if (!QFileInfo(project).isFile()) {
    TCliUserInterface::Print(QStringLiteral("Die Projektdatei %1 gibt es nicht!").arg(project));
    return kExitUnreadable;
  }
  // Content lost at loading was reported on standard error; the rest is
  // still worth checking.
  auto model = std::make_unique<TTarvixPlusModel>();
  if (!model->Open(project)) return kExitUnreadable;
  model->CommitViews();

  const std::vector<TFinding> findings = TProjectChecker::Check(*model);
  int errors = 0, warnings = 0, hints = 0;
  for (const TFinding& f : findings)
    (f.severity == TSeverity::kFehler ? errors : f.severity == TSeverity::kWarnung ? warnings : hints)++;

  QByteArray out;
  if (format == QLatin1String("text")) {
    for (const TFinding& f : findings) out += TextLine(project, *model, f).toUtf8() + '\n';
    TCliUserInterface::Print(QStringLiteral("%1: %2 Fehler, %3 Warnungen, %4 Hinweise").arg(project).arg(errors).arg(warnings).arg(hints));
  } else if (format == QLatin1String("json")) {
    QJsonArray list;
    for (const TFinding& f : findings) list.append(JsonFinding(*model, f));
    out = QJsonDocument(QJsonObject{{QStringLiteral("file"), project},
                                    {QStringLiteral("findings"), list},
                                    {QStringLiteral("errors"), errors},
                                    {QStringLiteral("warnings"), warnings},
                                    {QStringLiteral("hints"), hints}})
              .toJson();
  } else {
    out = Sarif(project, *model, findings).toJson();
  }
  std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
  std::fflush(stdout);
  return errors > 0 || (werror && warnings > 0) ? kExitFindings : kExitClean;
}

}  // namespace cli
