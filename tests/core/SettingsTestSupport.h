// A temporary folder with one settings file, and the in-memory state that the
// load fills: main window state, command list and four ports.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "TemporaryFolder.h"
#include "core/CommandList.h"
#include "core/MainWindowState.h"
#include "core/Settings.h"
#include "serial/ComPort.h"

// What one run of the program holds between load and save.
struct TLoadedSettings {
  TLoadedSettings();
  TLoadedSettings(const TLoadedSettings&) = delete;
  TLoadedSettings& operator=(const TLoadedSettings&) = delete;

  void Read(const std::filesystem::path& file);
  void Write(const std::filesystem::path& file) const;

  TMainWindowState State;
  TCommandList Commands;
  std::array<TVrlComPort, 4> PortObjects;
  TOutputPorts Ports;
};

std::string ReadText(const std::filesystem::path& file);
void WriteText(const std::filesystem::path& file, const std::string& text);
