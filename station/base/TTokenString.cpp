#include "TTokenString.h"

bool TTokenString::NextToken(QString& token) {
  if (!HasMore()) return false;
  const qsizetype at = text_.indexOf(separator_, pos_);
  if (at < 0) {
    token = text_.mid(pos_);
    pos_ = text_.size();
  } else {
    token = text_.mid(pos_, at - pos_);
    pos_ = at + 1;
  }
  return true;
}

bool TTokenString::NextInt(int32_t& value) {
  // As NextToken, without copying the token: numbers are most of what
  // project files hold.
  if (!HasMore()) return false;
  const qsizetype at = text_.indexOf(separator_, pos_);
  const qsizetype end = at < 0 ? text_.size() : at;
  const QStringView token = QStringView(text_).mid(pos_, end - pos_);
  pos_ = at < 0 ? text_.size() : at + 1;
  bool ok = false;
  const int v = token.toInt(&ok, 10);
  if (ok) value = v;
  return ok;
}

bool TTokenString::SkipTo(QChar c) {
  const qsizetype at = text_.indexOf(c, pos_);
  if (at < 0) return false;
  pos_ = at + 1;
  return true;
}
