#include "DllMainForm.h"

#include <QApplication>
#include <QPointer>

namespace {

QPointer<TDllMainForm> g_form;

void DestroyForm() { delete g_form.data(); }

}  // namespace

TDllMainForm::TDllMainForm() {
  setObjectName(QStringLiteral("DllMainForm"));
  setWindowTitle(QStringLiteral("DllMainForm"));
}

TDllMainForm* TDllMainForm::Instance() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  if (!g_form) {
    g_form = new TDllMainForm;
    // Runs while the application is being destroyed, before the widget
    // machinery is gone.
    qAddPostRoutine(DestroyForm);
  }
  return g_form;
}

void TDllMainForm::Release() {
  qRemovePostRoutine(DestroyForm);
  if (QCoreApplication::instance()) DestroyForm();
}
