// The PNG pictures compiled into the library; the table is generated at
// build time from the SVG sources in images/svg (see render/).
#pragma once

#include <cstddef>
#include <cstdint>

struct EmbeddedBitmap {
  const char* name;  // resource name, upper case
  const unsigned char* data;
  int32_t size;
};

extern const EmbeddedBitmap kEmbeddedBitmaps[];
extern const size_t kEmbeddedBitmapCount;
