// Builds a version block in the layout of a Windows VS_VERSIONINFO resource: a
// root block with the fixed part, "StringFileInfo\<key>\<name>" texts and
// "\VarFileInfo\Translation". Runs at compile time for the block embedded in the
// program (a content the layout cannot hold fails the build) and at run time in
// tests. Pure functions; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

struct TVersionString {
  std::string_view Name;
  std::string_view Value;  // UTF-8, stored as UTF-16
};

struct TVersionBlockContent {
  std::array<uint16_t, 4> FileVersion{};
  std::array<uint16_t, 4> ProductVersion{};
  uint32_t FileFlagsMask = 0;
  uint32_t FileFlags = 0;
  uint32_t FileOS = 0;
  uint32_t FileType = 0;
  uint32_t FileSubtype = 0;
  uint64_t FileDate = 0;  // 100 ns ticks since 1601, 0 for none
  uint16_t Language = 0;
  uint16_t CodePage = 0;
  // Without it the string table is written but no translation names it.
  bool HasTranslation = true;
  std::span<const TVersionString> Strings;
};

// Values of the fixed part as Windows defines them.
inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr uint32_t kFixedFileInfoVersion = 0x00010000;
inline constexpr std::size_t kFixedFileInfoSize = 52;
inline constexpr uint32_t kFileFlagsMaskAll = 0x3F;
inline constexpr uint32_t kFileOSUnknown = 0;
inline constexpr uint32_t kFileTypeApplication = 1;

// Enough for a product's ten texts; the layout itself caps a block at 64 KiB.
inline constexpr std::size_t kVersionBlockCapacity = 4096;

struct TVersionBlockImage {
  std::array<uint8_t, kVersionBlockCapacity> Bytes{};
  std::size_t Size = 0;
};

namespace version_block_detail {

class TWriter {
 public:
  constexpr void Byte(uint8_t value) {
    if (image_.Size == image_.Bytes.size()) throw std::length_error("version block too large");
    image_.Bytes[image_.Size++] = value;
  }
  constexpr void Word(uint16_t value) {
    Byte(static_cast<uint8_t>(value & 0xFF));
    Byte(static_cast<uint8_t>(value >> 8));
  }
  constexpr void DWord(uint32_t value) {
    Word(static_cast<uint16_t>(value & 0xFFFF));
    Word(static_cast<uint16_t>(value >> 16));
  }
  constexpr void Align() {
    while (image_.Size % 4 != 0) Byte(0);
  }

  // Writes the text as UTF-16LE with its terminating null; returns the number
  // of 16-bit units written, the null included.
  constexpr uint16_t Text(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
      const char32_t code = DecodeUtf8(utf8, i);
      if (code >= 0x10000) {
        Word(static_cast<uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
        Word(static_cast<uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        units += 2;
      } else {
        Word(static_cast<uint16_t>(code));
        ++units;
      }
    }
    Word(0);
    return CheckedWord(units + 1);
  }

  // The header of a block whose length EndBlock fills in; returns its offset.
  constexpr std::size_t BeginBlock(std::string_view key, uint16_t valueLength, uint16_t type) {
    Align();
    const std::size_t start = image_.Size;
    Word(0);
    Word(valueLength);
    Word(type);
    Text(key);
    Align();
    return start;
  }

  constexpr void EndBlock(std::size_t start) {
    const uint16_t length = CheckedWord(image_.Size - start);
    image_.Bytes[start] = static_cast<uint8_t>(length & 0xFF);
    image_.Bytes[start + 1] = static_cast<uint8_t>(length >> 8);
  }

  constexpr const TVersionBlockImage& Image() const { return image_; }

  static constexpr uint16_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) units += DecodeUtf8(utf8, i) >= 0x10000 ? 2 : 1;
    return CheckedWord(units + 1);
  }

 private:
  static constexpr uint16_t CheckedWord(std::size_t value) {
    if (value > 0xFFFF) throw std::length_error("version block too large");
    return static_cast<uint16_t>(value);
  }

  // One code point from position i onwards; advances i. Malformed UTF-8 is
  // refused rather than stored as something the reader would misread.
  static constexpr char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<uint8_t>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      code = lead & 0x07;
    } else {
      throw std::invalid_argument("version text is not UTF-8");
    }
    for (int k = 0; k < extra; ++k) {
      if (i == text.size()) throw std::invalid_argument("version text is not UTF-8");
      const auto next = static_cast<uint8_t>(text[i++]);
      if ((next & 0xC0) != 0x80) throw std::invalid_argument("version text is not UTF-8");
      code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      throw std::invalid_argument("version text is not UTF-8");
    return code;
  }

  TVersionBlockImage image_;
};

constexpr std::array<char, 8> TranslationKey(uint16_t language, uint16_t codePage) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const uint32_t both = (uint32_t{language} << 16) | codePage;
  std::array<char, 8> key{};
  for (int i = 0; i < 8; ++i) key[i] = kDigits[(both >> (28 - 4 * i)) & 0xF];
  return key;
}

}  // namespace version_block_detail

constexpr TVersionBlockImage BuildVersionBlock(const TVersionBlockContent& content) {
  using version_block_detail::TWriter;
  TWriter writer;
  const auto join = [](uint16_t high, uint16_t low) { return (uint32_t{high} << 16) | low; };

  const std::size_t root = writer.BeginBlock("VS_VERSION_INFO", kFixedFileInfoSize, 0);
  writer.DWord(kFixedFileInfoSignature);
  writer.DWord(kFixedFileInfoVersion);
  writer.DWord(join(content.FileVersion[0], content.FileVersion[1]));
  writer.DWord(join(content.FileVersion[2], content.FileVersion[3]));
  writer.DWord(join(content.ProductVersion[0], content.ProductVersion[1]));
  writer.DWord(join(content.ProductVersion[2], content.ProductVersion[3]));
  writer.DWord(content.FileFlagsMask);
  writer.DWord(content.FileFlags);
  writer.DWord(content.FileOS);
  writer.DWord(content.FileType);
  writer.DWord(content.FileSubtype);
  writer.DWord(static_cast<uint32_t>(content.FileDate >> 32));
  writer.DWord(static_cast<uint32_t>(content.FileDate & 0xFFFFFFFF));

  const std::size_t stringFileInfo = writer.BeginBlock("StringFileInfo", 0, 1);
  const auto key = version_block_detail::TranslationKey(content.Language, content.CodePage);
  const std::size_t table = writer.BeginBlock(std::string_view(key.data(), key.size()), 0, 1);
  for (const TVersionString& entry : content.Strings) {
    const std::size_t text = writer.BeginBlock(entry.Name, TWriter::Utf16Length(entry.Value), 1);
    writer.Text(entry.Value);
    writer.EndBlock(text);
  }
  writer.EndBlock(table);
  writer.EndBlock(stringFileInfo);

  if (content.HasTranslation) {
    const std::size_t varFileInfo = writer.BeginBlock("VarFileInfo", 0, 1);
    const std::size_t translation = writer.BeginBlock("Translation", 4, 0);
    writer.DWord(join(content.CodePage, content.Language));
    writer.EndBlock(translation);
    writer.EndBlock(varFileInfo);
  }
  writer.EndBlock(root);
  return writer.Image();
}

// The built block cut to its size, for a constant of exactly that many bytes.
template <std::size_t N>
constexpr std::array<uint8_t, N> VersionBlockBytes(const TVersionBlockImage& image) {
  std::array<uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) bytes[i] = image.Bytes[i];
  return bytes;
}
