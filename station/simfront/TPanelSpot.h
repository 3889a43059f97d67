// TPanelSpot: an invisible child of a painted panel that stands for one
// painted element (a port, a key, an LED) towards assistive technology: it
// carries the element's label as its accessible name and its state as the
// accessible description, and lets every mouse event through to the panel.
#pragma once

#include <QWidget>

class TPanelSpot : public QWidget {
  Q_OBJECT

 public:
  TPanelSpot(const QString& label, const QRect& area, QWidget* panel);

  // Changes the described state (only when it differs).
  void SetState(const QString& state);
  QString State() const { return accessibleDescription(); }
};
