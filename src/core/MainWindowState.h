// What the main window keeps between start-up and close, without any widget:
// its bounds, caption, grid size, the switches of section "General", the open
// flag of each output and the current button. User-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/RemoteSettings.h"

struct TWindowBounds {
  int32_t Top = 0;
  int32_t Left = 0;
  int32_t Height = 600;  // outer height
  int32_t Width = 800;   // outer width
};

struct TMainWindowState {
  TWindowBounds Bounds;
  std::string Caption = "Tovrana";
  uint8_t Rows = 5;
  uint8_t Cols = 3;
  bool FlatButtons = false;
  bool AllowEditing = true;
  bool AllowWindowMoving = true;
  bool AllowWindowResizing = true;
  bool SaveWindowPosition = true;
  bool SaveWindowSize = true;
  bool ShowComPortErrors = true;
  std::array<bool, 4> OpenFlags{};  // output 1 at index 0
  uint8_t CurrentButton = 0;        // 0 until a button is focused or right-clicked
  // False when the settings file is not valid UTF-8: it was made on Windows, so
  // its texts are shown and stored back as Windows-1252.
  bool TextIsUtf8 = true;
  TRemoteSettings Remote;
  // Why the settings file was not loaded (it is too large), for the user; empty
  // when it was.
  std::string SettingsRefusal;
  // The close writes no settings file: the file was refused, or another panel
  // on the same file is open.
  bool SettingsReadOnly = false;
};
