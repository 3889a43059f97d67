// The block catalogue as the palette shows it: groups in palette order and
// every engine block type in exactly one of them.
#pragma once

#include <cstddef>
#include <cstdint>

struct BlockGroup {
  const char* key;      // also the name of the group's bitmap
  const char* caption;  // Windows-1252
};

struct BlockType {
  int32_t typeId;
  uint8_t group;      // index into kBlockGroups
  bool hasPicture;    // false: the station shows the parameter in a yellow box
  const char* name;   // palette hint, Windows-1252, without "|"
};

extern const BlockGroup kBlockGroups[];
extern const size_t kBlockGroupCount;
extern const BlockType kBlockTypes[];
extern const size_t kBlockTypeCount;
