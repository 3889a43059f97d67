// The catalogue texts: line format, German captions as Windows-1252, and
// every engine block type in exactly one group.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "Block.h"
#include "BlockFactory.h"
#include "ImagesText.h"

using namespace images_test;

namespace {

// A bare CR or LF would split a line for the station's reader.
void ExpectNoStrayLineBreak(const char* text) {
  const std::string s(text);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      ASSERT_LT(i + 1, s.size());
      EXPECT_EQ(s[i + 1], '\n') << "bare CR at " << i;
    } else if (s[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(s[i - 1], '\r') << "bare LF at " << i;
    }
  }
  EXPECT_FALSE(s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0)
      << "a trailing line break reads as one more, empty line";
}

// UTF-8 would show as two characters each in a Windows-1252 text.
bool LooksLikeUtf8(const std::string& s) {
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    const auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    if ((a == 0xC2 || a == 0xC3) && b >= 0x80 && b <= 0xBF) return true;
  }
  return false;
}

}  // namespace

TEST(ImagesCatalogue, GroupLinesHaveKeyAndCaption) {
  const char* text = GetPlexorBlockGroups();
  ASSERT_NE(text, nullptr);
  ExpectNoStrayLineBreak(text);
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 10u);
  std::set<std::string> keys;
  for (const std::string& line : lines) {
    const auto f = Fields(line);
    ASSERT_EQ(f.size(), 2u) << line;
    EXPECT_FALSE(f[0].empty()) << line;
    EXPECT_FALSE(f[1].empty()) << line;
    EXPECT_LE(f[1].size(), 255u);
    EXPECT_FALSE(LooksLikeUtf8(f[1])) << line;
    for (char c : f[0]) EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) || c == '_') << f[0];
    EXPECT_TRUE(keys.insert(f[0]).second) << "duplicate key " << f[0];
  }
  EXPECT_EQ(Fields(lines[0])[1], "Ein- und Ausg\xE4nge");
  EXPECT_EQ(Fields(lines[9])[1], "Programmablauf");
  // The texts belong to the library and do not move between calls.
  EXPECT_EQ(GetPlexorBlockGroups(), text);
}

TEST(ImagesCatalogue, TypeLinesHaveFourFields) {
  for (const std::string& g : Lines(GetPlexorBlockGroups())) {
    const std::string key = Fields(g)[0];
    const char* text = GetPlexorBlocks(key.c_str());
    ASSERT_NE(text, nullptr);
    ASSERT_GE(std::string(text).size(), 3u) << "group " << key << " has no types";
    ExpectNoStrayLineBreak(text);
    EXPECT_EQ(GetPlexorBlocks(key.c_str()), text);
    for (const std::string& line : Lines(text)) {
      const auto f = Fields(line);
      ASSERT_EQ(f.size(), 4u) << line;
      EXPECT_FALSE(f[0].empty()) << line;
      EXPECT_FALSE(f[2].empty()) << line;
      EXPECT_FALSE(LooksLikeUtf8(f[2])) << line;
      ASSERT_FALSE(f[3].empty()) << line;
      for (char c : f[3]) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << line;
    }
  }
}

TEST(ImagesCatalogue, EveryEngineTypeInExactlyOneGroup) {
  std::map<int32_t, std::string> seen;
  for (const TypeLine& t : AllTypes())
    EXPECT_TRUE(seen.emplace(t.typeId, t.group).second)
        << t.typeId << " in " << seen[t.typeId] << " and " << t.group;
  const auto& known = KnownBlockTypes();
  EXPECT_EQ(seen.size(), known.size());
  for (int32_t id : known) EXPECT_EQ(seen.count(id), 1u) << "type " << id << " is in no group";
  for (const auto& [id, group] : seen) {
    std::unique_ptr<CBlock> probe(CreateBlock(id, 0x00010001));
    EXPECT_NE(probe, nullptr) << "group " << group << " offers type " << id << " the engine does not know";
  }
}

TEST(ImagesCatalogue, GermanNamesAsWindows1252) {
  std::map<int32_t, std::string> names;
  for (const TypeLine& t : AllTypes()) names[t.typeId] = t.name;
  EXPECT_EQ(names[402], "gr\xF6\xDF" "er a > b");
  EXPECT_EQ(names[805], "Datei schlie\xDF" "en");
  EXPECT_EQ(names[130], "Digitalport P1");
  EXPECT_EQ(names[119], "Leuchtdiode LED4");
}

TEST(ImagesCatalogue, ParameterBlocksHaveNoPicture) {
  for (const TypeLine& t : AllTypes()) {
    if (IsParameterBlock(t.typeId))
      EXPECT_TRUE(t.picture.empty()) << t.typeId;
    else
      EXPECT_FALSE(t.picture.empty()) << t.typeId;
  }
}

TEST(ImagesCatalogue, UnknownGroupKeysGiveNoTypes) {
  auto none = [](const char* text) { return text == nullptr || std::string(text).size() < 3; };
  EXPECT_TRUE(none(GetPlexorBlocks(nullptr)));
  EXPECT_TRUE(none(GetPlexorBlocks("")));
  EXPECT_TRUE(none(GetPlexorBlocks("GROUP")));
  EXPECT_TRUE(none(GetPlexorBlocks("GROUP_IO ")));
  EXPECT_TRUE(none(GetPlexorBlocks("GROUP_IOX")));
  EXPECT_TRUE(none(GetPlexorBlocks("Ein- und Ausg\xE4nge")));
  EXPECT_TRUE(none(GetPlexorBlocks("\xFF\xFE|\r\n")));
  const std::string huge(100000, 'G');
  EXPECT_TRUE(none(GetPlexorBlocks(huge.c_str())));
  // Keys compare like resource names, without regard to case.
  EXPECT_STREQ(GetPlexorBlocks("group_io"), GetPlexorBlocks("GROUP_IO"));
}
