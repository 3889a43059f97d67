// A programming error inside the block model ("Falsche BlockID in dieser
// Zelle", "Interner Fehler in ..."): raised, never shown as a box by the model.
#pragma once

#include <QString>
#include <stdexcept>

class BlockEditError : public std::runtime_error {
 public:
  explicit BlockEditError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
  const QString& Text() const { return text_; }

 private:
  QString text_;
};
