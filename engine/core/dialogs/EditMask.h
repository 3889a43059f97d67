// EditMask: a classic three-field edit mask ("!#99999;0; ") in the terms of
// QLineEdit.
//
// The classic form is "mask;save;blank": the mask characters, whether literal
// characters are part of the text read back (0 or 1, default 1) and the
// character shown for empty positions (default '_'). Classic and Qt masks use
// different letters for required and optional positions ('0' is a required
// digit in the classic form and an optional one in Qt), so the mask is
// translated position by position. The text read back follows the classic
// rules: literals only when saved, no trailing blanks, and with a '!' in the
// mask no leading blanks either.
#pragma once

#include <QString>

#include <string_view>
#include <vector>

class EditMask {
 public:
  // No mask: free text.
  EditMask() = default;
  // Any text is accepted; unknown mask characters are taken as literals.
  explicit EditMask(std::string_view classic);

  bool IsMasked() const { return !slots_.empty(); }
  // The mask for QLineEdit::setInputMask ("" when not masked).
  const QString& QtMask() const { return qtMask_; }
  bool SaveLiterals() const { return saveLiterals_; }
  QChar Blank() const { return blank_; }

  // Whether every required position of a displayed text is filled.
  bool Complete(const QString& display) const;
  // The text read back from a displayed text (QLineEdit::displayText()).
  QString Text(const QString& display) const;

 private:
  struct Slot {
    QChar literal;  // the literal character, or null for an input position
    bool required;
  };

  std::vector<Slot> slots_;
  QString qtMask_;
  bool saveLiterals_ = true;
  bool leadingBlanks_ = false;
  QChar blank_ = u'_';
};
