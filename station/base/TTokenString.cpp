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
  QString token;
  if (!NextToken(token)) return false;
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
