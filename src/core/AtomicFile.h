// Reading a file whole and replacing a file atomically, for the settings file.
// Failures throw EFileAccess naming the reason. Stateless; any thread may call them.
#pragma once

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

// The file's bytes, or nothing when the file does not exist.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

// Writes the bytes to a new file in the same folder, flushes it to the disk and
// renames it over the file, so the file is either the old one or the new one,
// never a part. An existing file keeps its permissions, and a symbolic link is
// followed so that the link stays in place.
void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes);
