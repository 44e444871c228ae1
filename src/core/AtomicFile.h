// Reading a file whole and replacing a file atomically, for the settings file.
// Failures throw EFileAccess naming the reason. Stateless; any thread may call them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// what() is the reason in plain words: the system's text for the failing call's
// error, or what is wrong with the file.
class EFileAccess : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised by ReadFileBytes for a file larger than the caller takes.
class EFileTooLarge : public EFileAccess {
 public:
  using EFileAccess::EFileAccess;
};

// The file's bytes, or nothing when the file does not exist. A file of more
// than limit bytes is not read: EFileTooLarge. A file that an interrupted
// in-place rewrite left reads as the complete content it holds.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, size_t limit);

// Writes the bytes to a new file in the same folder, flushes it to the disk and
// renames it over the file, so the file is either the old one or the new one,
// never a part. An existing file keeps its permissions, owner and group, and a
// symbolic link is followed, also a dangling one, so that the link stays in
// place. Where no such copy can be made (the folder may not be written, or the
// owner cannot be given to it), the file is rewritten in place, still never
// half (see InPlaceRewrite.h). Temporary files of earlier saves that were
// interrupted are removed.
void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);
