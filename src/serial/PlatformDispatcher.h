// The platform's side of opening a port: which dispatcher drives the port map's
// value (a device path, or the URL of a network output), and how it words an
// open that the user is not allowed to make. The implementation is chosen by
// the build (posix/PlatformDispatcher.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "serial/Dispatcher.h"

// owner may be null (the presence probe); devicePath is the port map's value.
// Raises std::system_error when the system refuses what a dispatcher needs
// (such as descriptors for its events).
std::unique_ptr<TVrlBaseDispatcher> CreatePlatformDispatcher(TDispatcherOwner* owner,
                                                             const std::string& devicePath);

// The result code that names an operating-system error of this platform.
int32_t SystemErrorResult(int errorNumber);

// True when an open failed with result because the user lacks the right to
// open the device, not because someone else holds it.
bool IsPermissionRefusal(int32_t result);
// The message for such a refusal: what happened, on which device, and how the
// user gets the right.
std::string PermissionRefusalText(const std::string& devicePath);
