// TBlockBitmapDlg: chooses the user bitmap of a functional block, with a
// preview of the file the bitmap search finds.
#pragma once

#include "TCenteredDlg.h"

class QLabel;
class QLineEdit;

class TBlockBitmapDlg : public TCenteredDlg {
  Q_OBJECT
 public:
  explicit TBlockBitmapDlg(QWidget* parent = nullptr);

  void SetFileName(const QString& name);
  QString FileName() const;

  // OK: refuses a non-empty name that does not load.
  void accept() override;

 private:
  void RefreshPreview();
  void Browse();

  QLineEdit* edit_;
  QLabel* preview_;
};
