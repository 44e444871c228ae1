#include "dialogs/version/ElfSection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace {

// Real programs have a few dozen sections; this bounds what a malformed count
// can make us allocate.
constexpr std::size_t kMaxSectionTableBytes = std::size_t{1} << 20;
constexpr uint32_t kSectionNoBits = 8;            // SHT_NOBITS: occupies no file space
constexpr uint64_t kSectionIndexEscape = 0xFFFF;  // SHN_XINDEX

class TReadOnlyFile {
 public:
  // O_NONBLOCK keeps a path naming a FIFO from blocking the open; only regular
  // files are read.
  explicit TReadOnlyFile(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {
    struct stat status {};
    if (fd_ >= 0 && fstat(fd_, &status) == 0 && S_ISREG(status.st_mode))
      size_ = static_cast<uint64_t>(status.st_size);
  }
  ~TReadOnlyFile() {
    if (fd_ >= 0) close(fd_);
  }
  TReadOnlyFile(const TReadOnlyFile&) = delete;
  TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;

  uint64_t Size() const { return size_; }

  // Exactly count bytes at offset, all of them inside the file.
  bool ReadAt(uint64_t offset, void* out, std::size_t count) const {
    if (offset > size_ || count > size_ - offset) return false;
    auto* cursor = static_cast<uint8_t*>(out);
    while (count > 0) {
      const ssize_t got = pread(fd_, cursor, count, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      cursor += got;
      offset += static_cast<uint64_t>(got);
      count -= static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_ = 0;
};

struct TSectionHeader {
  uint64_t Name = 0;
  uint64_t Type = 0;
  uint64_t Offset = 0;
  uint64_t Size = 0;
  uint64_t Link = 0;
};

// Field positions differ between 32- and 64-bit files, byte order between
// little- and big-endian ones.
class TElfLayout {
 public:
  TElfLayout(bool is64, bool littleEndian) : is64_(is64), littleEndian_(littleEndian) {}

  std::size_t HeaderSize() const { return is64_ ? 64 : 52; }
  std::size_t MinSectionHeaderSize() const { return is64_ ? 64 : 40; }
  uint64_t SectionTableOffset(const uint8_t* header) const {
    return is64_ ? Field(header + 0x28, 8) : Field(header + 0x20, 4);
  }
  uint64_t SectionHeaderSize(const uint8_t* header) const {
    return Field(header + (is64_ ? 0x3A : 0x2E), 2);
  }
  uint64_t SectionCount(const uint8_t* header) const {
    return Field(header + (is64_ ? 0x3C : 0x30), 2);
  }
  uint64_t NameTableIndex(const uint8_t* header) const {
    return Field(header + (is64_ ? 0x3E : 0x32), 2);
  }

  TSectionHeader Section(const uint8_t* entry) const {
    TSectionHeader section;
    section.Name = Field(entry, 4);
    section.Type = Field(entry + 4, 4);
    section.Offset = is64_ ? Field(entry + 24, 8) : Field(entry + 16, 4);
    section.Size = is64_ ? Field(entry + 32, 8) : Field(entry + 20, 4);
    section.Link = is64_ ? Field(entry + 40, 4) : Field(entry + 24, 4);
    return section;
  }

 private:
  uint64_t Field(const uint8_t* at, std::size_t width) const {
    uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
      value = (value << 8) | at[littleEndian_ ? width - 1 - i : i];
    return value;
  }

  bool is64_;
  bool littleEndian_;
};

bool Inside(const TReadOnlyFile& file, const TSectionHeader& section) {
  return section.Offset <= file.Size() && section.Size <= file.Size() - section.Offset;
}

bool NameIs(const TReadOnlyFile& file, const TSectionHeader& names, uint64_t nameOffset,
            std::string_view name) {
  if (nameOffset >= names.Size || name.size() + 1 > names.Size - nameOffset) return false;
  std::array<char, 64> stored{};
  if (name.size() + 1 > stored.size()) return false;
  if (!file.ReadAt(names.Offset + nameOffset, stored.data(), name.size() + 1)) return false;
  return std::memcmp(stored.data(), name.data(), name.size()) == 0 && stored[name.size()] == '\0';
}

}  // namespace

std::vector<uint8_t> ReadElfSection(const std::string& path, std::string_view name,
                                    std::size_t maxSize) {
  const TReadOnlyFile file(path);
  std::array<uint8_t, 64> header{};
  if (!file.ReadAt(0, header.data(), 16)) return {};
  if (std::memcmp(header.data(),
                  "\x7F"
                  "ELF",
                  4) != 0)
    return {};
  const uint8_t elfClass = header[4];
  const uint8_t byteOrder = header[5];
  if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2)) return {};
  const TElfLayout layout(elfClass == 2, byteOrder == 1);
  if (!file.ReadAt(0, header.data(), layout.HeaderSize())) return {};

  const uint64_t tableOffset = layout.SectionTableOffset(header.data());
  const uint64_t entrySize = layout.SectionHeaderSize(header.data());
  if (tableOffset == 0 || entrySize < layout.MinSectionHeaderSize()) return {};

  // Counts too large for the file header live in the first section header.
  std::vector<uint8_t> first(entrySize);
  if (!file.ReadAt(tableOffset, first.data(), first.size())) return {};
  uint64_t count = layout.SectionCount(header.data());
  uint64_t namesIndex = layout.NameTableIndex(header.data());
  if (count == 0) count = layout.Section(first.data()).Size;
  if (namesIndex == kSectionIndexEscape) namesIndex = layout.Section(first.data()).Link;
  if (count == 0 || namesIndex >= count || count > kMaxSectionTableBytes / entrySize) return {};

  std::vector<uint8_t> table(count * entrySize);
  if (!file.ReadAt(tableOffset, table.data(), table.size())) return {};
  const auto sectionAt = [&](uint64_t index) {
    return layout.Section(table.data() + index * entrySize);
  };
  const TSectionHeader names = sectionAt(namesIndex);
  if (names.Type == kSectionNoBits || !Inside(file, names)) return {};

  for (uint64_t index = 0; index < count; ++index) {
    const TSectionHeader section = sectionAt(index);
    if (!NameIs(file, names, section.Name, name)) continue;
    if (section.Type == kSectionNoBits || section.Size > maxSize || !Inside(file, section))
      return {};
    std::vector<uint8_t> bytes(section.Size);
    if (!file.ReadAt(section.Offset, bytes.data(), bytes.size())) return {};
    return bytes;
  }
  return {};
}
