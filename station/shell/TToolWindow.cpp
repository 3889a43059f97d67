#include "TToolWindow.h"

TToolWindow::TToolWindow(TTarvixPlusModel* model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), model_(model) {
  setMinimumSize(32, 32);
}
