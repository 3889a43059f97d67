// TCheckResultForm: the document window "Prüfergebnis". It lists the
// findings of the last program check of its project (severity, code, cell,
// block, text) with a summary line, and follows new checks. Enter or a
// double click on a finding opens its cell in a cell editor and selects the
// block there.
#pragma once

#include <vector>

#include "TFinding.h"
#include "TMDIChildForm.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

class TCheckResultForm : public TMDIChildForm {
  Q_OBJECT

 public:
  explicit TCheckResultForm(TTarvixPlusModel* model, QWidget* parent = nullptr);

  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void ModelDestroyed() override;

  // Checks the project again and shows the findings.
  void Recheck();
  QTreeWidget* List() const { return list_; }
  QLabel* Summary() const { return summary_; }
  const std::vector<TFinding>& Shown() const { return shown_; }
  // Shows the finding of a row in the cell editor; false when it has no cell.
  bool OpenFinding(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Reload();

  QLabel* summary_ = nullptr;
  QTreeWidget* list_ = nullptr;
  std::vector<TFinding> shown_;
};
