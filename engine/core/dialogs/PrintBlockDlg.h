// TPrintBlockDlg: what the serial output block appends after each output:
// 1 nothing, 2 line feed, 3 tab.
#pragma once

#include "RadioChoiceDlg.h"

class TPrintBlockDlg : public TRadioChoiceDlg {
  Q_OBJECT

 public:
  explicit TPrintBlockDlg(QWidget* owner);
};
