#include "PrintBlockDlg.h"

namespace {

// "Zeilenvorschub " keeps its trailing blank: it is the block's own text.
const char* const kEndings[] = {"nichts", "Zeilenvorschub ", "Tabulator", nullptr};

}  // namespace

TPrintBlockDlg::TPrintBlockDlg(QWidget* owner)
    : TRadioChoiceDlg(owner, "Parameter des RS232-Ausgabeblocks", 302, 171,
                      "W\xE4hlen Sie aus, welches Steuerzeichen automatisch an die Ausgabe "
                      "angeh\xE4ngt werden soll:",
                      kEndings) {
  setObjectName(QStringLiteral("PrintBlockDlg"));
}
