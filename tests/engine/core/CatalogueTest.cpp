#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Block.h"
#include "BlockFactory.h"
#include "EngineFixture.h"
#include "MemoryBlocks.h"
#include "Plexor.h"
#include "SourceBlocks.h"

namespace {

using vt::Bid;
using vt::Engine;

struct Row {
  int32_t type;
  int outputKind;
  int inputCount;
  const char* menu;
  bool userBitmap;
  const char* param;  // default parameter, or nullptr
};

// The factory table as the station relies on it.
const Row kRows[] = {
    {105, 1, 0, nullptr, true, nullptr},    {108, 0, 3, "a\r\nb\r\nc\r\n", false, ""},
    {110, 1, 1, nullptr, true, nullptr},    {111, 1, 1, nullptr, true, nullptr},
    {112, 1, 0, nullptr, true, nullptr},    {115, 1, 0, nullptr, true, nullptr},
    {116, 1, 1, nullptr, false, nullptr},   {119, 1, 1, nullptr, false, nullptr},
    {120, 1, 0, nullptr, false, nullptr},   {121, 1, 0, nullptr, false, nullptr},
    {122, 1, 0, nullptr, false, nullptr},   {123, 1, 0, nullptr, false, nullptr},
    {124, 1, 0, nullptr, true, nullptr},    {127, 1, 0, nullptr, true, nullptr},
    {130, 1, 1, nullptr, true, nullptr},    {135, 1, 1, nullptr, true, nullptr},
    {200, 1, 20, nullptr, false, nullptr},  {201, 1, -2, "a\r\nb\r\n", false, nullptr},
    {202, 1, 20, nullptr, false, nullptr},  {203, 1, -2, "a\r\nb\r\n", false, nullptr},
    {204, 1, -2, "a\r\nb\r\n", false, nullptr}, {205, 1, -1, nullptr, false, nullptr},
    {206, 1, -1, nullptr, false, nullptr},  {207, 1, -1, nullptr, false, nullptr},
    {208, 1, 1, nullptr, false, nullptr},   {209, 1, -1, nullptr, false, ""},
    {210, 1, 20, nullptr, false, nullptr},  {211, 1, 20, nullptr, false, nullptr},
    {212, 1, -2, "a\r\nb\r\n", false, nullptr}, {213, 1, -2, "a\r\nb\r\n", false, nullptr},
    {214, 1, -3, "a\r\nb\r\nc\r\n", false, nullptr}, {215, 1, -1, nullptr, false, nullptr},
    {300, 1, -1, nullptr, false, nullptr},  {301, 1, 20, nullptr, false, nullptr},
    {302, 1, 20, nullptr, false, nullptr},  {303, 1, 20, nullptr, false, nullptr},
    {304, 1, 20, nullptr, false, nullptr},  {305, 1, 20, nullptr, false, nullptr},
    {400, 1, -2, "a\r\nb\r\n", false, nullptr}, {405, 1, -2, "a\r\nb\r\n", false, nullptr},
    {406, 1, -1, nullptr, false, nullptr},  {409, 1, -1, nullptr, false, nullptr},
    {500, 1, 1, nullptr, false, nullptr},   {501, 1, 1, nullptr, false, nullptr},
    {502, 1, 1, nullptr, false, nullptr},   {503, 4, 0, nullptr, false, nullptr},
    {504, 1, 1, nullptr, false, nullptr},   {506, 1, 1, nullptr, false, nullptr},
    {507, 1, 1, nullptr, false, nullptr},   {508, 8, 0, nullptr, false, nullptr},
    {509, 1, 0, nullptr, false, nullptr},   {600, 1, 1, nullptr, false, "1"},
    {601, 1, 1, nullptr, false, "1"},       {602, 1, 1, nullptr, false, "1"},
    {700, 1, 0, nullptr, false, "0"},       {701, 1, 0, nullptr, false, "'C'"},
    {702, 2, 0, nullptr, false, "TEXT"},    {703, 4, 0, nullptr, false, "00:00"},
    {704, 8, 0, nullptr, false, "01.01"},   {800, 0, 0, nullptr, false, nullptr},
    {801, 0, 0, nullptr, false, nullptr},   {802, 0, 0, nullptr, false, nullptr},
    {803, 0, -1, nullptr, false, nullptr},  {804, 1, 0, nullptr, false, nullptr},
    {805, 0, 0, nullptr, false, nullptr},   {806, 1, 0, nullptr, false, nullptr},
    {807, 1, 0, nullptr, false, nullptr},   {900, 0, 1, nullptr, false, "1"},
    {901, 1, 0, nullptr, false, nullptr},   {902, 0, 1, nullptr, false, nullptr},
    {903, 1, 0, nullptr, false, nullptr},   {904, 0, 0, nullptr, false, "8"},
    {905, 1, 0, nullptr, false, nullptr},   {1000, 0, 1, nullptr, false, ""},
    {1001, 0, 1, nullptr, false, ""},       {1002, 0, 1, nullptr, false, nullptr},
    {1003, 0, -1, nullptr, false, ""},      {1004, 0, -1, nullptr, false, ""},
    {1005, 0, -1, nullptr, false, nullptr}, {1006, 0, -1, nullptr, false, nullptr},
    {1007, 0, 1, nullptr, false, nullptr},
};

TEST(Catalogue, EveryFactoryRowCreatesItsBlock) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.type);
    CBlock* b = CreateBlock(row.type, 0x10001);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Id, 0x10001);
    EXPECT_EQ(b->OutputKind, row.outputKind);
    EXPECT_EQ(b->InputCount, row.inputCount);
    if (row.menu) EXPECT_STREQ(b->InputMenu, row.menu); else EXPECT_EQ(b->InputMenu, nullptr);
    EXPECT_EQ(b->UserBitmap, row.userBitmap);
    if (row.param) EXPECT_STREQ(b->GetParam(), row.param); else EXPECT_EQ(b->GetParam(), nullptr);
    EXPECT_EQ(b->WiredInputs, 0);
    EXPECT_EQ(b->Consumers, 0);
    EXPECT_EQ(static_cast<int>(b->Inputs.size()), std::abs(row.inputCount));
    delete b;
  }
}

