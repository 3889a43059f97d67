#include "CodeListing.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>

#include "OpcodeTable.h"
#include "PlexorCompiler.h"

namespace {

constexpr int kAddressBase = kUnitAddressBase;
constexpr size_t kMnemonicColumn = 28;  // address, two spaces, bytes column
constexpr int kShownBytes = 6;
constexpr int kWordsPerLine = 8;

std::string Format(const char* format, int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string Hex4(int value) { return Format("%04X", value & 0xFFFF); }

// A string operand in double quotes; everything but printable ASCII, the
// quote and the backslash is escaped, so the listing stays 7-bit text.
std::string Quoted(const uint8_t* bytes, int32_t count) {
  std::string out = "\"";
  for (int32_t i = 0; i < count; ++i) {
    uint8_t c = bytes[i];
    if (c == '"' || c == '\\')
      out += std::string("\\") + static_cast<char>(c);
    else if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c >= 32 && c < 127)
      out += static_cast<char>(c);
    else
      out += Format("\\x%02X", c);
  }
  return out + "\"";
}

// Windows-1252, as every engine text.
const char* const kSystemRegisters[] = {"Jahr",     "Monat",      "Tag",          "Wochentag", "Stunde",
                                        "Minute",   "Sekunde",    "Timer",        "Ton",       "Reserve",
                                        "Frequenz", "Datei frei", "Dateil\xE4nge"};
const char* const kFileOperations[] = {"",
                                       "\xF6"
                                       "ffnen zum Lesen",
                                       "\xF6"
                                       "ffnen zum Schreiben",
                                       "\xF6"
                                       "ffnen zum Anh\xE4ngen",
                                       "schlie\xDF"
                                       "en",
                                       "schreiben",
                                       "lesen"};

// What a byte operand names, in the block catalogue's words.
std::string ByteMeaning(uint8_t code, uint8_t b) {
  switch (code) {
    case op::LDBIT:
    case op::STBIT:
      return Format("BIT[%d]", b + 1);
    case op::LDBYTE:
    case op::STBYTE:
    case op::LDBYTEJEQ:
    case op::ADDSTBYTEJMP:
      return Format("BYTE[%d]", b + 1);
    case op::LDWORD:
    case op::STWORD:
    case op::LDWORDJEQ:
    case op::ADDSTWORDJMP:
      return Format("WORD[%d]", b + 1);
    case op::LDPIN:
    case op::STPIN:
    case op::TGLPIN:
    case op::OUTPIN:
    case op::INPIN:
      return Format("P%d", b + 1);
    case op::LDADC:
      return Format("AD%d", b + 1);
    case op::STDAC:
      return Format("DA%d", b + 1);
    case op::LDSYS:
    case op::STSYS:
      return b < 13 ? kSystemRegisters[b] : "";
    case op::FILE:
      return b >= 1 && b <= 6 ? kFileOperations[b] : "";
    default:
      return "";
  }
}

class Lister {
 public:
  Lister(const uint8_t* image, int32_t length, int32_t codeEnd, const std::vector<CListingLabel>& labels)
      : image_(image),
        length_(length),
        codeEnd_(codeEnd < 0        ? 0
                 : codeEnd > length ? length
                                    : codeEnd) {
    for (const CListingLabel& l : labels) named_[l.Offset].push_back(l.Name);
  }

  std::string Run() {
    FindJumpTargets();
    out_ = Format("; %d Bytes, Adressen ab ", length_) + Hex4(kAddressBase) + "\n";
    int32_t at = 0;
    while (at < codeEnd_) at = Instruction(at);
    if (codeEnd_ < length_) out_ += "; Tabellen\n";
    while (at < length_) at = Table(at);
    auto it = named_.find(length_);
    if (it != named_.end() && length_ > codeEnd_) LabelLines(length_);  // an empty last table
    return out_;
  }

 private:
  // Size of the instruction at offset, or 0 when its operand runs past the code.
  int32_t Size(int32_t at) const {
    const OpcodeInfo& info = Opcode(image_[at]);
    int32_t size = 1 + OperandBytes(info.Operand);
    if (info.Operand == OperandForm::String) {
      int32_t end = at + 1;
      while (end < codeEnd_ && image_[end] != 0) ++end;
      if (end >= codeEnd_) return 0;
      size = end - at + 1;
    }
    return info.Mnemonic.empty() || at + size > codeEnd_ ? 0 : size;
  }

  uint16_t WordAt(int32_t at) const { return static_cast<uint16_t>((image_[at] << 8) | image_[at + 1]); }

