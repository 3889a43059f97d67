// After the colours or fonts of the running station's settings changed:
// hands them to the process-wide display records and tells every open
// document window and simulator panel, which repaint with the new values.
#pragma once

// Copies back what the program changed at run time, applies the settings of
// TStationSettings::Current() and calls SettingsChanged on every window.
void ApplyDisplaySettings();

// Only the second half: every TMDIChildForm and TToolWindow of the
// application gets SettingsChanged.
void NotifySettingsChanged();
