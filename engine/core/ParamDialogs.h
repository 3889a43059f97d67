// IParamDialogs: the parameter dialogs as the block classes see them.
//
// The blocks decide what a dialog is filled with and what its answer means;
// the dialogs only show controls. The library's Qt dialogs register an
// implementation at load time; without one (a headless process) every
// EditParam answers "not confirmed". Each call returns true for "Ok".
#pragma once

#include <string>

class IParamDialogs {
 public:
  virtual ~IParamDialogs() = default;
  // False when no dialog can be shown now (no running application).
  virtual bool Available() const = 0;
  // Modes: 0 free text, 1 value, 2 time (HH:MM), 3 date (DD.MM). A null
  // prompt in mode 0 shows the default prompt.
  virtual bool MaskInput(int mode, const char* prompt, std::string& text) = 0;
  // One character, or an empty text.
  virtual bool InputChar(std::string& text) = 0;
  // Lines separated by CR LF.
  virtual bool InputStrList(const char* prompt, std::string& text) = 0;
  // Radio button 1 "nichts", 2 "Zeilenvorschub ", 3 "Tabulator".
  virtual bool PrintEnding(int& radio) = 0;
  // Radio button 1 to 4 for 1200 to 9600 bit/s.
  virtual bool BaudRate(int& radio) = 0;
  // A number from 1 to maximum, shown in a read-only line with a spin control.
  virtual bool SelectNumber(const char* prompt, int maximum, std::string& text) = 0;
  // The melody text, rebuilt from the grid on "Ok".
  virtual bool Melody(std::string& melody) = 0;
};

IParamDialogs* GetParamDialogs();
void SetParamDialogs(IParamDialogs* dialogs);
