// A move-only owner of one file descriptor, closed exactly once (never retried).
// Not synchronised: its owner decides which thread closes it.
#pragma once

#include <unistd.h>

#include <utility>

class TUniqueFd {
 public:
  TUniqueFd() = default;
  explicit TUniqueFd(int fd) : fd_(fd) {}
  TUniqueFd(TUniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  TUniqueFd& operator=(TUniqueFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  TUniqueFd(const TUniqueFd&) = delete;
  TUniqueFd& operator=(const TUniqueFd&) = delete;
  ~TUniqueFd() { Reset(); }

  bool Valid() const { return fd_ >= 0; }
  int Get() const { return fd_; }
  // Closes the held descriptor; returns close()'s result (0 when none was held).
  int Reset(int fd = -1) {
    int result = 0;
    if (fd_ >= 0) result = ::close(fd_);
    fd_ = fd;
    return result;
  }

 private:
  int fd_ = -1;
};
