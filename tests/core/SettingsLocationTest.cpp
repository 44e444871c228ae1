#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "core/SettingsLocation.h"

namespace {

namespace fs = std::filesystem;

struct TLocationCase {
  const char* Name;
  TSettingsLocationFacts Facts;
  const char* Expected;
};

TEST(SettingsLocation, BesideTheExecutableUnlessInstalled) {
  const TLocationCase cases[] = {
      {"a writable folder keeps the panel beside its executable",
       {"/home/op/panel/tovrana", false, true, "", "/home/op"},
       "/home/op/panel/tovrana.ini"},
      {"an installed program uses the user's configuration folder",
       {"/usr/bin/tovrana", false, false, "", "/home/op"},
       "/home/op/.config/tovrana/tovrana.ini"},
      {"XDG_CONFIG_HOME is honoured",
       {"/usr/bin/tovrana", false, false, "/srv/cfg", "/home/op"},
       "/srv/cfg/tovrana/tovrana.ini"},
      {"a relative XDG_CONFIG_HOME is ignored",
       {"/usr/bin/tovrana", false, false, "cfg", "/home/op"},
       "/home/op/.config/tovrana/tovrana.ini"},
      {"a system folder counts as installed even for a user who may write it",
       {"/usr/bin/tovrana", false, true, "", "/root"},
       "/root/.config/tovrana/tovrana.ini"},
      {"a file beside an installed executable makes a portable panel",
       {"/usr/bin/tovrana", true, false, "", "/home/op"},
       "/usr/bin/tovrana.ini"},
      {"a read-only folder elsewhere falls back to the configuration folder",
       {"/media/cdrom/tovrana", false, false, "", "/home/op"},
       "/home/op/.config/tovrana/tovrana.ini"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseSettingsFile(c.Facts), fs::path(c.Expected)) << c.Name;
}

TEST(SettingsLocation, FirstSaveCreatesTheConfigurationFolder) {
  TTemporaryFolder folder;
  const fs::path file = folder.Path() / "config" / "tovrana" / "tovrana.ini";
  TLoadedSettings settings;
  settings.Read(file);
  settings.Write(file);
  EXPECT_NE(ReadText(file).find("[Button 15]"), std::string::npos);
}

TEST(SettingsLocation, AnUnusableFolderIsNamedInTheError) {
  TTemporaryFolder folder;
  WriteText(folder.Path() / "plain", "");
  const fs::path file = folder.Path() / "plain" / "tovrana" / "tovrana.ini";
  TLoadedSettings settings;
  settings.Read(file);
  try {
    settings.Write(file);
    FAIL() << "no exception";
  } catch (const ESettingsWrite& error) {
    EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("Not a directory"), std::string::npos) << error.what();
  }
}

}  // namespace
