// Load and save of the settings file over the main window's state, the command
// list and the four output ports, and the file's location.
#include "core/Settings.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "core/AtomicFile.h"
#include "core/IniFile.h"
#include "core/RemoteSettings.h"
#include "core/Utf8.h"
#include "serial/ComPort.h"

namespace {

constexpr int kButtonRecordCount = 100;
constexpr int32_t kMinGridSize = 1;
constexpr int32_t kMaxGridSize = 10;
constexpr int32_t kMinWindowWidth = 250;
constexpr int32_t kMinWindowHeight = 150;
constexpr std::string_view kWindows = "Windows";
constexpr std::string_view kGeneral = "General";
constexpr std::string_view kPorts = "Ports";
constexpr std::string_view kButtonPrefix = "Button";
constexpr std::string_view kBinaryForm = "Binary";
constexpr std::string_view kHexForm = "Hex";

struct THardwareFlowKey {
  std::string_view Key;
  THWFlowOption Option;
};

// In the order the load adds them.
constexpr THardwareFlowKey kHardwareFlowKeys[] = {
    {"Use DTR", THWFlowOption::hwfUseDTR},
    {"Use RTS", THWFlowOption::hwfUseRTS},
    {"Require DSR", THWFlowOption::hwfRequireDSR},
    {"Require CTS", THWFlowOption::hwfRequireCTS},
};

std::string OutputSection(size_t index) { return "Output " + std::to_string(index + 1); }

std::string ButtonSection(int number) { return "Button " + std::to_string(number); }

uint8_t ClampedGridSize(int32_t value) {
  return static_cast<uint8_t>(std::clamp(value, kMinGridSize, kMaxGridSize));
}

// Port number n of a key "COM" + n (any letter case), or 0 for any other key.
uint16_t PortNumberOfKey(std::string_view key) {
  if (key.size() <= 3 || !EqualsIgnoringCase(key.substr(0, 3), "COM")) return 0;
  const std::string_view digits = key.substr(3);
  uint32_t number = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || number > 0xFFFF) return 0;
  return static_cast<uint16_t>(number);
}

// A relative device path is taken from the settings file's folder, so that the
// panel finds its ports whatever folder it was started from. Network addresses
// ("socket://...") and empty values stay as they are.
std::string DevicePathFrom(const std::filesystem::path& settingsFolder, const std::string& value) {
  if (value.empty() || value.find("://") != std::string::npos) return value;
  const std::filesystem::path path(value);
  return path.is_relative() ? (settingsFolder / path).lexically_normal().string() : value;
}

TPortMap ReadPortMap(const TIniFile& ini, const std::filesystem::path& settingsFolder) {
  TPortMap map;
  for (const auto& [key, value] : ini.ReadSectionValues(kPorts)) {
    if (const uint16_t number = PortNumberOfKey(key); number != 0) {
      map.Assign(number, DevicePathFrom(settingsFolder, value));
    }
  }
  return map;
}

// The settings file is read whole; one beyond this size is no panel anyone
// wrote, and reading it would cost time and memory out of all proportion.
constexpr size_t kLargestSettingsFile = 4 * 1024 * 1024;

void ReadWindow(const TIniFile& ini, TMainWindowState& state) {
  state.Bounds.Top = ini.ReadInteger(kWindows, "Main Top", 0);
  state.Bounds.Left = ini.ReadInteger(kWindows, "Main Left", 0);
  state.Bounds.Height = std::max(ini.ReadInteger(kWindows, "Main Height", 600), kMinWindowHeight);
  state.Bounds.Width = std::max(ini.ReadInteger(kWindows, "Main Width", 800), kMinWindowWidth);
}

void ReadGeneral(const TIniFile& ini, TMainWindowState& state) {
  state.Rows = ClampedGridSize(ini.ReadInteger(kGeneral, "Button Rows", 5));
  state.Cols = ClampedGridSize(ini.ReadInteger(kGeneral, "Button Cols", 3));
  state.FlatButtons = ini.ReadBool(kGeneral, "Flat Buttons", false);
  state.Caption = ini.ReadString(kGeneral, "Caption", "Tovrana");
  state.AllowEditing = ini.ReadBool(kGeneral, "Allow Editing", true);
  state.AllowWindowMoving = ini.ReadBool(kGeneral, "Allow Window Moving", true);
  state.AllowWindowResizing = ini.ReadBool(kGeneral, "Allow Window Resizing", true);
  state.SaveWindowPosition = ini.ReadBool(kGeneral, "Save Window Position", true);
  state.SaveWindowSize = ini.ReadBool(kGeneral, "Save Window Size", true);
  state.ShowComPortErrors = ini.ReadBool(kGeneral, "Show Com Port Errors", true);
}

