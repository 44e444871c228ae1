// A scratch folder for the dump files of the trace and log tests, removed with
// its contents at the end of the test. Test thread only.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

class TScratchFolder {
 public:
  TScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("tovrana-dump-" + std::to_string(::getpid()) + "-" + std::to_string(++count_))) {
    std::filesystem::create_directories(path_);
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  static inline int count_ = 0;
  std::filesystem::path path_;
};

// The whole file, or nothing when it does not exist.
inline std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
