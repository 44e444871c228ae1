// Loading and saving the settings file: the main window's state, the button
// records and the four output ports. Runs on the user-interface thread only.
#pragma once

#include <filesystem>
#include <stdexcept>

#include "core/CommandList.h"
#include "core/MainWindowState.h"
#include "core/OutputPorts.h"

// Raised by WriteSettingsFile when the file cannot be written; what() names the
// file and the reason. The file on disk is then unchanged.
class ESettingsWrite : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The settings file of the running executable: beside it, with its extension
// replaced by ".ini", or in the user's configuration folder when the program is
// installed (see SettingsLocation.h).
std::filesystem::path SettingsFilePath();
// The same rule on a given executable path.
std::filesystem::path SettingsPathFor(const std::filesystem::path& executable);

// Fills state, appends 100 records to the (empty) command list and assigns the
// ports' properties, including the port map of section "Ports", whose relative
// paths are taken from the file's folder. A missing, partial or unreadable file
// is no error: what it does not give takes its default. A file over 4 MiB is
// not read at all: state.SettingsRefusal says so and the panel is read-only.
void ReadSettingsFile(const std::filesystem::path& file, TMainWindowState& state,
                      TCommandList& commands, const TOutputPorts& ports);

// Reads the file again and writes the state back into it atomically (see
// ReplaceFileAtomically), so sections and keys it does not own survive. Writes
// nothing while state.SettingsReadOnly is set. Throws ESettingsWrite when it
// cannot, also when the existing file cannot be read (or has grown over 4 MiB),
// which is then never overwritten.
void WriteSettingsFile(const std::filesystem::path& file, const TMainWindowState& state,
                       const TCommandList& commands, const TOutputPorts& ports);
