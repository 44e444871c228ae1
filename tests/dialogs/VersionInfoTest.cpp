// The version block's layout and lookups: blocks made by the builder are read
// back by path as VerQueryValue reads them, and damaged blocks never crash.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialogs/version/VersionBlockBuilder.h"
#include "dialogs/version/VersionInfo.h"

namespace {

constexpr TVersionString kStrings[] = {
    {"CompanyName", ""},
    {"FileDescription", "Panel"},
    {"FileVersion", "2.3.4.5"},
    {"LegalTrademarks", "Marks"},
    {"ProductName", "Tovrana Stüdio \xF0\x9F\x94\x8C"},
};

std::vector<uint8_t> Build(const TVersionBlockContent& content) {
  const TVersionBlockImage image = BuildVersionBlock(content);
  return {image.Bytes.begin(), image.Bytes.begin() + static_cast<std::ptrdiff_t>(image.Size)};
}

TVersionBlockContent SampleContent() {
  return {.FileVersion = {2, 3, 4, 5},
          .FileFlagsMask = kFileFlagsMaskAll,
          .FileFlags = 0x2,
          .FileOS = 0x40004,
          .FileType = kFileTypeApplication,
          .FileDate = 0x0123456789ABCDEF,
          .Language = 0x0C09,
          .CodePage = 0x04E4,
          .Strings = kStrings};
}

uint16_t WordAt(const std::vector<uint8_t>& bytes, std::size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// A Windows reader must find the same structure: root length, fixed-part
// length, the key "VS_VERSION_INFO" in UTF-16 and the fixed part's signature
// after it on a 32-bit boundary.
TEST(VersionBlockLayout, MatchesTheWindowsResourceLayout) {
  const std::vector<uint8_t> bytes = Build(SampleContent());
  EXPECT_EQ(WordAt(bytes, 0), bytes.size());
  EXPECT_EQ(WordAt(bytes, 2), kFixedFileInfoSize);
  EXPECT_EQ(WordAt(bytes, 4), 0);
  const std::string key = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < key.size(); ++i) EXPECT_EQ(WordAt(bytes, 6 + 2 * i), key[i]);
  EXPECT_EQ(WordAt(bytes, 6 + 2 * key.size()), 0);
  EXPECT_EQ(WordAt(bytes, 40) | (WordAt(bytes, 42) << 16), kFixedFileInfoSignature);
}

struct TLookupCase {
  const char* Path;
  std::optional<std::string> Text;
};

const TLookupCase kLookups[] = {
    {"StringFileInfo\\0C0904E4\\FileVersion", "2.3.4.5"},
    {"\\StringFileInfo\\0C0904E4\\FileDescription", "Panel"},
    {"\\stringfileinfo\\0c0904e4\\FILEVERSION", "2.3.4.5"},
    {"StringFileInfo\\0C0904E4\\LegalTradeMarks", "Marks"},
    {"StringFileInfo\\0C0904E4\\ProductName", "Tovrana Stüdio \xF0\x9F\x94\x8C"},
    {"StringFileInfo\\0C0904E4\\CompanyName", ""},
    {"StringFileInfo\\0C0904E4\\Comments", std::nullopt},
    {"StringFileInfo\\040904B0\\FileVersion", std::nullopt},
    {"StringFileInfo\\0C0904E4\\FileVersion\\More", std::nullopt},
};

TEST(VersionBlockLookup, FindsTextsByPathWithoutRegardToCase) {
  const auto info = TVersionInfo::Parse(Build(SampleContent()));
  ASSERT_TRUE(info);
  for (const TLookupCase& lookup : kLookups)
    EXPECT_EQ(info->QueryText(lookup.Path), lookup.Text) << lookup.Path;
}

TEST(VersionBlockLookup, ReadsTheFixedPartAndTheTranslation) {
  const auto info = TVersionInfo::Parse(Build(SampleContent()));
  ASSERT_TRUE(info);
  ASSERT_EQ(info->QueryValue("\\")->size(), kFixedFileInfoSize);
  const auto fixed = info->FixedFileInfo();
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->FileFlagsMask, kFileFlagsMaskAll);
  EXPECT_EQ(fixed->FileFlags, 0x2u);
  EXPECT_EQ(fixed->FileOS, 0x40004u);
  EXPECT_EQ(fixed->FileType, kFileTypeApplication);
  EXPECT_EQ(fixed->FileDateMS, 0x01234567u);
  EXPECT_EQ(fixed->FileDateLS, 0x89ABCDEFu);
  EXPECT_EQ(info->TranslationKey(), "0C0904E4");
  EXPECT_EQ(info->FirstStringTableKey(), "0C0904E4");

  TVersionBlockContent untranslated = SampleContent();
  untranslated.HasTranslation = false;
  const auto withoutTranslation = TVersionInfo::Parse(Build(untranslated));
  ASSERT_TRUE(withoutTranslation);
  EXPECT_EQ(withoutTranslation->TranslationKey(), std::nullopt);
  EXPECT_EQ(withoutTranslation->FirstStringTableKey(), "0C0904E4");
}

TEST(VersionBlockLookup, RefusesBytesThatAreNoVersionBlock) {
  const std::vector<std::vector<uint8_t>> notBlocks = {
      {},
      {0x06, 0x00, 0x00},
      std::vector<uint8_t>(64, 0xFF),
      std::vector<uint8_t>(64, 0x00),
  };
  for (const auto& bytes : notBlocks) EXPECT_FALSE(TVersionInfo::Parse(bytes)) << bytes.size();

  std::vector<uint8_t> otherRoot = Build(SampleContent());
  otherRoot[6] = 'W';
  EXPECT_FALSE(TVersionInfo::Parse(otherRoot));
}

// Every cut of a block and every damaged length field, parsed and queried in
// full: lookups may fail, but every read stays inside the buffer (the sanitizer
// builds check that).
TEST(VersionBlockLookup, DamagedBlocksAreReadSafely) {
  const std::vector<uint8_t> whole = Build(SampleContent());
  const auto queryEverything = [](const std::vector<uint8_t>& bytes) {
    const auto info = TVersionInfo::Parse(bytes);
    if (!info) return;
    for (const TLookupCase& lookup : kLookups) info->QueryText(lookup.Path);
    info->FixedFileInfo();
    info->TranslationKey();
    info->FirstStringTableKey();
  };
  for (std::size_t size = 0; size < whole.size(); ++size)
    queryEverything({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)});
  for (std::size_t at = 0; at + 1 < whole.size(); at += 2) {
    for (const uint16_t damage : {0x0000, 0x0001, 0x0007, 0x7FFF, 0xFFFF}) {
      std::vector<uint8_t> damaged = whole;
      damaged[at] = static_cast<uint8_t>(damage & 0xFF);
      damaged[at + 1] = static_cast<uint8_t>(damage >> 8);
      queryEverything(damaged);
    }
  }
}

}  // namespace
