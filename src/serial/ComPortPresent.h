// Whether a serial port number names a port that exists: it can be opened, or
// it exists and someone (this program included) holds it or the user may not
// open it. Main thread; opens and closes the device at once.
#pragma once

#include <cstdint>

#include "serial/PortMap.h"

// False for 0; portMap says which device each number stands for.
bool ComPortPresent(uint16_t number, const TPortMap& portMap);
