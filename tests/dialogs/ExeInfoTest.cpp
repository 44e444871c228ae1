// TExeInfo on real executable files: this test program carries the project's
// version block, a sibling program carries none, and copies of this program
// are cut short, damaged or given other blocks in place of their own.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/utsname.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "TemporaryFolder.h"
#include "dialogs/ExeInfo.h"
#include "dialogs/version/ElfSection.h"
#include "dialogs/version/VersionBlockBuilder.h"
#include "dialogs/version/VersionSection.h"

namespace {

namespace fs = std::filesystem;

const std::string kUpdatedAtRunTime = "Updated at run-time";

std::vector<char> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

// A private folder for the files a test makes, removed with everything in it.
void ExpectNoBlockRead(const TExeInfo& info, const std::string& what) {
  for (const std::string* text :
       {&info.CompanyName(), &info.FileDescription(), &info.FileVersion(), &info.InternalName(),
        &info.LegalCopyright(), &info.LegalTradeMark(), &info.OriginalFileName(),
        &info.ProductName(), &info.ProductVersion(), &info.Comments()})
    EXPECT_EQ(*text, kUpdatedAtRunTime) << what;
}

TExeInfo::TFileDate LastModified(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0);
  return TExeInfo::TFileDate(std::chrono::duration_cast<TExeInfo::TFileTicks>(
      std::chrono::seconds(status.st_mtim.tv_sec) +
      std::chrono::nanoseconds(status.st_mtim.tv_nsec)));
}

TEST(ExeInfo, ReadsTheBlockOfTheRunningExecutable) {
  const TExeInfo info;
  EXPECT_EQ(info.ProductName(), "Tovrana");
  EXPECT_EQ(info.FileDescription(), "Tovrana");
  EXPECT_EQ(info.FileVersion(), TOVRANA_PROJECT_VERSION);
  EXPECT_EQ(info.ProductVersion(), TOVRANA_PROJECT_VERSION);
  for (const std::string* text :
       {&info.CompanyName(), &info.InternalName(), &info.LegalCopyright(), &info.LegalTradeMark(),
        &info.OriginalFileName(), &info.Comments()})
    EXPECT_EQ(*text, "");
  EXPECT_EQ(info.FileFlags(), 0u);
  EXPECT_EQ(info.FileType(), kFileTypeApplication);
  // The block carries no date, so that builds are reproducible.
  EXPECT_EQ(info.FileDate(), LastModified("/proc/self/exe"));
  EXPECT_EQ(info.Version(), "1.3.3.0");
}

// How a copy of this test program is spoiled before it is read.
struct TSpoiledCopyCase {
  const char* Name;
  std::function<void(std::vector<char>&)> Spoil;
};

void Truncate(std::vector<char>& file, std::size_t size) {
  file.resize(std::min(size, file.size()));
}

template <typename T>
void Patch(std::vector<char>& file, std::size_t at, T value) {
  std::copy_n(reinterpret_cast<const char*>(&value), sizeof value, file.begin() + at);
}

// Offsets into a 64-bit ELF header: section table offset, entry size, count,
// and the index of the section names.
constexpr std::size_t kSectionTableOffset = 0x28;
constexpr std::size_t kSectionEntrySize = 0x3A;
constexpr std::size_t kSectionCount = 0x3C;
constexpr std::size_t kSectionNamesIndex = 0x3E;

const TSpoiledCopyCase kSpoiledCopies[] = {
    {"empty", [](auto& f) { Truncate(f, 0); }},
    {"magic only", [](auto& f) { Truncate(f, 4); }},
    {"identification only", [](auto& f) { Truncate(f, 16); }},
    {"file header only", [](auto& f) { Truncate(f, 64); }},
    {"half", [](auto& f) { Truncate(f, f.size() / 2); }},
    {"last byte missing", [](auto& f) { Truncate(f, f.size() - 1); }},
    {"section table beyond the file",
     [](auto& f) { Patch<uint64_t>(f, kSectionTableOffset, ~0ull - 7); }},
    {"section entries too small", [](auto& f) { Patch<uint16_t>(f, kSectionEntrySize, 1); }},
    {"section count too large", [](auto& f) { Patch<uint16_t>(f, kSectionCount, 0xFFFE); }},
    {"escaped section count", [](auto& f) { Patch<uint16_t>(f, kSectionCount, 0); }},
    {"names index out of range", [](auto& f) { Patch<uint16_t>(f, kSectionNamesIndex, 0xFFFE); }},
    {"escaped names index", [](auto& f) { Patch<uint16_t>(f, kSectionNamesIndex, 0xFFFF); }},
    {"not ELF", [](auto& f) { f[1] = 'X'; }},
};

