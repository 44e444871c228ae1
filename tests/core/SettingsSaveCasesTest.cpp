// Where the save must not take the usual road: a writable file in a folder its
// user may not write, a dangling link, another user's file saved by root, and
// temporary files that earlier interrupted saves left; and where it must not
// write at all. Relative device paths are taken from the file's folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "SettingsTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

class SettingsSaveCasesTest : public testing::Test {
 protected:
  fs::path File() const { return folder_ / "tovrana.ini"; }
  TTemporaryFolder folder_;
};

TEST_F(SettingsSaveCasesTest, AWritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  // Root may write any folder; the user that may not is nobody.
  ASSERT_EQ(::chmod(folder_.Path().c_str(), 0755), 0);
  const fs::path folder = folder_ / "read-only";
  fs::create_directory(folder);
  const fs::path file = folder / "tovrana.ini";
  WriteText(file, "[General]\r\nCaption=old\r\n[Mine]\r\nKept=1\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && ::setuid(kNobody) != 0) std::_Exit(2);
        TLoadedSettings loaded;
        loaded.Read(file);
        loaded.State.Caption = "new";
        try {
          loaded.Write(file);
        } catch (const ESettingsWrite&) {
          std::_Exit(3);
        }
        std::_Exit(0);
      },
      testing::ExitedWithCode(0), "");
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  const std::string saved = ReadText(file);
  EXPECT_NE(saved.find("Caption=new\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[Mine]\r\nKept=1\r\n"), std::string::npos);
  EXPECT_EQ(saved.find(';'), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(SettingsSaveCasesTest, ADanglingLinkGetsItsTargetWritten) {
  fs::create_symlink("target.ini", File());
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.Write(File());
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_EQ(fs::read_symlink(File()), "target.ini");
  EXPECT_NE(ReadText(folder_ / "target.ini").find("[General]"), std::string::npos);
}

TEST_F(SettingsSaveCasesTest, RootSavingAnotherUsersFileKeepsItsOwnerAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can save another user's file";
  WriteText(File(), "[General]\r\nCaption=theirs\r\n");
  ASSERT_EQ(::chown(File().c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chmod(File().c_str(), 0640), 0);
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.Write(File());
  struct stat after {};
  ASSERT_EQ(::stat(File().c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, kNobody);
  EXPECT_EQ(after.st_gid, kNobody);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
}

TEST_F(SettingsSaveCasesTest, TemporaryFilesOfInterruptedSavesAreRemoved) {
  const char* stale[] = {"tovrana.ini.tmp123456", "tovrana.ini.tmp7"};
  const char* kept[] = {"tovrana.ini.tmp-notes", "other.ini.tmp123456", "tovrana.ini.tmp"};
  for (const char* name : stale) WriteText(folder_ / name, std::string(1024, 'x'));
  for (const char* name : kept) WriteText(folder_ / name, "mine");
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.Write(File());
  for (const char* name : stale) EXPECT_FALSE(fs::exists(folder_ / name)) << name;
  for (const char* name : kept) EXPECT_EQ(ReadText(folder_ / name), "mine") << name;
}

TEST_F(SettingsSaveCasesTest, AReadOnlyPanelWritesNothing) {
  WriteText(File(), "; hand-made\r\n[General]\r\nCaption=x\r\n");
  TLoadedSettings loaded;
  loaded.Read(File());
  loaded.State.SettingsReadOnly = true;
  loaded.State.Caption = "changed";
  loaded.Write(File());
  EXPECT_EQ(ReadText(File()), "; hand-made\r\n[General]\r\nCaption=x\r\n");
}

TEST_F(SettingsSaveCasesTest, RelativeDevicePathsAreTakenFromTheFilesFolder) {
  WriteText(File(),
            "[Ports]\r\nCOM5=ports/panel\r\nCOM6=./p6\r\nCOM7=/dev/ttyUSB3\r\n"
            "COM8=socket://localhost:7000\r\nCOM9=\r\n");
  TLoadedSettings loaded;
  loaded.Read(File());
  const TPortMap& map = loaded.Ports[0]->PortMap();
  EXPECT_EQ(map.DevicePath(5), (folder_.Path() / "ports/panel").string());
  EXPECT_EQ(map.DevicePath(6), (folder_.Path() / "p6").string());
  EXPECT_EQ(map.DevicePath(7), "/dev/ttyUSB3");
  EXPECT_EQ(map.DevicePath(8), "socket://localhost:7000");
  EXPECT_EQ(map.DevicePath(9), "");
}

}  // namespace
