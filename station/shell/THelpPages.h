// THelpPages: the pages of the station's help. Topic pages are German HTML
// kept in the program's resources, one per help context the windows open;
// every block type of the catalogue gets a page made from the catalogue and
// the engine (picture, inputs, output, parameter) with a description of what
// the block does. The help viewer shows them; tests read them here.
//
// Addresses: "help:contents", "help:page/<name>", "help:block/<type id>",
// pictures "help:picture/<type id>".
#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <QVector>
#include <cstdint>

class THelpPages {
 public:
  struct Topic {
    int32_t context;   // 0: a page reached from the contents only
    const char* name;  // the page's file in the help resources, without ".html"
  };
  struct IndexEntry {
    QString keyword;
    QUrl url;
  };

  // Every topic page, the windows' F1 contexts first.
  static const QVector<Topic>& Topics();

  // The page a help context opens: a topic page, the page of the block type
  // with that id, or the contents for any other number.
  static QUrl UrlFor(int32_t context);
  static QUrl ContentsUrl() { return QUrl(QStringLiteral("help:contents")); }

  // The page at an address; empty for an unknown one.
  static QString Html(const QUrl& url);
  static QString Title(const QUrl& url);
  // A block type's picture; null when it has none.
  static QImage Image(const QUrl& url);

  // Keywords of all pages, sorted.
  static QVector<IndexEntry> Index();

  // What a block type does, from the station's descriptions; empty for a
  // type without one.
  static QString BlockDescription(int32_t typeId);
};
