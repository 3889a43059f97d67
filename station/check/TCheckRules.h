// The rules of the program checks in one table: stable code, severity, a
// short title and the help text the station and vorblen-cli show. Codes
// never change meaning; a retired rule keeps its code unused.
//
//   E1xx  Fehler:  the compiler refuses the program, or it fails at run time
//   W1xx  Warnung: the program runs, but very likely not as meant
//   H1xx  Hinweis: worth a look, often intended
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "TFinding.h"

struct TCheckRule {
  const char* code;
  TSeverity severity;
  const char* title;  // UTF-8
  const char* help;   // UTF-8, a few sentences
};

namespace checkrules {

const std::vector<TCheckRule>& All();
// The rule with that code, or null.
const TCheckRule* Find(const QString& code);
// The help section of one rule (code, severity, title, help text) as HTML.
QString HelpHtml(const TCheckRule& rule);
// The help viewer's page of all rules, with every code as a keyword.
QString HelpPageHtml();

}  // namespace checkrules
