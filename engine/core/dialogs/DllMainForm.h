// TDllMainForm: the library's own window, never shown. It owns every block
// parameter dialog, so the dialogs belong to the engine rather than to a
// window of the host.
//
// Created on first use once a QApplication exists and destroyed together with
// that application (widgets must not outlive it); the next application gets a
// fresh one.
#pragma once

#include <QWidget>

class TDllMainForm : public QWidget {
 public:
  // The form, or null while there is no QApplication.
  static TDllMainForm* Instance();
  // Destroys the form now; used when the library is unloaded.
  static void Release();

 private:
  TDllMainForm();
};
