// System error numbers in words for the user: German, like every other
// message, with the errno number kept so that a report can be looked up.
#pragma once

#include <QString>

namespace errnotext {

// "Datei oder Verzeichnis nicht gefunden (errno 2)"; numbers without a
// German text of their own keep the system's text.
QString German(int error);

// A file or device name shortened for a message: a name of thousands of
// characters would make a message box wider than the screen.
QString ShortName(const QString& name);

}  // namespace errnotext