  void FindJumpTargets() {
    for (int32_t at = 0; at < codeEnd_;) {
      int32_t size = Size(at);
      if (size == 0) {
        ++at;
        continue;
      }
      OperandForm form = Opcode(image_[at]).Operand;
      if (form == OperandForm::Address) targets_.insert(WordAt(at + 1) - kAddressBase);
      if (form == OperandForm::ByteAddress) targets_.insert(WordAt(at + 2) - kAddressBase);
      at += size;
    }
  }

  // The name a jump to this offset shows.
  std::string TargetName(int32_t offset) const {
    auto it = named_.find(offset);
    return it != named_.end() ? it->second.front() : Format("L%04X", (offset + kAddressBase) & 0xFFFF);
  }

  // "0004 <Name>:" -- one space after the address, so that no name can
  // make a label line look like an instruction line.
  void LabelLines(int32_t at) {
    auto it = named_.find(at);
    if (it != named_.end()) {
      for (const std::string& name : it->second) out_ += Hex4(at + kAddressBase) + " <" + name + ">:\n";
    } else if (targets_.count(at)) {
      out_ += Hex4(at + kAddressBase) + " <" + TargetName(at) + ">:\n";
    }
  }

  void Line(int32_t at, int32_t size, const std::string& text, const std::string& comment) {
    std::string line = Hex4(at + kAddressBase) + "  ";
    for (int32_t i = 0; i < size && i < kShownBytes; ++i) line += Format("%02X ", image_[at + i]);
    if (size > kShownBytes) line += "..";
    line.resize(kMnemonicColumn > line.size() ? kMnemonicColumn : line.size() + 1, ' ');
    line += text;
    if (!comment.empty()) {
      if (line.size() < 48) line.resize(48, ' ');
      line += " ; ";
      line += comment;
    }
    out_ += line + "\n";
  }

  int32_t Instruction(int32_t at) {
    LabelLines(at);
    const uint8_t code = image_[at];
    const int32_t size = Size(at);
    if (size == 0) {
      Line(at, 1, Format("DB %d", code), "");
      return at + 1;
    }
    const OpcodeInfo& info = Opcode(code);
    std::string text(info.Mnemonic);
    std::string comment;
    switch (info.Operand) {
      case OperandForm::None:
        break;
      case OperandForm::Byte:
        text += Format(" %d", image_[at + 1]);
        comment = ByteMeaning(code, image_[at + 1]);
        break;
      case OperandForm::Word: {
        uint16_t w = WordAt(at + 1);
        text += Format(" %d", code == op::LDI ? static_cast<int16_t>(w) : w);
        break;
      }
      case OperandForm::Address: {
        uint16_t w = WordAt(at + 1);
        text += Format(" 0x%04X", w);
        comment = "-> ";
        comment += TargetName(w - kAddressBase);
        break;
      }
      case OperandForm::ByteAddress: {
        uint16_t w = WordAt(at + 2);
        text += Format(" %d, ", image_[at + 1]);
        text += Format("0x%04X", w);
        comment = ByteMeaning(code, image_[at + 1]);
        comment += " -> ";
        comment += TargetName(w - kAddressBase);
        break;
      }
      case OperandForm::String:
        text += ' ';
        text += Quoted(image_ + at + 1, size - 2);
        break;
    }
    Line(at, size, text, comment);
    return at + size;
  }

  // Words up to the next label or the end; a last odd byte as DB.
  int32_t Table(int32_t at) {
    LabelLines(at);
    int32_t end = at + 1;
    while (end < length_ && !named_.count(end)) ++end;
    while (at + 1 < end) {
      std::string text = "DW ";
      int32_t first = at;
      for (int n = 0; n < kWordsPerLine && at + 1 < end; ++n, at += 2)
        text += Format(n ? ", %d" : "%d", static_cast<int16_t>(WordAt(at)));
      Line(first, 0, text, "");
    }
    if (at < end) {
      Line(at, 1, Format("DB %d", image_[at]), "");
      ++at;
    }
    return at;
  }

