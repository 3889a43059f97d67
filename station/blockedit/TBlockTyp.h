// One block type of the catalogue: type id, palette hint, the names of its
// glyph and cell picture, and the picture once loaded (shared by all blocks
// of the type).
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

struct TBlockTyp {
  int32_t typeId = 0;
  QString name;
  QString pictureName;
  QString glyphName;
  // Filled on first use by TBlockCatalogue::Picture; null when the type has
  // no picture (then its blocks are drawn as labelled rectangles).
  std::shared_ptr<const QImage> picture;
  bool pictureLoaded = false;
};
