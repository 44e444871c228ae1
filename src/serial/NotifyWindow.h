// Hidden notify windows: a handle per open port component and the procedure
// that handles the messages sent or posted to it. Handles are never reused, so
// a message for a destroyed window finds nothing. Created, destroyed and
// served on the main thread; the table itself is guarded by its own lock.
#pragma once

#include <cstdint>
#include <functional>

#include "serial/MainThreadQueue.h"

using TWindowProcedure = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

TNotifyWindow CreateNotifyWindow(TWindowProcedure procedure);
void DestroyNotifyWindow(TNotifyWindow window);
// Runs the window's procedure on the calling thread; false when no such window
// exists. The procedure may destroy its own window.
bool DeliverToNotifyWindow(TNotifyWindow window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam);
