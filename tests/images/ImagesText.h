// Helpers for the images tests: the catalogue texts split into fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "images.h"

namespace images_test {

// Splits at CR LF exactly; an empty text gives no lines.
inline std::vector<std::string> Lines(const char* text) {
  std::vector<std::string> lines;
  if (text == nullptr || *text == '\0') return lines;
  std::string s(text);
  size_t start = 0;
  for (;;) {
    const size_t end = s.find("\r\n", start);
    lines.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t bar = line.find('|', start);
    fields.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return fields;
}

struct TypeLine {
  std::string group, glyph, picture, name;
  int32_t typeId;
};

// Every type line of every group, in palette order.
inline std::vector<TypeLine> AllTypes() {
  std::vector<TypeLine> all;
  for (const std::string& g : Lines(GetPlexorBlockGroups())) {
    const std::string key = Fields(g)[0];
    for (const std::string& t : Lines(GetPlexorBlocks(key.c_str()))) {
      const std::vector<std::string> f = Fields(t);
      if (f.size() != 4) continue;
      all.push_back({key, f[0], f[1], f[2], std::stoi(f[3])});
    }
  }
  return all;
}

// Type ids whose blocks are drawn as a labelled box showing their parameter.
inline bool IsParameterBlock(int32_t typeId) {
  static const int32_t kIds[] = {700, 701, 702, 703, 704, 1000, 1001, 1003, 1004, 209, 900};
  for (int32_t id : kIds)
    if (id == typeId) return true;
  return false;
}

}  // namespace images_test
