#include "EditMask.h"

#include <cstring>

#include "cp1252.h"

namespace {

// Input positions: classic letter, Qt letter, whether the position must be filled.
struct InputChar {
  char classic;
  char qt;
  bool required;
};

constexpr InputChar kInputs[] = {
    {'L', 'A', true},  {'l', 'a', false},  // letter
    {'A', 'N', true},  {'a', 'n', false},  // letter or digit
    {'C', 'X', true},  {'c', 'x', false},  // any character
    {'0', '9', true},  {'9', '0', false},  // digit
    {'#', '#', false},                     // digit or sign
};

// Characters with a meaning in Qt masks; as literals they need a backslash.
constexpr const char* kQtMeta = "AaNnXx90Dd#HhBb><!\\;[]{}";

const InputChar* FindInput(char c) {
  for (const InputChar& in : kInputs)
    if (in.classic == c) return &in;
  return nullptr;
}

QChar Unicode(char c) { return QChar(cp1252::ToUnicode(static_cast<unsigned char>(c))); }

}  // namespace

EditMask::EditMask(std::string_view classic) {
  // Field 1 ends at the first ';' that no backslash escapes.
  size_t end = 0;
  while (end < classic.size() && classic[end] != ';') end += classic[end] == '\\' ? 2 : 1;
  std::string_view mask = classic.substr(0, end < classic.size() ? end : classic.size());
  if (end < classic.size()) {
    std::string_view rest = classic.substr(end + 1);
    size_t sep = rest.find(';');
    saveLiterals_ = rest.empty() || rest[0] != '0';
    if (sep != std::string_view::npos && sep + 1 < rest.size()) blank_ = Unicode(rest[sep + 1]);
  }

  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    if (c == '!') {
      leadingBlanks_ = true;
    } else if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
      qtMask_ += u'!';  // case conversion off
      ++i;
    } else if (c == '>' || c == '<') {
      qtMask_ += QLatin1Char(c);
    } else if (const InputChar* in = FindInput(c)) {
      qtMask_ += QLatin1Char(in->qt);
      slots_.push_back({QChar(), in->required});
    } else {
      QChar literal;
      if (c == '\\') {
        if (++i == mask.size()) break;
        literal = Unicode(mask[i]);
      } else {
        literal = c == '_' ? QChar(u' ') : Unicode(c);
      }
      if (literal.unicode() < 0x80 && std::strchr(kQtMeta, literal.toLatin1())) qtMask_ += u'\\';
      qtMask_ += literal;
      slots_.push_back({literal, false});
    }
  }
  if (slots_.empty()) {
    qtMask_.clear();
    return;
  }
  qtMask_ += u';';
  qtMask_ += blank_;
}

bool EditMask::Complete(const QString& display) const {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i].required) continue;
    qsizetype at = static_cast<qsizetype>(i);
    if (at >= display.size() || display[at] == blank_) return false;
  }
  return true;
}

QString EditMask::Text(const QString& display) const {
  if (slots_.empty()) return display;
  QString out;
  for (size_t i = 0; i < slots_.size(); ++i) {
    const Slot& slot = slots_[i];
    if (!slot.literal.isNull()) {
      if (saveLiterals_) out += slot.literal;
      continue;
    }
    qsizetype at = static_cast<qsizetype>(i);
    QChar c = at < display.size() ? display[at] : blank_;
    out += c == blank_ ? QChar(u' ') : c;
  }
  qsizetype last = out.size();
  while (last > 0 && out[last - 1] == u' ') --last;
  qsizetype first = 0;
  if (leadingBlanks_)
    while (first < last && out[first] == u' ') ++first;
  return out.mid(first, last - first);
}
