#include "TMDIChildForm.h"

#include <QDataStream>
#include <QMdiSubWindow>

#include "TTarvixPlusModel.h"

TMDIChildForm::TMDIChildForm(TTarvixPlusModel* model, QWidget* parent) : QWidget(parent), model_(model) {
  setAttribute(Qt::WA_DeleteOnClose);
  if (model_) model_->AddView(this);
}

TMDIChildForm::~TMDIChildForm() {
  if (model_) model_->RemoveView(this);
}

QMdiSubWindow* TMDIChildForm::SubWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

void TMDIChildForm::DoCommand(int32_t, QObject*) {}

bool TMDIChildForm::IsCommandEnabled(int32_t) { return false; }

void TMDIChildForm::ModelDestroyed() {
  model_ = nullptr;
  CloseWindow();
}

void TMDIChildForm::Update(int32_t, int64_t, const TChangeRecord*) {}

void TMDIChildForm::ReadDesktop(QDataStream&) {}

void TMDIChildForm::WriteDesktop(QDataStream&) const {}

void TMDIChildForm::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  setAccessibleName(caption);
  if (QMdiSubWindow* sub = SubWindow()) sub->setWindowTitle(caption);
}

void TMDIChildForm::ModelChanged(int32_t code, int64_t data, const TChangeRecord* record) { Update(code, data, record); }

void TMDIChildForm::ModelGone() {
  // The model has already dropped this view: no RemoveView later.
  ModelDestroyed();
  model_ = nullptr;
}

void TMDIChildForm::CloseWindow() {
  if (QMdiSubWindow* sub = SubWindow())
    sub->close();
  else
    close();
}
