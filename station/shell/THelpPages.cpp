#include "THelpPages.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>

#include "EngineText.h"
#include "TCheckRules.h"
#include "TBlockCatalogue.h"
#include "plexor.h"

// The resources of a static library are registered by hand, at global scope.
static void InitHelpResources() { Q_INIT_RESOURCE(shellhelp); }

namespace {

const QLatin1String kScheme("help");
constexpr int32_t kHelpCell = 1;
constexpr int32_t kHelpBlock = (kHelpCell << 16) | 1;
constexpr int32_t kProbeBlock = (kHelpCell << 16) | 2;
constexpr int32_t kConstantType = 700;  // a source for counting inputs

QString ResourceText(const QString& path) {
  InitHelpResources();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QString PageText(const QString& name) {
  // The program checks' page is made from their rule table, so it never lags behind.
  if (name == QLatin1String("pruefung")) return checkrules::HelpPageHtml();
  return ResourceText(QStringLiteral(":/shell/help/%1.html").arg(name));
}

QString TitleOf(const QString& html) {
  static const QRegularExpression kTitle(QStringLiteral("<title>(.*?)</title>"),
                                         QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch m = kTitle.match(html);
  return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QStringList KeywordsOf(const QString& html) {
  static const QRegularExpression kKeywords(QStringLiteral("<meta name=\"keywords\" content=\"([^\"]*)\""));
  const QRegularExpressionMatch m = kKeywords.match(html);
  QStringList words;
  if (!m.hasMatch()) return words;
  for (const QString& w : m.captured(1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) words << w.trimmed();
  return words;
}

// The part of an address after the scheme: "page/projekt" -> ("page", "projekt").
std::pair<QString, QString> Split(const QUrl& url) {
  if (url.scheme() != kScheme) return {};
  const QString path = url.path();
  const qsizetype slash = path.indexOf(QLatin1Char('/'));
  if (slash < 0) return {path, QString()};
  return {path.left(slash), path.mid(slash + 1)};
}

const TBlockTyp* TypeOf(const QString& id) {
  bool ok = false;
  const int32_t typeId = id.toInt(&ok);
  return ok ? TBlockCatalogue::Instance().FindType(typeId) : nullptr;
}

QString GroupOf(int32_t typeId) {
  for (const auto& group : TBlockCatalogue::Instance().Groups())
    for (const auto& entry : group->types)
      if (entry.second && entry.second->typeId == typeId) return group->caption;
  return {};
}

QString Page(const QString& title, const QString& body) {
  return QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>").arg(title.toHtmlEscaped(), body);
}

// What the engine tells about a fresh block of the type.
struct BlockFacts {
  QStringList inputs;  // the input menu's captions (blocks with several inputs)
  int inputCount = 0;
  bool output = false;
  bool hasParam = false;
  QString param;
  QString symbol;
};

BlockFacts AskEngine(int32_t typeId) {
  BlockFacts facts;
  PlexorHandle engine = PlexorCreate();
  if (!engine) return facts;
  PlexorAddPage(engine, kHelpCell, 0);
  if (PlexorAddBlock(engine, typeId, kHelpBlock)) {
    const QString menu = enginetext::ToQString(PlexorGetBlockInputMenu(engine, kHelpBlock));
    static const QRegularExpression kLines(QStringLiteral("[\\r\\n]+"));
    facts.inputs = menu.split(kLines, Qt::SkipEmptyParts);
    // The menu names inputs only where there is a choice; the flags of a
    // source count every input, also a single one.
    if (PlexorAddBlock(engine, kConstantType, kProbeBlock)) {
      const char* flags = PlexorGetBlockInputMenuFlags(engine, kProbeBlock, kHelpBlock);
      facts.inputCount = flags ? static_cast<int>(std::strlen(flags)) : 0;
      PlexorRemoveBlock(engine, kProbeBlock);
    }
    facts.inputCount = std::max(facts.inputCount, static_cast<int>(facts.inputs.size()));
    facts.output = PlexorCanConnectBlocks(engine, kHelpBlock, 0) != 0;
    const char* param = PlexorGetBlockParam(engine, kHelpBlock);
    facts.hasParam = param != nullptr;
    facts.param = enginetext::ToQString(param);
    facts.symbol = enginetext::ToQString(PlexorGetSymbolicName(engine, kHelpBlock));
  }
  PlexorDestroy(engine);
  return facts;
}

QString BlockHtml(const TBlockTyp& type) {
  const BlockFacts facts = AskEngine(type.typeId);
  const QString name = type.name.toHtmlEscaped();
  QString body = QStringLiteral("<h1>%1</h1>").arg(name);
  body += QStringLiteral("<p>Gruppe \"%1\", Blocktyp %2</p>").arg(GroupOf(type.typeId).toHtmlEscaped()).arg(type.typeId);
  const auto picture = TBlockCatalogue::Instance().Picture(type.typeId);
  if (!picture) {
    body += QStringLiteral("<p><i>Dieser Block zeigt in der Zelle seinen Parameter statt eines Bildes.</i></p>");
  } else {
    // Twice the cell size: the pictures are small.
    body += QStringLiteral("<p><img src=\"help:picture/%1\" width=\"%2\" height=\"%3\"></p>")
                .arg(type.typeId)
                .arg(picture->width() * 2)
                .arg(picture->height() * 2);
  }

  body += QStringLiteral("<h2>Was der Block tut</h2><p>%1</p>")
              .arg(THelpPages::BlockDescription(type.typeId).toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));

  body += QStringLiteral("<h2>Eingänge</h2>");
  if (facts.inputCount == 0) {
    body += QStringLiteral("<p>Der Block hat keine Eingänge.</p>");
  } else if (facts.inputs.isEmpty()) {
    body += facts.inputCount == 1 ? QStringLiteral("<p>Der Block hat einen Eingang.</p>")
                                  : QStringLiteral("<p>Der Block hat %1 Eingänge.</p>").arg(facts.inputCount);
  } else {
    body += QStringLiteral("<ul>");
    for (const QString& input : facts.inputs) body += QStringLiteral("<li>%1</li>").arg(input.toHtmlEscaped());
    body += QStringLiteral("</ul>");
    if (facts.inputs.size() > 1)
      body += QStringLiteral("<p>Beim Verbinden fragt die Station mit einem Menü, an welchen Eingang die Verbindung gehört.</p>");
  }

  body += QStringLiteral("<h2>Ausgang</h2><p>%1</p>")
              .arg(facts.output ? QStringLiteral("Der Block liefert einen Wert, den Sie mit den Eingängen anderer Blöcke verbinden können.")
                                : QStringLiteral("Der Block liefert keinen Wert; von ihm geht keine Verbindung aus."));

  body += QStringLiteral("<h2>Parameter</h2>");
  if (!facts.hasParam) {
    body += QStringLiteral("<p>Der Block hat keinen Parameter.</p>");
  } else {
    body += QStringLiteral("<p>Den Parameter stellen Sie über \"Eigenschaften...\" im Kontextmenü des Blocks ein.");
    if (!facts.param.isEmpty()) body += QStringLiteral(" Vorgabe bei einem neuen Block: <tt>%1</tt>").arg(facts.param.toHtmlEscaped());
    body += QStringLiteral("</p>");
  }
  if (!facts.symbol.isEmpty())
    body += QStringLiteral("<h2>Variable</h2><p>Im Variablenfenster und in der Codeliste heißt der Block <tt>%1</tt>. "
                           "\"Blockinhalt überwachen\" im Kontextmenü nimmt ihn in die Liste der überwachten Variablen auf.</p>")
                .arg(facts.symbol.toHtmlEscaped());
  body += QStringLiteral("<p>Siehe auch: <a href=\"help:page/zelleneditor\">Programmzelleneditor</a>, "
                         "<a href=\"help:contents\">Inhalt</a></p>");
  return Page(type.name, body);
}

QString ContentsHtml() {
  QString body = QStringLiteral("<h1>Hilfe zur Marlix Tarvix Station</h1><h2>Themen</h2><ul>");
  for (const THelpPages::Topic& topic : THelpPages::Topics()) {
    const QUrl url(QStringLiteral("help:page/%1").arg(QLatin1String(topic.name)));
    body += QStringLiteral("<li><a href=\"%1\">%2</a></li>").arg(url.toString(), THelpPages::Title(url).toHtmlEscaped());
  }
  body += QStringLiteral("</ul><h2>Blocktypen</h2>");
  const auto& groups = TBlockCatalogue::Instance().Groups();
  if (groups.empty()) body += QStringLiteral("<p>Der Blockkatalog ist nicht geladen.</p>");
  for (const auto& group : groups) {
    body += QStringLiteral("<h3>%1</h3><ul>").arg(group->caption.toHtmlEscaped());
    for (const auto& entry : group->types)
      if (entry.second)
        body += QStringLiteral("<li><a href=\"help:block/%1\">%2</a></li>").arg(entry.second->typeId).arg(entry.first.toHtmlEscaped());
    body += QStringLiteral("</ul>");
  }
  return Page(QStringLiteral("Inhalt"), body);
}

}  // namespace

const QVector<THelpPages::Topic>& THelpPages::Topics() {
  static const QVector<Topic> topics{
      {9000, "projekt"},     {10000, "zelleneditor"}, {12000, "variablen"},  {13000, "ausgabe"},
      {14000, "daten"},      {15000, "ports"},        {17000, "tasten"},     {20000, "optionen"},
      {7000, "kommentar"},   {0, "simulation"},       {0, "tabellen"},       {0, "uebertragen"},
      {0, "tastenkuerzel"}, {0, "pruefung"},
  };
  return topics;
}

QUrl THelpPages::UrlFor(int32_t context) {
  if (context != 0)
    for (const Topic& topic : Topics())
      if (topic.context == context) return QUrl(QStringLiteral("help:page/%1").arg(QLatin1String(topic.name)));
  if (TBlockCatalogue::Instance().FindType(context)) return QUrl(QStringLiteral("help:block/%1").arg(context));
  return ContentsUrl();
}

QString THelpPages::Html(const QUrl& url) {
  const auto [kind, name] = Split(url);
  if (kind == QLatin1String("contents")) return ContentsHtml();
  if (kind == QLatin1String("page")) {
    for (const Topic& topic : Topics())
      if (name == QLatin1String(topic.name)) return PageText(name);
    return {};
  }
  if (kind == QLatin1String("block"))
    if (const TBlockTyp* type = TypeOf(name)) return BlockHtml(*type);
  return {};
}

QString THelpPages::Title(const QUrl& url) {
  const auto [kind, name] = Split(url);
  if (kind == QLatin1String("contents")) return QStringLiteral("Inhalt");
  if (kind == QLatin1String("block")) {
    const TBlockTyp* type = TypeOf(name);
    return type ? type->name : QString();
  }
  return TitleOf(Html(url));
}

QImage THelpPages::Image(const QUrl& url) {
  const auto [kind, name] = Split(url);
  if (kind != QLatin1String("picture")) return {};
  const TBlockTyp* type = TypeOf(name);
  if (!type) return {};
  const auto picture = TBlockCatalogue::Instance().Picture(type->typeId);
  return picture ? *picture : QImage();
}

QVector<THelpPages::IndexEntry> THelpPages::Index() {
  QVector<IndexEntry> entries;
  for (const Topic& topic : Topics()) {
    const QUrl url(QStringLiteral("help:page/%1").arg(QLatin1String(topic.name)));
    const QString html = Html(url);
    entries.append({TitleOf(html), url});
    for (const QString& word : KeywordsOf(html)) entries.append({word, url});
  }
  for (const auto& group : TBlockCatalogue::Instance().Groups())
    for (const auto& entry : group->types)
      if (entry.second) entries.append({entry.first, QUrl(QStringLiteral("help:block/%1").arg(entry.second->typeId))});
  std::stable_sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) {
    return QString::localeAwareCompare(a.keyword, b.keyword) < 0;
  });
  return entries;
}

QString THelpPages::BlockDescription(int32_t typeId) {
  static const QHash<int32_t, QString> descriptions = [] {
    QHash<int32_t, QString> map;
    const QString text = ResourceText(QStringLiteral(":/shell/help/blocks.txt"));
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
      if (line.startsWith(QLatin1Char('#'))) continue;
      const qsizetype bar = line.indexOf(QLatin1Char('|'));
      bool ok = false;
      const int32_t id = line.left(bar).toInt(&ok);
      if (bar > 0 && ok) map.insert(id, line.mid(bar + 1).trimmed().replace(QLatin1String("\\n"), QLatin1String("\n")));
    }
    return map;
  }();
  return descriptions.value(typeId);
}
