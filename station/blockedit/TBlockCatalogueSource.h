// Where the block catalogue comes from: the images library in the station,
// a fake in the tests. Texts are the library's Windows-1252 bytes.
#pragma once

#include <QByteArray>
#include <optional>

class TBlockCatalogueSource {
 public:
  virtual ~TBlockCatalogueSource() = default;
  // Lines "key|caption" separated by CR LF.
  virtual QByteArray BlockGroups() = 0;
  // Lines "glyph|picture|name|typeid"; nullopt when the library answers null.
  virtual std::optional<QByteArray> Blocks(const QByteArray& groupKey) = 0;
  // The encoded picture (PNG or BMP) of that name; nullopt when there is none.
  virtual std::optional<QByteArray> Bitmap(const QByteArray& name) = 0;
};
