// Hand-made settings files that once cost minutes or gigabytes: each loads and
// saves within a generous deadline and the process's peak memory stays under a
// generous bound; a file over 4 MiB is not loaded and never written over.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <string>

#include "SettingsTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr auto kDeadline = std::chrono::seconds(60);
// Far above what these files need (tens of megabytes), far below the
// gigabytes they once took; the sanitizers' own shadow memory fits too.
constexpr long kPeakMemoryBoundKiB = 1536L * 1024;

long PeakMemoryKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

std::string ManyButtonSections() {
  std::string text;
  for (int n = 1; n <= 100000; ++n) text += "[Button " + std::to_string(n) + "]\r\nData=1\r\n";
  return text;
}

std::string LongCaption() {
  return "[Button 1]\r\nCaption=" + std::string(3 * 1024 * 1024, 'W') + "\r\n";
}

// The largest file that is still loaded, as many lines as it can hold.
std::string ShortLinesUpToTheLimit() {
  std::string text = "[General]\n";
  while (text.size() + 2 <= 4 * 1024 * 1024) text += "a\n";
  return text;
}

std::string TooLarge() {
  std::string text = "[General]\r\nCaption=too large\r\n";
  while (text.size() <= 5 * 1024 * 1024) text += "x=1\r\n";
  return text;
}

struct THostileFile {
  const char* name;
  std::function<std::string()> content;
  // The save says why it does not write a file that the next start would refuse.
  bool saveRefused;
  std::function<void(const TLoadedSettings&, const fs::path& file, const std::string& before)>
      check;
};

const THostileFile kHostileFiles[] = {
    {"100000 Button sections", ManyButtonSections, false,
     [](const TLoadedSettings& loaded, const fs::path& file, const std::string&) {
       EXPECT_EQ(loaded.Commands.Get(0).Data, "1");
       const std::string saved = ReadText(file);
       EXPECT_NE(saved.find("[Button 15]"), std::string::npos);
       EXPECT_EQ(saved.find("[Button 16]"), std::string::npos);
     }},
    {"40000 x 40000 bounds",
     [] { return std::string("[Windows]\r\nMain Height=40000\r\nMain Width=40000\r\n"); }, false,
     [](const TLoadedSettings& loaded, const fs::path&, const std::string&) {
       EXPECT_TRUE(loaded.State.SettingsRefusal.empty());
     }},
    {"3 MB caption on one line", LongCaption, false,
     [](const TLoadedSettings& loaded, const fs::path& file, const std::string&) {
       EXPECT_EQ(loaded.Commands.Get(0).Caption.size(), 3u * 1024 * 1024);
       EXPECT_NE(ReadText(file).find(loaded.Commands.Get(0).Caption), std::string::npos);
     }},
    {"4 MiB of short lines", ShortLinesUpToTheLimit, true,
     [](const TLoadedSettings& loaded, const fs::path& file, const std::string& before) {
       EXPECT_TRUE(loaded.State.SettingsRefusal.empty());
       EXPECT_EQ(ReadText(file), before);
     }},
    {"5 MB file", TooLarge, false,
     [](const TLoadedSettings& loaded, const fs::path& file, const std::string& before) {
       EXPECT_EQ(loaded.State.Caption, "Tovrana");
       EXPECT_NE(loaded.State.SettingsRefusal.find(file.string()), std::string::npos);
       EXPECT_NE(loaded.State.SettingsRefusal.find("larger than 4 MiB"), std::string::npos);
       EXPECT_TRUE(loaded.State.SettingsReadOnly);
       EXPECT_EQ(ReadText(file), before);
     }},
};

class HostileSettingsTest : public testing::TestWithParam<THostileFile> {};

TEST_P(HostileSettingsTest, LoadsAndSavesPromptlyInBoundedMemory) {
  TTemporaryFolder folder;
  const fs::path file = folder / "tovrana.ini";
  const std::string before = GetParam().content();
  WriteText(file, before);
  TLoadedSettings loaded;
  std::string saveFailure;
  auto run = std::async(std::launch::async, [&] {
    loaded.Read(file);
    try {
      loaded.Write(file);
    } catch (const ESettingsWrite& failure) {
      saveFailure = failure.what();
    }
  });
  ASSERT_EQ(run.wait_for(kDeadline), std::future_status::ready) << "still running";
  run.get();
  EXPECT_EQ(saveFailure.find("it would be larger than 4 MiB") != std::string::npos,
            GetParam().saveRefused)
      << saveFailure;
  GetParam().check(loaded, file, before);
  EXPECT_LT(PeakMemoryKiB(), kPeakMemoryBoundKiB);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettingsTest, testing::ValuesIn(kHostileFiles),
                         [](const testing::TestParamInfo<THostileFile>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace
