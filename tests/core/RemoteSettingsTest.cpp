// Section "Remote": its keys and defaults, and that the save leaves it as the
// file had it, whatever the load made of it.
#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "core/IniFile.h"
#include "core/RemoteSettings.h"

namespace {

struct TRemoteCase {
  const char* Name;
  const char* Text;
  TRemoteSettings Expected;
};

const TRemoteCase kRemoteCases[] = {
    {"AbsentSection", "[General]\nCaption=x\n", {false, 0, 0, "127.0.0.1", ""}},
    {"EveryKey",
     "[remote]\nenabled=1\nhttp port=8642\ntcp port=0x21C3\nbind=0.0.0.0\ntoken=s3cret word\n",
     {true, 8642, 8643, "0.0.0.0", "s3cret word"}},
    {"EmptyBindStaysEmpty", "[Remote]\nEnabled=1\nBind=\n", {true, 0, 0, "", ""}},
    {"WordsAreNoNumbers",
     "[Remote]\nEnabled=yes\nHTTP Port=many\n",
     {false, 0, 0, "127.0.0.1", ""}},
    {"OutOfRangeIsKeptForTheCheck",
     "[Remote]\nHTTP Port=70000\nTCP Port=-1\n",
     {false, 70000, -1, "127.0.0.1", ""}},
};

void PrintTo(const TRemoteCase& c, std::ostream* out) { *out << c.Name; }

class RemoteSettingsTest : public testing::TestWithParam<TRemoteCase> {};

TEST_P(RemoteSettingsTest, ReadsTheSection) {
  EXPECT_EQ(ReadRemoteSettings(TIniFile(GetParam().Text)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemoteSettingsTest, testing::ValuesIn(kRemoteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(RemoteSettingsFile, TheLoadFillsTheStateAndTheSaveKeepsTheSection) {
  TTemporaryFolder folder;
  const std::filesystem::path file = folder.Path() / "tovrana.ini";
  const std::string remote =
      "[Remote]\r\nEnabled=1\r\nHTTP Port=99999\r\nBind=0.0.0.0\r\nToken=t\r\nNote=mine\r\n\r\n";
  WriteText(file, remote);
  TLoadedSettings loaded;
  loaded.Read(file);
  EXPECT_EQ(loaded.State.Remote, (TRemoteSettings{true, 99999, 0, "0.0.0.0", "t"}));
  loaded.State.Remote = {};
  loaded.Write(file);
  EXPECT_EQ(ReadText(file).substr(0, remote.size()), remote);
}

}  // namespace
