// TBaudBlockDlg: the serial line's rate, choices 1 to 4 for 1200 to 9600 bit/s.
#pragma once

#include "RadioChoiceDlg.h"

class TBaudBlockDlg : public TRadioChoiceDlg {
  Q_OBJECT

 public:
  explicit TBaudBlockDlg(QWidget* owner);
};