// The order of the assignments matters: RS485 mode goes before the hardware
// options, so an RTS or CTS handshake asked for as well wins over it.
void ReadOutput(const TIniFile& ini, size_t index, TVrlComPort& port, bool& openFlag) {
  const std::string section = OutputSection(index);
  port.SetComNumber(static_cast<uint16_t>(ini.ReadInteger(section, "Port Number", 1)));
  port.SetBaud(ini.ReadInteger(section, "Baud Rate", 9600));
  port.SetDataBits(static_cast<uint16_t>(ini.ReadInteger(section, "Data Bits", 8)));
  port.SetStopBits(static_cast<uint16_t>(ini.ReadInteger(section, "Stop Bits", 1)));
  port.SetParity(static_cast<TParity>(static_cast<uint8_t>(ini.ReadInteger(section, "Parity", 0))));
  port.SetRS485Mode(ini.ReadBool(section, "RS485 Mode", false));
  openFlag = ini.ReadBool(section, "Open", false);
  if (index != 0) return;

  if (ini.ReadBool(section, "Software Flow Control", false)) {
    port.SetSWFlowOptions(TSWFlowOptions::swfTransmit);
  }
  for (const THardwareFlowKey& flow : kHardwareFlowKeys) {
    if (!ini.ReadBool(section, flow.Key, false)) continue;
    THWFlowOptionSet options = port.HWFlowOptions();
    options.Include(flow.Option);
    port.SetHWFlowOptions(options);
  }
}

void ReadButton(const TIniFile& ini, int number, TCommand& record) {
  const std::string section = ButtonSection(number);
  record.Caption = ini.ReadString(section, "Caption", std::to_string(number));
  record.Data = ini.ReadString(section, "Data", "");
  record.Output = static_cast<uint8_t>(ini.ReadInteger(section, "Output", 1));
  record.ButtonColour = static_cast<TColour>(
      ini.ReadInteger(section, "Button Colour", static_cast<int32_t>(kColourButtonFace)));
  record.TextColour = static_cast<TColour>(
      ini.ReadInteger(section, "Text Colour", static_cast<int32_t>(kColourWindowText)));
  record.ImageIndex = ini.ReadInteger(section, "Image Index", -1);
  record.PressData = ini.ReadString(section, "Press Data", "");
  record.RepeatInterval = ClampRepeatInterval(ini.ReadInteger(section, "Repeat Interval", 0));
  record.Checksum = ini.ReadString(section, "Checksum", "");
  record.ChecksumFrom = std::max(ini.ReadInteger(section, "Checksum From", 0), 0);
  record.ChecksumForm =
      EqualsIgnoringCase(ini.ReadString(section, "Checksum Form", kBinaryForm), kHexForm)
          ? TChecksumForm::Hex
          : TChecksumForm::Binary;
  record.Reply = ini.ReadString(section, "Reply", "");
  record.ReplyTimeout =
      ClampReplyTimeout(ini.ReadInteger(section, "Reply Timeout", kDefaultReplyTimeout));
}

void WriteGeneral(TIniFile& ini, const TMainWindowState& state) {
  ini.WriteInteger(kGeneral, "Button Rows", state.Rows);
  ini.WriteInteger(kGeneral, "Button Cols", state.Cols);
  ini.WriteBool(kGeneral, "Flat Buttons", state.FlatButtons);
  ini.WriteString(kGeneral, "Caption", state.Caption);
  ini.WriteBool(kGeneral, "Allow Window Moving", state.AllowWindowMoving);
  ini.WriteBool(kGeneral, "Allow Window Resizing", state.AllowWindowResizing);
  ini.WriteBool(kGeneral, "Save Window Position", state.SaveWindowPosition);
  ini.WriteBool(kGeneral, "Save Window Size", state.SaveWindowSize);
  ini.WriteBool(kGeneral, "Show Com Port Errors", state.ShowComPortErrors);
}

void WriteOutput(TIniFile& ini, size_t index, const TVrlComPort& port, bool openFlag) {
  const std::string section = OutputSection(index);
  ini.WriteInteger(section, "Port Number", port.ComNumber());
  ini.WriteInteger(section, "Baud Rate", port.Baud());
  ini.WriteInteger(section, "Data Bits", port.DataBits());
  ini.WriteInteger(section, "Stop Bits", port.StopBits());
  ini.WriteInteger(section, "Parity", static_cast<uint8_t>(port.Parity()));
  ini.WriteBool(section, "RS485 Mode", port.RS485Mode());
  ini.WriteBool(section, "Open", openFlag);
  if (index != 0) return;

  ini.WriteBool(section, "Software Flow Control",
                port.SWFlowOptions() == TSWFlowOptions::swfTransmit);
  for (const THardwareFlowKey& flow : kHardwareFlowKeys) {
    ini.WriteBool(section, flow.Key, port.HWFlowOptions().Contains(flow.Option));
  }
}

