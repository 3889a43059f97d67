// What the program Vorblen plugs into the frame: every window class for the
// window factory, and the dialogs and windows the frame and the user
// interface reach through hooks (compile window, option dialogs, tip of the
// day, about window, help, the simulator's input dialog).
#pragma once

class TWidgetUserInterface;

void RegisterStationWindows();
// Only the simulation windows (terminal, watch list, port, analog and key
// panels, trend view), for tests of those windows.
void RegisterSimulationWindows();
void InstallStationHooks(TWidgetUserInterface& ui);
