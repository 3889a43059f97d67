// TTokenString: a tokenizer over one text with a settable separator, used by
// every reader of cell bodies and project lines.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

class TTokenString {
 public:
  explicit TTokenString(QString text, QChar separator = QLatin1Char(','))
      : text_(std::move(text)), separator_(separator) {}

  void SetSeparator(QChar separator) { separator_ = separator; }

  // The text before the next separator; the token and the separator are
  // removed. Without a separator the whole rest. False on empty text.
  bool NextToken(QString& token);
  // NextToken as a signed decimal integer. The token is consumed even when
  // it is no number; the answer is then false.
  bool NextInt(int32_t& value);
  // Removes everything up to and including c; false when c is absent.
  bool SkipTo(QChar c);
  bool HasMore() const { return pos_ < text_.size(); }
  QString Rest() const { return text_.mid(pos_); }

 private:
  QString text_;
  qsizetype pos_ = 0;
  QChar separator_;
};
