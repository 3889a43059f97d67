// QtParamDialogs: the block parameter dialogs as IParamDialogs, shown modally
// with TDllMainForm as their owner.
//
// Dialogs can be shown only on the thread of a running QApplication, and only
// one at a time: a second EditParam while a dialog is open (from a timer of
// the host, say) answers "not confirmed" instead of stacking dialogs.
#pragma once

#include "ParamDialogs.h"

class QtParamDialogs : public IParamDialogs {
 public:
  bool Available() const override;
  bool MaskInput(int mode, const char* prompt, std::string& text) override;
  bool InputChar(std::string& text) override;
  bool InputStrList(const char* prompt, std::string& text) override;
  bool PrintEnding(int& radio) override;
  bool BaudRate(int& radio) override;
  bool SelectNumber(const char* prompt, int maximum, std::string& text) override;
  bool Melody(std::string& melody) override;

 private:
  bool open_ = false;
};
