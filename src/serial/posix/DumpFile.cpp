// The dump file on POSIX: open(2) and write(2), with errno turned into the
// layer's result codes at the failing call.
#include "serial/DumpFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "serial/ResultCodes.h"
#include "serial/posix/SystemErrors.h"

namespace {

constexpr size_t kBufferSize = 16384;

int32_t FailureOf(int errorNumber) {
  // Creating a file fails with ENOENT only when a folder on its path is missing.
  if (errorNumber == ENOENT) return vrl::kErrPathNotFound;
  return vrl::SystemErrorToResult(errorNumber);
}

}  // namespace

TDumpFile::~TDumpFile() {
  if (fd_ >= 0) Close();
}

int32_t TDumpFile::Open(const std::string& fileName, bool append) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | (append ? O_APPEND : O_TRUNC);
  int fd;
  do {
    fd = ::open(fileName.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return FailureOf(errno);
  fd_ = fd;
  result_ = 0;
  buffer_.clear();
  buffer_.reserve(kBufferSize);
  return 0;
}

void TDumpFile::Write(std::string_view text) {
  if (fd_ < 0 || result_ != 0) return;
  buffer_.append(text);
  if (buffer_.size() >= kBufferSize) Flush();
}

void TDumpFile::Flush() {
  size_t written = 0;
  while (written < buffer_.size() && result_ == 0) {
    const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result_ = FailureOf(errno);
    } else {
      written += static_cast<size_t>(n);
    }
  }
  buffer_.clear();
}

int32_t TDumpFile::Close() {
  if (fd_ < 0) return result_;
  if (result_ == 0) Flush();
  // Never retried: the descriptor is gone whatever close reports.
  if (::close(fd_) != 0 && result_ == 0) result_ = FailureOf(errno);
  fd_ = -1;
  return result_;
}
