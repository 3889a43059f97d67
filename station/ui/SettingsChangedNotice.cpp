#include "SettingsChangedNotice.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "ApplySettings.h"
#include "TMDIChildForm.h"
#include "TStationSettings.h"
#include "TToolWindow.h"

void ApplyDisplaySettings() {
  TStationSettings& settings = TStationSettings::Current();
  // The grid switches and simulated inputs the user changed since the last
  // apply must survive it.
  Collect(settings);
  Apply(settings);
  NotifySettingsChanged();
}

void NotifySettingsChanged() {
  // A window may open or close others while it reacts; guard each one.
  QList<QPointer<QWidget>> windows;
  for (QWidget* w : QApplication::allWidgets())
    if (qobject_cast<TMDIChildForm*>(w) || qobject_cast<TToolWindow*>(w)) windows << w;
  for (const QPointer<QWidget>& w : windows) {
    if (!w) continue;
    if (auto* form = qobject_cast<TMDIChildForm*>(w.data()))
      form->SettingsChanged();
    else if (auto* tool = qobject_cast<TToolWindow*>(w.data()))
      tool->SettingsChanged();
  }
}
