// TCliUserInterface: the station's questions and messages on a terminal.
//
// Messages go to standard error in UTF-8; questions get their safe answer
// (no, cancel); input requests of the simulated program take the values
// given on the command line, in order.
#pragma once

#include <deque>

#include "UserInterface.h"

class TCliUserInterface : public TSilentUserInterface {
 public:
  void ErrorBox(const QString& text) override {
    if (text.startsWith(QStringLiteral("Es trat ein Simulationsfehler auf"))) runtimeError = true;
    Print(text);
  }
  void FatalBox(const QString& text) override { Print(text); }
  void InfoBox(const QString& text) override { Print(text); }
  bool InputInteger(const QString& caption, const QString& prompt, int32_t& value) override;

  // Writes a message line to standard error.
  static void Print(const QString& text);

  std::deque<int32_t> inputs;
  bool inputsExhausted = false;
  bool runtimeError = false;
};
