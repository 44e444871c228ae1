#include "core/SettingsLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "core/Settings.h"

namespace {

// Folders of installed programs: even a user who may write there (root) keeps
// per-user settings out of them.
bool IsSystemFolder(const std::filesystem::path& folder) {
  const std::string text = folder.string();
  return text.starts_with("/usr/") || text == "/usr" || text.starts_with("/bin") ||
         text.starts_with("/sbin");
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = EnvironmentValue("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
      home = entry->pw_dir;
    }
  }
  return home;
}

}  // namespace

std::filesystem::path ChooseSettingsFile(const TSettingsLocationFacts& facts) {
  const std::filesystem::path beside = SettingsPathFor(facts.Executable);
  const std::filesystem::path folder = facts.Executable.parent_path();
  if (facts.BesideFileExists || (facts.ExecutableFolderWritable && !IsSystemFolder(folder))) {
    return beside;
  }
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  std::filesystem::path config = facts.XdgConfigHome;
  if (config.empty() || config.is_relative())
    config = std::filesystem::path(facts.Home) / ".config";
  return config / "tovrana" / beside.filename();
}

std::filesystem::path SettingsFilePath() {
  TSettingsLocationFacts facts;
  facts.Executable = std::filesystem::read_symlink("/proc/self/exe");
  std::error_code error;
  facts.BesideFileExists = std::filesystem::exists(
      std::filesystem::symlink_status(SettingsPathFor(facts.Executable), error));
  facts.ExecutableFolderWritable = access(facts.Executable.parent_path().c_str(), W_OK) == 0;
  facts.XdgConfigHome = EnvironmentValue("XDG_CONFIG_HOME");
  facts.Home = HomeFolder();
  return ChooseSettingsFile(facts);
}