TEST(Catalogue, UnknownTypeIdsCreateNothing) {
  for (int32_t type : {0, 99, 100, 104, 106, 107, 109, 128, 129, 136, 216, 505, 510, 603, 808, 906, 1008, -1})
    EXPECT_EQ(CreateBlock(type, 1), nullptr) << type;
  EXPECT_EQ(KnownBlockTypes().size(), 97u);
  Engine e;
  PlexorAddPage(e, 1, 0);
  vt::Add(e, 700, 1, 1);
  EXPECT_EQ(PlexorAddBlock(e, 999, Bid(1, 2)), 0);
  EXPECT_EQ(e.get()->FindPage(1)->blocks.count(), 1);
  EXPECT_EQ(PlexorAddBlock(e, 505, Bid(1, 3)), 0);
  EXPECT_EQ(PlexorAddBlock(e, 504, Bid(1, 3)), 1);
  EXPECT_STREQ(PlexorGetSymbolicName(e, Bid(1, 3)), "DAY");
}

class Params : public ::testing::Test {
 protected:
  void SetUp() override { PlexorAddPage(e, 1, 0); }
  const char* Set(int32_t type, const char* text, int32_t* accepted = nullptr) {
    int32_t id = Bid(1, ++n);
    PlexorAddBlock(e, type, id);
    int32_t r = PlexorSetBlockParam(e, id, text);
    if (accepted) *accepted = r;
    last = id;
    return PlexorGetBlockParam(e, id);
  }
  Engine e;
  int32_t n = 0;
  int32_t last = 0;
};

TEST_F(Params, ValueConstantsAreNormalised) {
  EXPECT_STREQ(Set(700, "70000"), "4464");
  EXPECT_STREQ(Set(700, "-5x"), "-5");
  EXPECT_STREQ(Set(700, "abc"), "0");
  EXPECT_STREQ(Set(700, "1234567890123"), "-13035");
  EXPECT_STREQ(Set(700, "  +32767"), "32767");
  EXPECT_STREQ(Set(700, "-32768"), "-32768");
  EXPECT_STREQ(Set(700, "32768"), "-32768");
  EXPECT_STREQ(Set(700, ""), "0");
  EXPECT_STREQ(Set(700, nullptr), "0");
}

TEST_F(Params, TextFieldsKeepTheirLength) {
  EXPECT_STREQ(Set(701, "'AB'"), "'AB");
  EXPECT_EQ(std::strlen(Set(702, std::string(200, 'x').c_str())), 80u);
  EXPECT_EQ(std::strlen(Set(209, std::string(200, 't').c_str())), 99u);
  EXPECT_EQ(std::strlen(Set(1000, std::string(200, 'g').c_str())), 99u);
  EXPECT_EQ(std::strlen(Set(1003, std::string(200, 'o').c_str())), 99u);
  EXPECT_EQ(std::strlen(Set(108, std::string(700, '1').c_str())), 599u);
  EXPECT_STREQ(Set(1003, "a\r\nb\r\n"), "a\r\nb\r\n");
}

