// What the program Vorblen plugs into the station besides the frame's
// services (TVorblenServices): every window class for the window factory,
// and the dialogs the user interface reaches through hooks (help, the
// simulator's input dialog, the compile window's port choice).
#pragma once

class TWidgetUserInterface;

void RegisterStationWindows();
// Only the simulation windows (terminal, watch list, port, analog and key
// panels, trend view), for tests of those windows.
void RegisterSimulationWindows();
void InstallStationHooks(TWidgetUserInterface& ui);
