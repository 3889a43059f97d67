#include "BaudBlockDlg.h"

namespace {

const char* const kRates[] = {"1200 bit/s", "2400 bit/s", "4800 bit/s", "9600 bit/s", nullptr};

}  // namespace

TBaudBlockDlg::TBaudBlockDlg(QWidget* owner)
    : TRadioChoiceDlg(owner, "Eigenschaften des Baudrate-Blocks", 302, 155,
                      "W\xE4hlen Sie eine \xDC" "bertragungsrate aus:", kRates) {
  setObjectName(QStringLiteral("BaudBlockDlg"));
}
