// Small helpers for tests that drive the engine through its exports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plexor.h"

namespace vt {

// An engine object that is destroyed with the test.
class Engine {
 public:
  Engine() : h_(PlexorCreate()) {}
  ~Engine() { PlexorDestroy(h_); }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  operator PlexorHandle() const { return h_; }
  PlexorHandle get() const { return h_; }

 private:
  PlexorHandle h_;
};

constexpr int32_t Bid(int32_t page, int32_t number) { return static_cast<int32_t>((static_cast<uint32_t>(page) << 16) | static_cast<uint32_t>(number)); }

// Adds a block and, when param is given, sets its parameter.
inline int32_t Add(PlexorHandle e, int32_t type, int32_t page, int32_t number, const char* param = nullptr) {
  int32_t id = Bid(page, number);
  if (!PlexorAddBlock(e, type, id)) return 0;
  if (param) PlexorSetBlockParam(e, id, param);
  return id;
}

inline int32_t Wire(PlexorHandle e, int32_t source, int32_t target, int32_t input = -1) {
  return PlexorConnectBlocks(e, source, target, input);
}

// Runs Init, Compile, the tables and Done. Returns 0 on success, the result of
// PlexorCompile when it failed, or -100 when a table or Done failed.
inline int32_t CompileAll(PlexorHandle e, const std::vector<std::pair<std::string, std::string>>& tables = {}) {
  if (!PlexorCompilerInit(e)) return -100;
  int32_t r = PlexorCompile(e);
  if (r != 0) return r;
  for (const auto& [name, text] : tables)
    if (!PlexorLoadTable(e, name.c_str(), text.c_str())) return -100;
  return PlexorCompilerDone(e) ? 0 : -100;
}

}  // namespace vt
