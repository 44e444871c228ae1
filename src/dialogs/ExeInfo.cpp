#include "dialogs/ExeInfo.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "dialogs/version/ElfSection.h"
#include "dialogs/version/VersionInfo.h"
#include "dialogs/version/VersionSection.h"

namespace {

constexpr std::string_view kUpdatedAtRunTime = "Updated at run-time";
constexpr std::size_t kMaxComputerName = 15;
// The block's own length field is 16 bits wide, so no real block is larger.
constexpr std::size_t kMaxVersionBlockSize = 0xFFFF;
// 100 ns ticks from 1601-01-01, where Windows file times start, to 1970-01-01.
constexpr int64_t kFileTimeToUnixEpoch = 116'444'736'000'000'000;

// The names looked up in the string table, in the order of the texts.
constexpr std::string_view kTextNames[] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFileName", "ProductName", "ProductVersion", "Comments",
};

TExeInfo::TFileDate LastModified(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return {};
  const auto sinceEpoch = std::chrono::seconds(status.st_mtim.tv_sec) +
                          std::chrono::nanoseconds(status.st_mtim.tv_nsec);
  return TExeInfo::TFileDate(std::chrono::duration_cast<TExeInfo::TFileTicks>(sinceEpoch));
}

// A file time the calendar cannot hold gives nothing, as on Windows.
std::optional<TExeInfo::TFileDate> FromFileTime(uint32_t high, uint32_t low) {
  const uint64_t ticks = (uint64_t{high} << 32) | low;
  if (ticks > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
  return TExeInfo::TFileDate(
      TExeInfo::TFileTicks(static_cast<int64_t>(ticks) - kFileTimeToUnixEpoch));
}

std::string ReadComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return std::string(name).substr(0, kMaxComputerName);
}

std::string WithTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = EnvironmentValue("HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr)
    return found->pw_dir;
  return {};
}

// The documents folder named in user-dirs.dirs: a quoted value that is either
// "$HOME/..." or an absolute path. A value of "$HOME" alone switches the folder
// off, and the user's home is not their documents folder.
std::optional<std::string> XdgDocumentsFolder(const std::string& home) {
  std::string configHome = EnvironmentValue("XDG_CONFIG_HOME");
  if (configHome.empty() || configHome.front() != '/') configHome = home + "/.config";
  std::ifstream dirs(configHome + "/user-dirs.dirs");
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
  std::string line;
  while (std::getline(dirs, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) continue;
    const std::size_t valueStart = start + kKey.size();
    const std::size_t valueEnd = line.find('"', valueStart);
    if (valueEnd == std::string::npos) return std::nullopt;
    const std::string value = line.substr(valueStart, valueEnd - valueStart);
    if (value.starts_with("$HOME/") && value.size() > 6) return home + value.substr(5);
    if (value.starts_with("/")) return value;
    return std::nullopt;
  }
  return std::nullopt;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

TExeInfo::TExeInfo() : TExeInfo("/proc/self/exe") {}

TExeInfo::TExeInfo(const std::string& executablePath) {
  texts_.fill(std::string(kUpdatedAtRunTime));
  ReadVersionBlock(executablePath);
  computerName_ = ReadComputerName();
}

void TExeInfo::ReadVersionBlock(const std::string& executablePath) {
  std::vector<uint8_t> bytes =
      ReadElfSection(executablePath, kVersionSectionName, kMaxVersionBlockSize);
  if (bytes.empty()) return;
  const auto info = TVersionInfo::Parse(std::move(bytes));
  if (!info) return;

  const TFixedFileInfo fixed = info->FixedFileInfo().value_or(TFixedFileInfo{});
  fileFlags_ = fixed.FileFlags & fixed.FileFlagsMask;
  fileOS_ = fixed.FileOS;
  fileType_ = fixed.FileType;
  std::optional<TFileDate> date;
  if (fixed.FileDateMS != 0 || fixed.FileDateLS != 0)
    date = FromFileTime(fixed.FileDateMS, fixed.FileDateLS);
  fileDate_ = date ? *date : LastModified(executablePath);

  // Without a translation the texts are taken from the block's first string
  // table, which is the one a single-language block has; with no table at all
  // the block names no texts.
  std::optional<std::string> key = info->TranslationKey();
  if (!key) key = info->FirstStringTableKey();
  for (int index = 0; index < kTextCount; ++index) {
    const auto text =
        key ? info->QueryText("StringFileInfo\\" + *key + "\\" + std::string(kTextNames[index]))
            : std::nullopt;
    texts_[index] = text.value_or(std::string());
  }
}

std::string TExeInfo::OSName() const {
  utsname system{};
  if (uname(&system) != 0) return "Unknown";
  return std::string(system.sysname) + " " + system.release;
}

std::string TExeInfo::WindowsDir() const { return "/usr/"; }

std::string TExeInfo::SystemDir() const { return "/usr/lib/"; }

std::string TExeInfo::TempDir() const {
  const std::string folder = EnvironmentValue("TMPDIR");
  return WithTrailingSlash(folder.empty() ? "/tmp" : folder);
}

std::string TExeInfo::MyDocumentsDir() const {
  const std::string home = HomeFolder();
  if (!home.empty()) {
    const auto xdg = XdgDocumentsFolder(home);
    if (xdg && IsFolder(*xdg)) return *xdg;
    if (IsFolder(home + "/Documents")) return home + "/Documents";
  }
  throw EFolderNotFound("Could not find MyDocuments folder location.");
}
