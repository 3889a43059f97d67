// TCompareForm: the document window "Vergleich". It compares another
// version of the project, read from a file, with the open project and lists
// the differences grouped by cell; it follows the project's edits. Enter on
// a cell (or one of its lines) opens the cell editor with the added, moved
// and changed blocks selected and lists the removed ones below, since they
// exist only in the other file.
#pragma once

#include <QString>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "TMDIChildForm.h"
#include "TProjectDiff.h"
#include "TProjectSnapshot.h"

class QLabel;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TStationFrame;

class TCompareForm : public TMDIChildForm {
  Q_OBJECT

 public:
  explicit TCompareForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TCompareForm() override;

  // "Datei > Vergleichen mit...": asks for the other file and shows the
  // comparison in the frame's "Vergleich" window.
  static void CompareWith(TStationFrame& frame);

  // Reads the other version; false (after the load's messages) when it
  // cannot be read, and the window keeps what it showed.
  bool SetOtherFile(const QString& fileName);
  const QString& OtherFile() const { return otherFile_; }
  const TProjectDiff& Diff() const { return diff_; }
  QTreeWidget* List() const { return list_; }
  QListWidget* RemovedList() const { return removed_; }

  // Opens the cell of a difference paragraph (its index in the cell list of
  // Diff()) as Enter does.
  void OpenCellOf(int cellIndex);

  // TMDIChildForm
  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void ReadDesktop(QDataStream& in) override;
  void WriteDesktop(QDataStream& out) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Refresh();
  void Rebuild();
  void Activate(QTreeWidgetItem* item);

  QString otherFile_;
  bool haveOther_ = false;
  TProjectSnapshot other_;
  TProjectDiff diff_;
  QLabel* header_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QLabel* removedTitle_ = nullptr;
  QListWidget* removed_ = nullptr;
  // Edits come in bursts (a drag moves many blocks): compare once after them.
  QTimer refresh_;
};
