#include "SettingsTestSupport.h"

#include <fstream>
#include <sstream>

TLoadedSettings::TLoadedSettings()
    : Ports{&PortObjects[0], &PortObjects[1], &PortObjects[2], &PortObjects[3]} {
  ApplyStoredFormValues(Ports);
}

void TLoadedSettings::Read(const std::filesystem::path& file) {
  ReadSettingsFile(file, State, Commands, Ports);
}

void TLoadedSettings::Write(const std::filesystem::path& file) const {
  WriteSettingsFile(file, State, Commands, Ports);
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}
