// The catalogue source of the station: the images library's three exports.
#pragma once

#include "TBlockCatalogueSource.h"

class TImagesCatalogueSource final : public TBlockCatalogueSource {
 public:
  QByteArray BlockGroups() override;
  std::optional<QByteArray> Blocks(const QByteArray& groupKey) override;
  std::optional<QByteArray> Bitmap(const QByteArray& name) override;
};
