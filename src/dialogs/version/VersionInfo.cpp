#include "dialogs/version/VersionInfo.h"

#include <algorithm>
#include <cstdio>

#include "dialogs/version/VersionBlockBuilder.h"

namespace {

constexpr std::size_t kHeaderSize = 6;  // length, value length, type
constexpr uint16_t kTextType = 1;

// Blocks start on 32-bit boundaries counted from the start of the version block.
constexpr std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16LE units up to the first null or the end; a lone surrogate becomes
// U+FFFD so that the result is always valid UTF-8.
std::string DecodeUtf16(std::span<const uint8_t> bytes) {
  constexpr char32_t kReplacement = 0xFFFD;
  std::string text;
  const std::size_t units = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) {
    return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = unitAt(i);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
        unitAt(i + 1) <= 0xDFFF) {
      AppendUtf8(text, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(text, kReplacement);
    } else {
      AppendUtf8(text, unit);
    }
  }
  return text;
}

}  // namespace

std::optional<TVersionInfo> TVersionInfo::Parse(std::vector<uint8_t> bytes) {
  TVersionInfo info(std::move(bytes));
  const auto root = info.ReadBlock(0, info.bytes_.size());
  if (!root || !EqualIgnoringAsciiCase(root->Key, "VS_VERSION_INFO")) return std::nullopt;
  return info;
}

uint16_t TVersionInfo::WordAt(std::size_t offset) const {
  return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

uint32_t TVersionInfo::DWordAt(std::size_t offset) const {
  return WordAt(offset) | (uint32_t{WordAt(offset + 2)} << 16);
}

std::optional<TVersionInfo::TBlock> TVersionInfo::ReadBlock(std::size_t start,
                                                            std::size_t limit) const {
  if (start > limit || limit - start < kHeaderSize) return std::nullopt;
  const std::size_t length = WordAt(start);
  if (length < kHeaderSize || length > limit - start) return std::nullopt;
  const std::size_t valueLength = WordAt(start + 2);
  const uint16_t type = WordAt(start + 4);

  TBlock block;
  block.End = start + length;
  std::size_t keyUnit = start + kHeaderSize;
  while (keyUnit + 2 <= block.End && WordAt(keyUnit) != 0) keyUnit += 2;
  if (keyUnit + 2 > block.End) return std::nullopt;  // key without its null
  block.Key = DecodeUtf16({bytes_.data() + start + kHeaderSize, keyUnit - start - kHeaderSize});

  // A text value's length counts 16-bit units. Some tools count bytes instead,
  // so a value never reaches past its own block.
  const std::size_t valueBytes = type == kTextType ? 2 * valueLength : valueLength;
  block.ValueStart = std::min(Align4(keyUnit + 2), block.End);
  block.ValueEnd = std::min(block.ValueStart + valueBytes, block.End);
  block.ChildrenStart = std::min(Align4(block.ValueEnd), block.End);
  return block;
}

std::optional<TVersionInfo::TBlock> TVersionInfo::FindChild(const TBlock& parent,
                                                            std::string_view key) const {
  std::size_t position = parent.ChildrenStart;
  while (position < parent.End) {
    const auto child = ReadBlock(position, parent.End);
    if (!child) return std::nullopt;
    if (EqualIgnoringAsciiCase(child->Key, key)) return child;
    position = Align4(child->End);
  }
  return std::nullopt;
}

std::optional<TVersionInfo::TBlock> TVersionInfo::FindBlock(std::string_view path) const {
  auto block = ReadBlock(0, bytes_.size());
  while (block && !path.empty()) {
    const std::size_t separator = path.find('\\');
    const std::string_view component = path.substr(0, separator);
    path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
    if (!component.empty()) block = FindChild(*block, component);
  }
  return block;
}

std::optional<std::span<const uint8_t>> TVersionInfo::QueryValue(std::string_view path) const {
  const auto block = FindBlock(path);
  if (!block) return std::nullopt;
  return std::span<const uint8_t>(bytes_.data() + block->ValueStart,
                                  block->ValueEnd - block->ValueStart);
}

std::optional<std::string> TVersionInfo::QueryText(std::string_view path) const {
  const auto value = QueryValue(path);
  if (!value) return std::nullopt;
  return DecodeUtf16(*value);
}

std::optional<TFixedFileInfo> TVersionInfo::FixedFileInfo() const {
  const auto root = ReadBlock(0, bytes_.size());
  if (!root || root->ValueEnd - root->ValueStart < kFixedFileInfoSize) return std::nullopt;
  const std::size_t at = root->ValueStart;
  if (DWordAt(at) != kFixedFileInfoSignature) return std::nullopt;
  TFixedFileInfo fixed;
  fixed.FileFlagsMask = DWordAt(at + 24);
  fixed.FileFlags = DWordAt(at + 28);
  fixed.FileOS = DWordAt(at + 32);
  fixed.FileType = DWordAt(at + 36);
  fixed.FileDateMS = DWordAt(at + 44);
  fixed.FileDateLS = DWordAt(at + 48);
  return fixed;
}

std::optional<std::string> TVersionInfo::TranslationKey() const {
  const auto value = QueryValue("\\VarFileInfo\\Translation");
  if (!value || value->size() < 4) return std::nullopt;
  const auto language = static_cast<unsigned>((*value)[0] | ((*value)[1] << 8));
  const auto codePage = static_cast<unsigned>((*value)[2] | ((*value)[3] << 8));
  char key[9];
  std::snprintf(key, sizeof key, "%04X%04X", language, codePage);
  return std::string(key);
}

std::optional<std::string> TVersionInfo::FirstStringTableKey() const {
  const auto stringFileInfo = FindBlock("\\StringFileInfo");
  if (!stringFileInfo) return std::nullopt;
  const auto table = ReadBlock(stringFileInfo->ChildrenStart, stringFileInfo->End);
  if (!table) return std::nullopt;
  return table->Key;
}
