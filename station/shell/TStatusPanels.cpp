#include "TStatusPanels.h"

#include <QLabel>
#include <QSizeGrip>
#include <QStatusBar>

#include "TTarvixPlusModel.h"

TStatusPanels::TStatusPanels(QStatusBar& bar) {
  modified_ = new QLabel(&bar);
  modified_->setObjectName(QStringLiteral("StatusPanel0"));
  modified_->setFixedWidth(70);
  hintPanel_ = new QLabel(QStringLiteral("Bereit"), &bar);
  hintPanel_->setObjectName(QStringLiteral("StatusPanel1"));
  hintPanel_->setMinimumWidth(50);
  bar.setObjectName(QStringLiteral("StatusBar"));
  bar.setAccessibleName(QStringLiteral("Statusleiste"));
  if (auto* grip = bar.findChild<QSizeGrip*>()) grip->setAccessibleName(QStringLiteral("Fenstergröße"));
  modified_->setAccessibleDescription(QStringLiteral("Änderungsstatus"));
  bar.addWidget(modified_);
  bar.addWidget(hintPanel_, 1);
  position_ = new QLabel(&bar);
  position_->setObjectName(QStringLiteral("StatusPanel2"));
  position_->setAccessibleDescription(QStringLiteral("Position im Text"));
  position_->setVisible(false);
  bar.addPermanentWidget(position_);
}

void TStatusPanels::ShowPosition(const QString& text) {
  position_->setText(text);
  position_->setAccessibleName(text);
  position_->setVisible(!text.isEmpty());
}

void TStatusPanels::Refresh(const TTarvixPlusModel* project) {
  auto set = [](QLabel* panel, const QString& text) {
    if (panel->text() == text) return;
    panel->setText(text);
    panel->setAccessibleName(text);
  };
  set(modified_, project && project->Modified() ? QStringLiteral("Geändert") : QString());
  // A halted simulation is still active (its commands stay), but nothing runs.
  const bool running = project && project->IsSimulating() && project->SimState() != TSimState::Halted;
  const QString state = running ? QStringLiteral("Simulation läuft") : QStringLiteral("Bereit");
  set(hintPanel_, hint_.isEmpty() ? state : hint_);
}

QString TStatusPanels::Text(int index) const {
  if (index == 0) return modified_->text();
  return index == 1 ? hintPanel_->text() : position_->text();
}
