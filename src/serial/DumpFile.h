// A text file that a trace or log dump writes: created, emptied or appended
// to, written through a buffer, with lines ended by CR LF so that a dump reads
// the same wherever it was made. Used by one thread at a time; closes itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TDumpFile {
 public:
  static constexpr std::string_view kLineEnd = "\r\n";

  TDumpFile() = default;
  TDumpFile(const TDumpFile&) = delete;
  TDumpFile& operator=(const TDumpFile&) = delete;
  ~TDumpFile();

  // append: added to the end of an existing file; otherwise the file is
  // created or emptied. 0, or minus the error with a message naming it.
  int32_t Open(const std::string& fileName, bool append);
  void Write(std::string_view text);
  void EndLine() { Write(kLineEnd); }
  // Writes what is buffered and closes; the first failure since Open, or 0.
  int32_t Close();

 private:
  void Flush();

  int fd_ = -1;
  int32_t result_ = 0;
  std::string buffer_;
};
