// libimages: the block catalogue as the user sees it (groups, names, type
// ids) and the block pictures, for the station's block palette and cells.
//
// Texts are Windows-1252 bytes, lines separated by CR LF; every text and
// picture is owned by the library and stays valid while it is loaded.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define IMAGES_API __declspec(dllexport)
#else
#define IMAGES_API __attribute__((visibility("default")))
#endif

extern "C" {

// One line per group: key "|" caption. The key also names the group's
// bitmap and is the argument of GetPlexorBlocks.
IMAGES_API const char* GetPlexorBlockGroups(void);

// One line per block type of the group: glyph "|" picture "|" name "|"
// type id. An empty text for a null or unknown key. An empty picture field
// means the type has no picture (the station shows its parameter instead).
IMAGES_API const char* GetPlexorBlocks(const char* groupKey);

// The PNG bytes of the named picture (names compare without regard to ASCII
// case, as resource names do); null and *size 0 when there is none.
IMAGES_API const unsigned char* GetPlexorBitmap(const char* name, int32_t* size);

}
