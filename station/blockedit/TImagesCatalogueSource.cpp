#include "TImagesCatalogueSource.h"

#include "images.h"

QByteArray TImagesCatalogueSource::BlockGroups() {
  const char* text = GetPlexorBlockGroups();
  return text ? QByteArray(text) : QByteArray();
}

std::optional<QByteArray> TImagesCatalogueSource::Blocks(const QByteArray& groupKey) {
  const char* text = GetPlexorBlocks(groupKey.constData());
  if (!text) return std::nullopt;
  return QByteArray(text);
}

std::optional<QByteArray> TImagesCatalogueSource::Bitmap(const QByteArray& name) {
  int32_t size = 0;
  const unsigned char* bytes = GetPlexorBitmap(name.constData(), &size);
  if (!bytes || size <= 0) return std::nullopt;
  return QByteArray(reinterpret_cast<const char*>(bytes), size);
}
