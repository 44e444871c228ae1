// The program's start-up and its life: the main window and then the three
// dialogs in that order, the requests to end that arrive from outside, and the
// event loop until the main window closes. User-interface thread.
#pragma once

#include <filesystem>
#include <functional>

class TfmMain;

// beforeLoop, when given, sees the main window after every window exists and
// before the event loop shows it. Returns the program's exit status.
int RunTovrana(const std::filesystem::path& settingsFile,
               const std::function<void(TfmMain&)>& beforeLoop = {});
