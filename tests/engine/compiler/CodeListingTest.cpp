// The code listing: every opcode byte lists and re-assembles to itself, and
// a compiled program shows its cells, jump targets and tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodeListing.h"
#include "CompilerTestUtil.h"
#include "OpcodeTable.h"

namespace {

using vt::Add;
using vt::Bid;
using vt::Wire;

// An instruction with a sample operand of its form.
std::vector<uint8_t> Sample(uint8_t code) {
  std::vector<uint8_t> b{code};
  switch (Opcode(code).Operand) {
    case OperandForm::None:
      break;
    case OperandForm::Byte:
      b.push_back(200);
      break;
    case OperandForm::Word:
    case OperandForm::Address:
      b.insert(b.end(), {0x80, 0x05});
      break;
    case OperandForm::ByteAddress:
      b.insert(b.end(), {3, 0x00, 0x04});
      break;
    case OperandForm::String:
      b.insert(b.end(), {'a', '"', '\\', ';', 0xE4, '\r', '\n', '\t', 1, 0});
      break;
  }
  return b;
}

TEST(CodeListing, EveryOpcodeListsAndAssemblesToItself) {
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    std::vector<uint8_t> image = Sample(static_cast<uint8_t>(code));
    image.push_back(op::END);
    const int32_t length = static_cast<int32_t>(image.size());
    std::string listing = ListCode(image.data(), length, length, {});
    std::vector<uint8_t> again;
    int bad = 0;
    ASSERT_TRUE(AssembleListing(listing, again, &bad)) << "line " << bad << "\n" << listing;
    EXPECT_EQ(again, image) << listing;
    const std::string_view name = Opcode(static_cast<uint8_t>(code)).Mnemonic;
    if (!name.empty())
      EXPECT_NE(listing.find("  " + std::string(name)), std::string::npos) << listing;
    else
      EXPECT_NE(listing.find("DB " + std::to_string(code)), std::string::npos) << listing;
  }
}

TEST(CodeListing, BrokenCodeAndTablesStayBytesOfTheirOwn) {
  struct Row {
    std::vector<uint8_t> image;
    int32_t codeEnd;
    const char* expected;  // a line of the listing
  };
  const Row rows[] = {
      {{op::LDI, 0x12}, 2, "DB 20"},                    // operand cut by the end of the code
      {{op::PRINTSTR, 'a', 'b'}, 3, "DB 31"},           // string without its terminator
      {{op::END, 0, 5, 0xFF, 0xFE, 7}, 1, "DW 5, -2"},  // a table with an odd last byte
      {{op::END, 0, 5, 0xFF, 0xFE, 7}, 1, "DB 7"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    const int32_t length = static_cast<int32_t>(row.image.size());
    std::string listing = ListCode(row.image.data(), length, row.codeEnd, {});
    EXPECT_NE(listing.find(row.expected), std::string::npos) << listing;
    std::vector<uint8_t> again;
    ASSERT_TRUE(AssembleListing(listing, again));
    EXPECT_EQ(again, row.image);
  }
}

TEST(CodeListing, AssemblerRefusesWhatNoInstructionIs) {
  for (const char* text : {"FOO", "LDI", "LDI 70000", "LDBYTE 256", "NOT 1", "PRINTSTR abc", "PRINTSTR \"a\\q\"",
                           "PRINTSTR \"\\x4\"", "LDBYTEJEQ 3", "DB x"}) {
    SCOPED_TRACE(text);
    std::vector<uint8_t> out;
    EXPECT_FALSE(AssembleInstruction(text, out));
  }
}

TEST(CodeListing, CompiledProgramShowsCellsJumpTargetsAndTables) {
  vt::Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorSetPageName(e, 1, "Anfang");
  // A value switch (two local jump targets) over a table lookup, printed.
  int32_t sw = Add(e, 214, 1, 1);
  int32_t tab = Add(e, 209, 1, 2, "Kennlinie");
  Wire(e, Add(e, 700, 1, 3, "1"), tab);
  Wire(e, tab, sw, 0);
  Wire(e, Add(e, 700, 1, 4, "2"), sw, 1);
  Wire(e, Add(e, 602, 1, 5, "3"), sw, 2);
  Wire(e, sw, Add(e, 900, 1, 6, "1"));
  int32_t jump = Add(e, 1000, 1, 7, "Anfang");
  ASSERT_NE(jump, 0);
  ASSERT_EQ(vt::CompileAll(e, {{"Kennlinie", "10 -20 30"}}), 0) << PlexorGetErrorMessage(e);
  const char* text = PlexorGetListing(e);
  ASSERT_NE(text, nullptr);
  const std::string listing = text;
  for (const char* line : {"0004 <Anfang>:", "LDWORD 2", "; WORD[3]", "-> @A0", "<@A0>:", "<@B0>:", "-> Kennlinie",
                           "; Tabellen", "<Kennlinie>:", "DW 10, -20, 30", "JMP 0x0004", "-> Anfang"})
    EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
  std::vector<uint8_t> again;
  ASSERT_TRUE(AssembleListing(listing, again));
  vt::Bytes image = vt::Image(e, false);
  EXPECT_EQ(std::vector<int>(again.begin(), again.end()), image);
  // A new compile run withdraws the listing until it is done.
  PlexorCompilerInit(e);
  EXPECT_EQ(PlexorGetListing(e), nullptr);
  EXPECT_EQ(PlexorGetListing(nullptr), nullptr);
}

}  // namespace