TEST(ExeInfo, FilesWithoutAReadableBlockKeepTheInitialTexts) {
  const std::vector<char> self = ReadFile("/proc/self/exe");
  ASSERT_GT(self.size(), 64u);
  ASSERT_EQ(self[4], 2) << "the damage table is written for 64-bit files";
  ASSERT_EQ(self[5], 1) << "the damage table is written for little-endian files";
  const TTemporaryFolder folder;
  WriteFile(folder / "intact", self);
  ASSERT_EQ(TExeInfo((folder / "intact").string()).ProductName(), "Tovrana");
  for (const TSpoiledCopyCase& spoiled : kSpoiledCopies) {
    std::vector<char> copy = self;
    spoiled.Spoil(copy);
    const fs::path path = folder / "spoiled";
    WriteFile(path, copy);
    ExpectNoBlockRead(TExeInfo(path.string()), spoiled.Name);
  }
  ExpectNoBlockRead(TExeInfo(TOVRANA_PLAIN_EXECUTABLE), "program built without the block");
  ExpectNoBlockRead(TExeInfo((folder / "absent").string()), "absent file");
  ExpectNoBlockRead(TExeInfo(folder.Path().string()), "folder");
}

// A copy of this test program whose embedded block is overwritten in place by
// another one, the rest of the section filled with zeros.
class TReplacedBlock {
 public:
  explicit TReplacedBlock(const std::vector<uint8_t>& block) {
    std::vector<char> file = ReadFile("/proc/self/exe");
    const std::vector<uint8_t> own = ReadElfSection("/proc/self/exe", kVersionSectionName, 0xFFFF);
    const auto at = std::search(file.begin(), file.end(), own.begin(), own.end(),
                                [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
    if (own.empty() || at == file.end() || block.size() > own.size())
      throw std::runtime_error("cannot replace the version block");
    std::fill_n(at, own.size(), 0);
    std::copy(block.begin(), block.end(), at);
    WriteFile(path_, file);
  }
  std::string Path() const { return path_.string(); }

 private:
  TTemporaryFolder folder_;
  fs::path path_ = folder_ / "replaced";
};

std::vector<uint8_t> Build(const TVersionBlockContent& content) {
  const TVersionBlockImage image = BuildVersionBlock(content);
  return {image.Bytes.begin(), image.Bytes.begin() + static_cast<std::ptrdiff_t>(image.Size)};
}

constexpr TVersionString kWithoutProductName[] = {
    {"CompanyName", "Maker"},
    {"FileDescription", "Panel"},
    {"FileVersion", "1.2.3.4"},
    {"ProductVersion", "1.2"},
};

TVersionBlockContent Content() {
  return {.FileFlagsMask = 0x03,
          .FileFlags = 0x0B,
          .FileOS = 0x40004,
          .FileType = kFileTypeApplication,
          .Language = 0x0409,
          .CodePage = 0x04B0,
          .Strings = kWithoutProductName};
}

TEST(ExeInfo, ATextTheBlockLacksIsEmpty) {
  const TReplacedBlock copy(Build(Content()));
  const TExeInfo info(copy.Path());
  EXPECT_EQ(info.ProductName(), "");
  EXPECT_EQ(info.FileVersion(), "1.2.3.4");
  EXPECT_EQ(info.CompanyName(), "Maker");
  EXPECT_EQ(info.Comments(), "");
  EXPECT_EQ(info.FileFlags(), 0x03u);
  EXPECT_EQ(info.FileOS(), 0x40004u);
  EXPECT_EQ(info.FileDate(), LastModified(copy.Path()));
}

TEST(ExeInfo, WithoutATranslationTheFirstStringTableIsRead) {
  TVersionBlockContent content = Content();
  content.HasTranslation = false;
  const TReplacedBlock copy(Build(content));
  EXPECT_EQ(TExeInfo(copy.Path()).FileVersion(), "1.2.3.4");
}

TEST(ExeInfo, TheBlockDateIsAWindowsFileTime) {
  using namespace std::chrono;
  struct TDateCase {
    uint64_t FileTime;
    sys_seconds Expected;
  };
  const TDateCase cases[] = {
      {132'223'104'000'000'000, sys_days(2020y / January / 1)},
      {116'444'736'000'000'000 + 10'000'000, sys_days(1970y / January / 1) + 1s},
  };
  for (const TDateCase& date : cases) {
    TVersionBlockContent content = Content();
    content.FileDate = date.FileTime;
    const TReplacedBlock copy(Build(content));
    EXPECT_EQ(TExeInfo(copy.Path()).FileDate(), date.Expected) << date.FileTime;
  }
}

TEST(ExeInfo, ASectionHoldingNoVersionBlockIsIgnored) {
  const std::vector<std::vector<uint8_t>> notBlocks = {
      std::vector<uint8_t>(32, 0xFF),
      {0xFF, 0xFF, 0x34, 0x00, 0x00, 0x00, 'V', 0, 'S', 0, 0, 0},
  };
  for (const auto& bytes : notBlocks) {
    const TReplacedBlock copy(bytes);
    ExpectNoBlockRead(TExeInfo(copy.Path()), "bytes that are no block");
  }
}

// Sets or clears environment variables for one test and puts them back.
class TEnvironment {
 public:
  ~TEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (std::none_of(saved_.begin(), saved_.end(),
                     [&](const auto& s) { return s.first == name; })) {
      const char* old = getenv(name.c_str());
      saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    if (value)
      setenv(name.c_str(), value->c_str(), 1);
    else
      unsetenv(name.c_str());
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(ExeInfo, TempDirEndsInASlash) {
  const struct {
    std::optional<std::string> TmpDir;
    std::string Expected;
  } cases[] = {
      {std::nullopt, "/tmp/"},
      {"", "/tmp/"},
      {"/var/tmp", "/var/tmp/"},
      {"/scratch/", "/scratch/"},
  };
  const TExeInfo info;
  for (const auto& c : cases) {
    TEnvironment environment;
    environment.Set("TMPDIR", c.TmpDir);
    EXPECT_EQ(info.TempDir(), c.Expected) << c.TmpDir.value_or("(unset)");
  }
}

TEST(ExeInfo, MyDocumentsDirFollowsTheUserDirectories) {
  const TTemporaryFolder home;
  fs::create_directories(home / "Documents");
  fs::create_directories(home / "Dokumente");
  fs::create_directories(home / "config");
  const std::string homePath = home.Path().string();
  const struct {
    const char* Name;
    std::optional<std::string> DirsLine;
    bool DocumentsExists;
    std::optional<std::string> Expected;  // nothing: the folder is not found
  } cases[] = {
      {"configured below home", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"", true,
       homePath + "/Dokumente"},
      {"configured absolute", "XDG_DOCUMENTS_DIR=\"" + homePath + "/Dokumente\"", false,
       homePath + "/Dokumente"},
      {"configured but missing", "XDG_DOCUMENTS_DIR=\"$HOME/Gone\"", true, homePath + "/Documents"},
      {"switched off", "XDG_DOCUMENTS_DIR=\"$HOME\"", true, homePath + "/Documents"},
      {"no configuration", std::nullopt, true, homePath + "/Documents"},
      {"nothing at all", std::nullopt, false, std::nullopt},
  };
  const TExeInfo info;
  for (const auto& c : cases) {
    TEnvironment environment;
    environment.Set("HOME", homePath);
    environment.Set("XDG_CONFIG_HOME", (home / "config").string());
    fs::remove(home / "config" / "user-dirs.dirs");
    if (c.DirsLine)
      WriteFile(home / "config" / "user-dirs.dirs", {c.DirsLine->begin(), c.DirsLine->end()});
    if (c.DocumentsExists)
      fs::create_directories(home / "Documents");
    else
      fs::remove(home / "Documents");
    if (c.Expected) {
      EXPECT_EQ(info.MyDocumentsDir(), *c.Expected) << c.Name;
    } else {
      try {
        info.MyDocumentsDir();
        ADD_FAILURE() << c.Name << ": no error";
      } catch (const EFolderNotFound& error) {
        EXPECT_STREQ(error.what(), "Could not find MyDocuments folder location.");
      }
    }
  }
}

TEST(ExeInfo, DescribesTheComputer) {
  const TExeInfo info;
  utsname system{};
  ASSERT_EQ(uname(&system), 0);
  EXPECT_EQ(info.ComputerName(), std::string(system.nodename).substr(0, 15));
  EXPECT_EQ(info.OSName(), std::string(system.sysname) + " " + system.release);
  EXPECT_EQ(info.WindowsDir().back(), '/');
  EXPECT_EQ(info.SystemDir().back(), '/');
}

}  // namespace
