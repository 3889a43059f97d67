// TClipboard: the station's three private clipboard formats.
//
// Each format carries Windows-1252 text, lines joined by CR LF and ended by a
// zero byte, under a private MIME type of its own. Without a running
// QGuiApplication (command-line tools) the clipboard lives in the process.
#pragma once

#include <QString>
#include <QStringList>

class TClipboard {
 public:
  enum Format { kCell = 0, kBlocks = 1, kTable = 2 };

  // "Tarvix plus Cell", "Tarvix plus Blocks", "Tarvix plus Table".
  static QString FormatName(Format format);
  static QString MimeType(Format format);

  static void Put(Format format, const QStringList& lines);
  // False when the clipboard holds nothing of that format.
  static bool Get(Format format, QStringList& lines);
  static bool Has(Format format);
};