void WriteButton(TIniFile& ini, int number, const TCommand& record) {
  const std::string section = ButtonSection(number);
  ini.WriteString(section, "Caption", record.Caption);
  ini.WriteString(section, "Data", record.Data);
  ini.WriteInteger(section, "Output", record.Output);
  ini.WriteInteger(section, "Button Colour", static_cast<int32_t>(record.ButtonColour));
  ini.WriteInteger(section, "Text Colour", static_cast<int32_t>(record.TextColour));
  ini.WriteInteger(section, "Image Index", record.ImageIndex);
  // Only what differs from the defaults, so that a plain button's section reads
  // as it always has.
  if (!record.PressData.empty()) ini.WriteString(section, "Press Data", record.PressData);
  if (record.RepeatInterval != 0) {
    ini.WriteInteger(section, "Repeat Interval", record.RepeatInterval);
  }
  if (!record.Checksum.empty()) ini.WriteString(section, "Checksum", record.Checksum);
  if (record.ChecksumFrom != 0) ini.WriteInteger(section, "Checksum From", record.ChecksumFrom);
  if (record.ChecksumForm == TChecksumForm::Hex) {
    ini.WriteString(section, "Checksum Form", kHexForm);
  }
  if (!record.Reply.empty()) ini.WriteString(section, "Reply", record.Reply);
  if (record.ReplyTimeout != kDefaultReplyTimeout) {
    ini.WriteInteger(section, "Reply Timeout", record.ReplyTimeout);
  }
}

// "Buttons" and "button notes" count as well: only the first six letters matter.
bool IsButtonSection(std::string_view name) {
  return name.size() >= kButtonPrefix.size() &&
         EqualsIgnoringCase(name.substr(0, kButtonPrefix.size()), kButtonPrefix);
}

void CreateFolderOf(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) {
    throw EFileAccess("its folder cannot be created: " + error.message());
  }
}

std::string SaveFailure(const std::filesystem::path& file, const std::string& reason) {
  return "Cannot save the settings file \"" + file.string() + "\": " + reason;
}

}  // namespace

std::filesystem::path SettingsPathFor(const std::filesystem::path& executable) {
  std::string name = executable.filename().string();
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return executable.parent_path() / (name + ".ini");
}

void ReadSettingsFile(const std::filesystem::path& file, TMainWindowState& state,
                      TCommandList& commands, const TOutputPorts& ports) {
  std::string text;
  try {
    text = ReadFileBytes(file, kLargestSettingsFile).value_or("");
  } catch (const EFileTooLarge& error) {
    // Defaults stand in for it, and the close leaves it as it is.
    state.SettingsRefusal =
        "The settings file \"" + file.string() + "\" was not loaded: " + error.what() +
        ". The panel starts with its defaults and will not " + "write over that file.";
    state.SettingsReadOnly = true;
  } catch (const EFileAccess&) {
    // Defaults stand in for an unreadable file; the save then refuses to
    // overwrite what it could not read.
  }
  const TIniFile ini(text);
  state.TextIsUtf8 = IsValidUtf8(text);

  ReadWindow(ini, state);
  ReadGeneral(ini, state);
  const TPortMap portMap = ReadPortMap(ini, std::filesystem::absolute(file).parent_path());
  for (size_t index = 0; index < ports.size(); ++index) {
    ports[index]->SetPortMap(portMap);
    ReadOutput(ini, index, *ports[index], state.OpenFlags[index]);
  }
  state.Remote = ReadRemoteSettings(ini);
  for (int number = 1; number <= kButtonRecordCount; ++number) {
    ReadButton(ini, number, commands.Get(commands.Add()));
  }
}

void WriteSettingsFile(const std::filesystem::path& file, const TMainWindowState& state,
                       const TCommandList& commands, const TOutputPorts& ports) {
  if (state.SettingsReadOnly) return;
  TIniFile ini;
  try {
    ini = TIniFile(ReadFileBytes(file, kLargestSettingsFile).value_or(""));
  } catch (const EFileAccess& error) {
    throw ESettingsWrite(SaveFailure(file, std::string("it cannot be read: ") + error.what()));
  }

  if (state.SaveWindowPosition || state.AllowEditing) {
    ini.WriteInteger(kWindows, "Main Top", state.Bounds.Top);
    ini.WriteInteger(kWindows, "Main Left", state.Bounds.Left);
  }
  if (state.SaveWindowSize || state.AllowEditing) {
    ini.WriteInteger(kWindows, "Main Height", state.Bounds.Height);
    ini.WriteInteger(kWindows, "Main Width", state.Bounds.Width);
  }
  if (state.AllowEditing) {
    WriteGeneral(ini, state);
    for (size_t index = 0; index < ports.size(); ++index) {
      WriteOutput(ini, index, *ports[index], state.OpenFlags[index]);
    }
    ini.EraseSectionsIf(IsButtonSection);
    const int buttonCount = std::min(state.Rows * state.Cols, commands.Count());
    for (int number = 1; number <= buttonCount; ++number) {
      WriteButton(ini, number, commands.Get(number - 1));
    }
  }

  const std::string text = ini.Text();
  // Saving ends every line with CR LF, so a file of lone line feeds grows; one
  // the next start would refuse is not written.
  if (text.size() > kLargestSettingsFile) {
    throw ESettingsWrite(SaveFailure(file, "it would be larger than 4 MiB"));
  }
  try {
    // The first save into the user's configuration folder creates it.
    CreateFolderOf(file);
    ReplaceFileAtomically(file, text);
  } catch (const EFileAccess& error) {
    throw ESettingsWrite(SaveFailure(file, error.what()));
  }
}
