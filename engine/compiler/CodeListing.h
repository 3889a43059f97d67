// The code listing: a download image as an annotated, re-assemblable text,
// and the assembler that reads such a text back into bytes.
//
// One instruction per line: the unit address, the bytes (at most six shown),
// the mnemonic and its operand, and a comment naming what the operand means
// (cell, port, register, jump target). Labels (named cells, value-switch
// labels, tables) and jump targets without a name get a line of their own.
// Behind the code come the tables as DW lines. Bytes that form no complete
// instruction are written as DB. Lines starting with ';' are comments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CListingLabel {
  std::string Name;
  int32_t Offset;  // image offset (unit address - 4)
};

// image[0, codeEnd) holds instructions, image[codeEnd, length) the tables.
std::string ListCode(const uint8_t* image, int32_t length, int32_t codeEnd, const std::vector<CListingLabel>& labels);

// Appends the bytes of one instruction written as in a listing ("LDI -2",
// "PRINTSTR \"a\\r\\n\"", "LDBYTEJEQ 3, 0x0010", "DB 7", "DW 1, 2"); a
// comment after ';' is ignored. False for a text that is no instruction.
bool AssembleInstruction(std::string_view text, std::vector<uint8_t>& out);

// Reads a listing back: every instruction, DB and DW line in order. Fails
// (false, with the line number in *badLine) on a line it cannot read.
bool AssembleListing(const std::string& listing, std::vector<uint8_t>& bytes, int* badLine = nullptr);
