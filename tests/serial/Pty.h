// A pseudo-terminal pair standing in for a serial device: the dispatcher opens
// the slave by its path, the test reads and writes the master. Test thread only.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>

#include "serial/posix/UniqueFd.h"

class TPty {
 public:
  TPty() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (!master_.Valid() || ::grantpt(master_.Get()) != 0 || ::unlockpt(master_.Get()) != 0) return;
    slavePath_ = SlaveName(master_.Get());
    if (slavePath_.empty()) return;
    termios raw{};
    ::tcgetattr(master_.Get(), &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master_.Get(), TCSANOW, &raw);
  }

  bool Valid() const { return !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_.Get(); }
  void CloseMaster() { master_.Reset(); }

  // Reads exactly count bytes, waiting up to 10 s for them; fewer on time-out.
  std::string Read(size_t count) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (received.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !Readable(static_cast<int>(left.count()))) break;
      char buffer[4096];
      const ssize_t n =
          ::read(master_.Get(), buffer, std::min(sizeof buffer, count - received.size()));
      if (n <= 0) break;
      received.append(buffer, static_cast<size_t>(n));
    }
    return received;
  }
  // Everything that is waiting now, without waiting for more.
  std::string ReadWaiting() {
    std::string received;
    char buffer[4096];
    while (Readable(0)) {
      const ssize_t n = ::read(master_.Get(), buffer, sizeof buffer);
      if (n <= 0) break;
      received.append(buffer, static_cast<size_t>(n));
    }
    return received;
  }
  bool Readable(int timeoutMs) {
    pollfd entry{master_.Get(), POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0 && (entry.revents & POLLIN);
  }

 private:
  static std::string SlaveName(int master) {
    std::array<char, 128> name{};
    if (::ptsname_r(master, name.data(), name.size()) != 0) return {};
    return std::string(name.data());
  }

  TUniqueFd master_;
  std::string slavePath_;
};

inline int CountEntries(const char* directory) {
  int count = 0;
  if (DIR* dir = ::opendir(directory)) {
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(dir);
  }
  return count;
}

inline int OpenDescriptors() { return CountEntries("/proc/self/fd"); }
inline int Threads() { return CountEntries("/proc/self/task"); }

// The thread count a leak check starts from. ThreadSanitizer's runtime adds a
// thread of its own at the first thread creation, so one is created first;
// joined, it still leaves the kernel's task list a moment later, so it is
// counted only once it has gone.
inline int BaselineThreads() {
  pid_t helper = 0;
  std::thread([&helper] { helper = ::gettid(); }).join();
  const std::string entry = "/proc/self/task/" + std::to_string(helper);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (::access(entry.c_str(), F_OK) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  return Threads();
}

// Whether this process holds a descriptor on path.
inline bool HoldsDescriptorOn(const std::string& path) {
  bool holds = false;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] == '.') continue;
      char target[512];
      const std::string link = std::string("/proc/self/fd/") + entry->d_name;
      const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
      if (n > 0 && std::string(target, static_cast<size_t>(n)) == path) holds = true;
    }
    ::closedir(dir);
  }
  return holds;
}
