#include "TPanelSpot.h"

#include <QAccessible>

TPanelSpot::TPanelSpot(const QString& label, const QRect& area, QWidget* panel) : QWidget(panel) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(area);
  setAccessibleName(label);
}

void TPanelSpot::SetState(const QString& state) {
  if (state == accessibleDescription()) return;
  setAccessibleDescription(state);
}
