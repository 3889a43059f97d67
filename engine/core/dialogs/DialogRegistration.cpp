// Registers the Qt parameter dialogs with the block classes when the library
// is loaded, and takes them back (with the owner window) when it is unloaded.
#include "DllMainForm.h"
#include "QtParamDialogs.h"

namespace {

class DialogRegistration {
 public:
  DialogRegistration() { SetParamDialogs(&dialogs_); }
  ~DialogRegistration() {
    if (GetParamDialogs() == &dialogs_) SetParamDialogs(nullptr);
    TDllMainForm::Release();
  }
  DialogRegistration(const DialogRegistration&) = delete;
  DialogRegistration& operator=(const DialogRegistration&) = delete;

 private:
  QtParamDialogs dialogs_;
};

const DialogRegistration g_registration;

}  // namespace