  const uint8_t* image_;
  int32_t length_;
  int32_t codeEnd_;
  std::map<int32_t, std::vector<std::string>> named_;
  std::set<int32_t> targets_;
  std::string out_;
};

// ---- reading a listing back ------------------------------------------------

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool ParseNumber(std::string_view text, long low, long high, long& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return false;
  std::string s(text);
  char* end = nullptr;
  value = std::strtol(s.c_str(), &end, 0);
  return end && *end == '\0' && value >= low && value <= high;
}

bool ParseString(std::string_view text, std::vector<uint8_t>& out) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  std::string_view inner = text.substr(1, text.size() - 2);
  for (size_t i = 0; i < inner.size(); ++i) {
    char c = inner[i];
    if (c == '"') return false;
    if (c != '\\') {
      out.push_back(static_cast<uint8_t>(c));
      continue;
    }
    if (++i >= inner.size()) return false;
    switch (inner[i]) {
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case '"':
      case '\\':
        out.push_back(static_cast<uint8_t>(inner[i]));
        break;
      case 'x':
        if (i + 2 >= inner.size()) return false;
        if (!IsHexDigit(inner[i + 1]) || !IsHexDigit(inner[i + 2])) return false;
        out.push_back(static_cast<uint8_t>(std::strtol(std::string(inner.substr(i + 1, 2)).c_str(), nullptr, 16)));
        i += 2;
        break;
      default:
        return false;
    }
  }
  return true;
}

void PushWord(std::vector<uint8_t>& out, long v) {
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  out.push_back(static_cast<uint8_t>(v & 0xFF));
}

// The part of a line before its comment (a ';' outside a string).
std::string_view WithoutComment(std::string_view text) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (quoted && text[i] == '\\') {
      ++i;
      continue;
    }
    if (text[i] == '"') quoted = !quoted;
    if (!quoted && text[i] == ';') return text.substr(0, i);
  }
  return text;
}

}  // namespace

bool AssembleInstruction(std::string_view text, std::vector<uint8_t>& out) {
  text = WithoutComment(text);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  size_t space = text.find(' ');
  std::string_view mnemonic = text.substr(0, space);
  std::string_view operand = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
  long v = 0, w = 0;
  if (mnemonic == "DB" || mnemonic == "DW") {
    while (!operand.empty()) {
      size_t comma = operand.find(',');
      if (!ParseNumber(operand.substr(0, comma), mnemonic == "DB" ? 0 : -32768, mnemonic == "DB" ? 255 : 65535, v))
        return false;
      if (mnemonic == "DB")
        out.push_back(static_cast<uint8_t>(v));
      else
        PushWord(out, v);
      operand = comma == std::string_view::npos ? std::string_view() : operand.substr(comma + 1);
    }
    return true;
  }
  int code = OpcodeOf(mnemonic);
  if (code < 0) return false;
  out.push_back(static_cast<uint8_t>(code));
  switch (Opcode(static_cast<uint8_t>(code)).Operand) {
    case OperandForm::None:
      return operand.empty();
    case OperandForm::Byte:
      if (!ParseNumber(operand, 0, 255, v)) return false;
      out.push_back(static_cast<uint8_t>(v));
      return true;
    case OperandForm::Word:
    case OperandForm::Address:
      if (!ParseNumber(operand, -32768, 65535, v)) return false;
      PushWord(out, v);
      return true;
    case OperandForm::ByteAddress: {
      size_t comma = operand.find(',');
      if (comma == std::string_view::npos || !ParseNumber(operand.substr(0, comma), 0, 255, v) ||
          !ParseNumber(operand.substr(comma + 1), 0, 65535, w))
        return false;
      out.push_back(static_cast<uint8_t>(v));
      PushWord(out, w);
      return true;
    }
    case OperandForm::String:
      if (!ParseString(operand, out)) return false;
      out.push_back(0);
      return true;
  }
  return false;
}

std::string ListCode(const uint8_t* image, int32_t length, int32_t codeEnd, const std::vector<CListingLabel>& labels) {
  if (!image || length <= 0) return "; 0 Bytes\n";
  return Lister(image, length, codeEnd, labels).Run();
}

bool AssembleListing(const std::string& listing, std::vector<uint8_t>& bytes, int* badLine) {
  bytes.clear();
  int number = 0;
  size_t start = 0;
  while (start < listing.size()) {
    size_t end = listing.find('\n', start);
    if (end == std::string::npos) end = listing.size();
    std::string_view line(listing.data() + start, end - start);
    start = end + 1;
    ++number;
    // Instruction and data lines begin with a four-digit address and two
    // spaces; label and comment lines do not.
    if (line.size() < kMnemonicColumn || !IsHexDigit(line[0]) || !IsHexDigit(line[1]) || !IsHexDigit(line[2]) ||
        !IsHexDigit(line[3]) || line[4] != ' ' || line[5] != ' ')
      continue;
    if (!AssembleInstruction(line.substr(kMnemonicColumn), bytes)) {
      if (badLine) *badLine = number;
      return false;
    }
  }
  return true;
}
