#include "TCenteredDlg.h"

#include <QKeyEvent>
#include <QScreen>

TCenteredDlg::TCenteredDlg(QWidget* parent) : QDialog(parent) {}

bool TCenteredDlg::Execute(QWidget* centreOver) {
  adjustSize();
  QScreen* screen = centreOver ? centreOver->screen() : this->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  QPoint centre = area.center();
  if (centreOver) centre = centreOver->mapToGlobal(centreOver->rect().center());
  QRect r(QPoint(0, 0), size());
  r.moveCenter(centre);
  r.moveLeft(std::clamp(r.left(), area.left(), std::max(area.left(), area.right() - r.width())));
  r.moveTop(std::clamp(r.top(), area.top(), std::max(area.top(), area.bottom() - r.height())));
  move(r.topLeft());
  return exec() == QDialog::Accepted;
}

void TCenteredDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}
