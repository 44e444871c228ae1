// Lookups in a version block laid out as a Windows VS_VERSIONINFO resource, with
// the meaning VerQueryValue gives them. Every read is bounds-checked, so any
// bytes are safe to parse. Owns its copy of the bytes; no shared state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The fixed part of the root block.
struct TFixedFileInfo {
  uint32_t FileFlagsMask = 0;
  uint32_t FileFlags = 0;
  uint32_t FileOS = 0;
  uint32_t FileType = 0;
  uint32_t FileDateMS = 0;
  uint32_t FileDateLS = 0;
};

class TVersionInfo {
 public:
  // Nothing unless the bytes open with a whole "VS_VERSION_INFO" root block.
  static std::optional<TVersionInfo> Parse(std::vector<uint8_t> bytes);

  // The value of the block a path names: components separated by backslashes,
  // matched to block keys without regard to ASCII case; "\" names the root.
  // Nothing when a component has no block.
  std::optional<std::span<const uint8_t>> QueryValue(std::string_view path) const;

  // A text value decoded from UTF-16 up to its first null.
  std::optional<std::string> QueryText(std::string_view path) const;

  // Nothing when the root's value is not a fixed part.
  std::optional<TFixedFileInfo> FixedFileInfo() const;

  // The translation key, language then code page as eight upper-case hex
  // digits, of the first "\VarFileInfo\Translation" entry.
  std::optional<std::string> TranslationKey() const;

  // The key of the first string table, for a block that names no translation.
  std::optional<std::string> FirstStringTableKey() const;

 private:
  struct TBlock {
    std::string Key;
    std::size_t ValueStart = 0;
    std::size_t ValueEnd = 0;
    std::size_t ChildrenStart = 0;
    std::size_t End = 0;
  };

  explicit TVersionInfo(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::optional<TBlock> ReadBlock(std::size_t start, std::size_t limit) const;
  std::optional<TBlock> FindChild(const TBlock& parent, std::string_view key) const;
  std::optional<TBlock> FindBlock(std::string_view path) const;
  uint16_t WordAt(std::size_t offset) const;
  uint32_t DWordAt(std::size_t offset) const;

  std::vector<uint8_t> bytes_;
};
