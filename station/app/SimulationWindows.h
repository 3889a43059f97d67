// Registers the simulation windows (terminal, watch list, port, analog and
// key panels, trend view) with the window factory.
#pragma once

void RegisterSimulationWindows();
