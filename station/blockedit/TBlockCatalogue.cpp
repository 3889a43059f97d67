#include "TBlockCatalogue.h"

#include <QList>

#include "EngineText.h"
#include "UserInterface.h"

namespace {

QString FromBytes(const QByteArray& bytes) {
  return enginetext::ToQString(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QByteArray ToBytes(const QString& text) {
  const std::string bytes = enginetext::ToBytes(text);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QList<QByteArray> SplitLines(const QByteArray& text) {
  QList<QByteArray> lines = text.split('\n');
  for (QByteArray& line : lines)
    if (line.endsWith('\r')) line.chop(1);
  while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

void ReportMissingBitmap(const QString& name) {
  TUserInterface::Current().ErrorBox(QStringLiteral("Interner Fehler:\r\nKonnte Bitmap %1 nicht finden!").arg(name));
}

}  // namespace

// The resources of a static library are registered explicitly.
static void InitStationResources() { Q_INIT_RESOURCE(blockedit); }

TBlockCatalogue& TBlockCatalogue::Instance() {
  static TBlockCatalogue catalogue;
  return catalogue;
}

void TBlockCatalogue::Clear() {
  groups_.clear();
  types_.clear();
  source_.reset();
}

void TBlockCatalogue::Load(std::unique_ptr<TBlockCatalogueSource> source) {
  Clear();
  source_ = std::move(source);
  if (!source_) return;
  for (const QByteArray& line : SplitLines(source_->BlockGroups())) {
    auto group = std::make_unique<TBlockGroupItem>();
    const qsizetype bar = line.indexOf('|');
    if (bar >= 0) {
      group->key = FromBytes(line.left(bar));
      group->caption = FromBytes(line.mid(bar + 1, 255));
    }
    groups_.push_back(std::move(group));
  }
  for (auto& group : groups_) {
    group->bitmap = LoadBitmap(group->key);
    if (group->bitmap.isNull()) {
      ReportMissingBitmap(group->key);
      group->bitmap = StationBitmap(QStringLiteral("BLOCK_BMP_ERROR"));
    }
    LoadGroup(*group);
  }
}

void TBlockCatalogue::LoadGroup(TBlockGroupItem& group) {
  const std::optional<QByteArray> text = source_->Blocks(ToBytes(group.key));
  if (!text || text->size() < 3) return;
  for (const QByteArray& line : SplitLines(*text)) {
    const QList<QByteArray> parts = line.split('|');
    if (parts.size() < 4) return;
    bool ok = false;
    // The type id is everything after the third bar.
    const int id = line.mid(line.indexOf('|', line.indexOf('|', line.indexOf('|') + 1) + 1) + 1).trimmed().toInt(&ok, 10);
    if (!ok) return;
    if (types_.count(id)) {
      TUserInterface::Current().ErrorBox(QStringLiteral("Blocktyp-ID %1 mehrfach gefunden!").arg(id));
      continue;
    }
    auto type = std::make_unique<TBlockTyp>();
    type->typeId = id;
    type->glyphName = FromBytes(parts[0]);
    type->pictureName = FromBytes(parts[1]);
    type->name = FromBytes(parts[2]);
    group.types.emplace_back(type->name, type.get());
    types_.emplace(id, std::move(type));
  }
}

const TBlockTyp* TBlockCatalogue::FindType(int32_t typeId) const {
  const auto it = types_.find(typeId);
  return it == types_.end() ? nullptr : it->second.get();
}

std::shared_ptr<const QImage> TBlockCatalogue::Picture(int32_t typeId) {
  const auto it = types_.find(typeId);
  if (it == types_.end()) return nullptr;
  TBlockTyp& type = *it->second;
  if (!type.pictureLoaded) {
    type.pictureLoaded = true;
    if (!type.pictureName.isEmpty()) {
      QImage image = LoadBitmap(type.pictureName);
      if (image.isNull()) {
        ReportMissingBitmap(type.pictureName);
        image = StationBitmap(QStringLiteral("BLOCK_BMP_ERROR"));
      }
      if (!image.isNull()) type.picture = std::make_shared<const QImage>(MagentaToTransparent(image));
    }
  }
  return type.picture;
}

QImage TBlockCatalogue::Glyph(int32_t typeId) {
  const TBlockTyp* type = FindType(typeId);
  if (!type) return {};
  return LoadBitmap(type->glyphName);
}

QImage TBlockCatalogue::LoadBitmap(const QString& name) const {
  if (!source_ || name.isEmpty()) return {};
  const std::optional<QByteArray> bytes = source_->Bitmap(ToBytes(name));
  if (!bytes) return {};
  QImage image;
  image.loadFromData(*bytes);
  return image;
}

QImage TBlockCatalogue::StationBitmap(const QString& name) {
  InitStationResources();
  return QImage(QStringLiteral(":/blockedit/") + name);
}

QImage TBlockCatalogue::MagentaToTransparent(const QImage& image) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & 0x00FFFFFFu) == 0x00FF00FFu) row[x] = 0;
  }
  return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
