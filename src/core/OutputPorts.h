// The four output ports that the main window owns, and the values its form
// gives them before any settings are read. User-interface thread only.
#pragma once

#include <array>

class TVrlComPort;

// ComPort1 to ComPort4, output 1 at index 0. The main window owns the ports.
using TOutputPorts = std::array<TVrlComPort*, 4>;

// Baud 9600, no port prompt and RTS low on all four; RS485 on outputs 1 to 3;
// receive thresholds 3686/409 on outputs 1 and 4. Called once on new ports,
// before the settings are read.
void ApplyStoredFormValues(const TOutputPorts& ports);
