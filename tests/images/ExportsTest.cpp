// The library exports the three catalogue functions and nothing else.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

TEST(ImagesExports, OnlyTheThreeFunctions) {
  const std::string command = std::string("nm -D --defined-only '") + IMAGES_LIBRARY_FILE + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buf[512];
  while (fgets(buf, sizeof buf, pipe) != nullptr) output += buf;
  const int status = pclose(pipe);
  if (status != 0 && output.empty()) GTEST_SKIP() << "nm is not available";

  std::set<std::string> exported;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (!(fields >> address >> type >> name)) continue;
    exported.insert(name);
  }
  EXPECT_EQ(exported, (std::set<std::string>{"GetPlexorBitmap", "GetPlexorBlockGroups", "GetPlexorBlocks"}));
}
