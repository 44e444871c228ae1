// Where the settings file lives. A panel keeps it beside its executable, so a
// copied folder is a complete panel; an installed executable, in a folder the
// user cannot or should not write, keeps it in the user's configuration folder,
// unless a file beside the executable exists (a portable panel), which wins.
#pragma once

#include <filesystem>
#include <string>

struct TSettingsLocationFacts {
  std::filesystem::path Executable;
  bool BesideFileExists = false;
  bool ExecutableFolderWritable = true;
  std::string XdgConfigHome;  // empty when unset
  std::string Home;
};

std::filesystem::path ChooseSettingsFile(const TSettingsLocationFacts& facts);
