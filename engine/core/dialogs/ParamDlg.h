// TParamDlg: what every block parameter dialog shares. A fixed client size,
// the platform's dialog font at 8 points, the body laid out above a row with
// "Ok" (default button) and "Abbrechen" (cancel button), and the dialog
// centred on the screen when it is shown.
#pragma once

#include <QDialog>

class QBoxLayout;
class QPushButton;

class TParamDlg : public QDialog {
  Q_OBJECT

 public:
  // caption is Windows-1252 text; width and height are the client size.
  TParamDlg(QWidget* owner, const char* caption, int width, int height);

  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 protected:
  // The layout that takes the dialog's own controls.
  QBoxLayout* Body() const { return body_; }
  void showEvent(QShowEvent* event) override;

 protected slots:
  // "Ok": closes the dialog with Accepted unless a dialog refuses its entry.
  virtual void OkButtonClick();

 private:
  QBoxLayout* body_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};
