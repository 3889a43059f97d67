#include "CompileProject.h"

#include "TCompilerForm.h"
#include "TTarvixPlusModel.h"

bool CanCompileProject(const TTarvixPlusModel* model) {
  if (!model || TCompilerForm::AnyRunning()) return false;
  const TSimState state = model->SimState();
  if (state != TSimState::NotReady && state != TSimState::Ready) return false;
  for (const auto& cell : model->Cells())
    if (cell->Count() > 0) return true;
  return false;
}

bool CompileProject(TTarvixPlusModel& model, bool download, QWidget* parent) {
  model.CommitViews();
  if (!model.LoadTableData()) {
    // Tables read before the one that failed are not kept either.
    model.ReleaseTableData();
    return false;
  }
  bool finished = false;
  {
    TCompilerForm form(parent);
    form.SetDownload(download);
    form.SetModel(&model);
    finished = form.exec() == QDialog::Accepted;
  }
  model.ReleaseTableData();
  return finished;
}
