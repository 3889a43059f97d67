// The three exports of libimages. The texts are built once, on first use,
// from the catalogue table and stay alive until the library is unloaded.

#include "images.h"

#include <string>
#include <vector>

#include "BlockCatalogue.h"
#include "EmbeddedBitmaps.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

struct CatalogueTexts {
  std::string groups;
  std::vector<std::string> blocks;  // per group, in kBlockGroups order
};

const CatalogueTexts& Texts() {
  static const CatalogueTexts texts = [] {
    CatalogueTexts t;
    t.blocks.resize(kBlockGroupCount);
    for (size_t g = 0; g < kBlockGroupCount; ++g) {
      if (g > 0) t.groups += kLineEnd;
      t.groups += std::string(kBlockGroups[g].key) + "|" + kBlockGroups[g].caption;
    }
    for (size_t i = 0; i < kBlockTypeCount; ++i) {
      const BlockType& type = kBlockTypes[i];
      std::string& text = t.blocks[type.group];
      const std::string id = std::to_string(type.typeId);
      if (!text.empty()) text += kLineEnd;
      text += "GLYPH_" + id + "|";
      if (type.hasPicture) text += "BLOCK_" + id;
      text += std::string("|") + type.name + "|" + id;
    }
    return t;
  }();
  return texts;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Resource names compare like the platform's: ASCII letters without case.
bool SameName(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (AsciiUpper(*a) != AsciiUpper(*b)) return false;
  return *a == *b;
}

}  // namespace

extern "C" {

const char* GetPlexorBlockGroups(void) { return Texts().groups.c_str(); }

const char* GetPlexorBlocks(const char* groupKey) {
  static const char kNone[] = "";
  if (groupKey == nullptr) return kNone;
  for (size_t g = 0; g < kBlockGroupCount; ++g)
    if (SameName(groupKey, kBlockGroups[g].key)) return Texts().blocks[g].c_str();
  return kNone;
}

const unsigned char* GetPlexorBitmap(const char* name, int32_t* size) {
  if (size != nullptr) *size = 0;
  if (name == nullptr) return nullptr;
  for (size_t i = 0; i < kEmbeddedBitmapCount; ++i) {
    if (!SameName(name, kEmbeddedBitmaps[i].name)) continue;
    if (size != nullptr) *size = kEmbeddedBitmaps[i].size;
    return kEmbeddedBitmaps[i].data;
  }
  return nullptr;
}

}  // extern "C"
