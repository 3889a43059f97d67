// TBlockCatalogue: the process-wide lists of block groups and block types,
// read from a catalogue source at start, and the pictures of the types.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "TBlockCatalogueSource.h"
#include "TBlockGroupItem.h"
#include "TBlockTyp.h"

class TBlockCatalogue {
 public:
  static TBlockCatalogue& Instance();

  // Reads groups and types from the source, which stays in use for loading
  // pictures until Clear. Duplicate type ids are reported and dropped.
  void Load(std::unique_ptr<TBlockCatalogueSource> source);
  // Frees all groups and types (at exit, or between tests).
  void Clear();

  const std::vector<std::unique_ptr<TBlockGroupItem>>& Groups() const { return groups_; }
  const TBlockTyp* FindType(int32_t typeId) const;

  // The cell picture of a type, loaded on first use; null for an unknown
  // type or an empty picture name. A picture the library does not have is
  // reported and replaced by the station's "BLOCK_BMP_ERROR".
  std::shared_ptr<const QImage> Picture(int32_t typeId);
  // The palette glyph (normal and disabled side by side); null image if missing.
  QImage Glyph(int32_t typeId);

  // A picture of the library by name, decoded; null image when missing.
  QImage LoadBitmap(const QString& name) const;
  // The station's own pictures from its resources ("BLOCK_BMP_ERROR", ...).
  static QImage StationBitmap(const QString& name);
  // A picture with its magenta (0xFF00FF) pixels made transparent, so that
  // painting it over the block background replaces them by that colour.
  static QImage MagentaToTransparent(const QImage& image);

 private:
  void LoadGroup(TBlockGroupItem& group);

  std::unique_ptr<TBlockCatalogueSource> source_;
  std::vector<std::unique_ptr<TBlockGroupItem>> groups_;
  std::map<int32_t, std::unique_ptr<TBlockTyp>> types_;
};
