// What the trace and log tests need of their dump files: a temporary folder to
// write them in and a way to read one back. Test thread only.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "TemporaryFolder.h"

// The whole file, or nothing when it does not exist.
inline std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