TEST_F(Params, TimeDateAndCodes) {
  Set(703, "12:34");
  auto* time = static_cast<CConstTimeBlock*>(e.get()->FindBlock(last));
  EXPECT_EQ(time->Hour, 12);
  EXPECT_EQ(time->Minute, 34);
  EXPECT_STREQ(Set(703, "25:99:00:00"), "25:99:00:");  // stored unchanged, 9 characters
  Set(704, "24.12");
  auto* date = static_cast<CConstDateBlock*>(e.get()->FindBlock(last));
  EXPECT_EQ(date->Day, 24);
  EXPECT_EQ(date->Month, 12);
  EXPECT_STREQ(Set(900, "4"), "4");
  EXPECT_STREQ(Set(904, "3"), "3");
}

TEST_F(Params, UserCellsKeepTheLastAcceptedCell) {
  int32_t ok = -1;
  EXPECT_STREQ(Set(601, "25", &ok), "1");
  EXPECT_EQ(ok, 0);
  PlexorSetBlockParam(e, last, "24");
  EXPECT_STREQ(PlexorGetBlockParam(e, last), "24");
  EXPECT_STREQ(PlexorGetIndexDescription(e, last), "24");
  EXPECT_EQ(PlexorSetBlockParam(e, last, "0"), 0);
  EXPECT_EQ(PlexorSetBlockParam(e, last, "-3"), 0);
  EXPECT_EQ(PlexorSetBlockParam(e, last, "99999"), 0);
  EXPECT_STREQ(PlexorGetBlockParam(e, last), "24");
  EXPECT_STREQ(PlexorGetSymbolicName(e, last), "BYTE[24]");
  EXPECT_EQ(static_cast<CExMemoryBlock*>(e.get()->FindBlock(last))->Cell, 24);
  EXPECT_STREQ(Set(600, "192", &ok), "192");
  EXPECT_EQ(ok, 1);
  EXPECT_STREQ(Set(600, "193", &ok), "1");
  EXPECT_EQ(ok, 0);
  EXPECT_STREQ(Set(602, "12", &ok), "12");
  EXPECT_EQ(ok, 1);
  // Blocks without a parameter accept any text and keep none.
  EXPECT_EQ(Set(200, "whatever", &ok), nullptr);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(PlexorGetIndexDescription(e, last), nullptr);
}

TEST(Catalogue, SymbolicNamesAndMapCodes) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  struct Expect {
    int32_t type;
    const char* param;
    const char* name;
    int32_t code;
  };
  const Expect rows[] = {
      {130, nullptr, "P1", 0x03020000},     {135, nullptr, "P6", 0x03020005},
      {110, nullptr, "K1", 0x03020006},     {111, nullptr, "K2", 0x03020007},
      {112, nullptr, "F1", 0x03020008},     {115, nullptr, "F4", 0x0302000B},
      {116, nullptr, "LED1", 0x0302000C},   {119, nullptr, "LED4", 0x0302000F},
      {124, nullptr, "AD1", 0x02030000},    {127, nullptr, "AD4", 0x02030003},
      {120, nullptr, "T1", 0x02030004},     {121, nullptr, "T2", 0x02030005},
      {122, nullptr, "U1", 0x02030006},     {123, nullptr, "U2", 0x02030007},
      {105, nullptr, "FREQ [Hz]", 0x0105000A}, {507, nullptr, "YEAR", 0x02050000},
      {506, nullptr, "MONTH", 0x02050001},  {504, nullptr, "DAY", 0x02050002},
      {502, nullptr, "HOUR", 0x02050004},   {501, nullptr, "MIN", 0x02050005},
      {500, nullptr, "SEC", 0x02050006},    {807, nullptr, "FILEFREE", 0x0105000B},
      {600, "17", "BIT[17]", 0x03010010},   {601, "5", "BYTE[5]", 0x02010004},
      {602, "3", "WORD[3]", 16842754},      {700, nullptr, nullptr, 0},
      {208, nullptr, nullptr, 0},           {509, nullptr, nullptr, 0},
  };
  int n = 0;
  for (const Expect& row : rows) {
    SCOPED_TRACE(row.type);
    int32_t id = vt::Add(e, row.type, 1, ++n, row.param);
    if (row.name) EXPECT_STREQ(PlexorGetSymbolicName(e, id), row.name);
    else EXPECT_EQ(PlexorGetSymbolicName(e, id), nullptr);
    EXPECT_EQ(PlexorGetMapCode(e, id), row.code);
  }
  EXPECT_EQ(PlexorGetMapCode(e, Bid(1, 999)), 0);
  EXPECT_EQ(PlexorGetSymbolicName(e, Bid(9, 1)), nullptr);
}

TEST(Catalogue, UserBitmapFlagThroughTheInterface) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  EXPECT_EQ(PlexorHasBlockUserBitmap(e, vt::Add(e, 130, 1, 1)), 1);
  EXPECT_EQ(PlexorHasBlockUserBitmap(e, vt::Add(e, 116, 1, 2)), 0);
  EXPECT_EQ(PlexorHasBlockUserBitmap(e, Bid(1, 3)), 0);
}

}  // namespace
