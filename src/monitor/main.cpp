// tovrana-monitor: a stand-in for serial equipment. It creates a pseudo-terminal,
// prints the device path to give the panel, and shows every burst of bytes that
// arrives, one line per burst. Single-threaded: one poll() loop over the
// terminal and a signalfd, so SIGINT, SIGTERM and SIGHUP end it cleanly.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/BurstFormat.h"
#include "monitor/PseudoTerminal.h"

namespace {

// Bytes that arrive with less than this gap between them belong to one burst.
constexpr int kBurstGapMs = 30;
// A device that never pauses still gets a line per this many bytes.
constexpr size_t kLongestBurst = 4096;

const char kUsage[] =
    "Usage: tovrana-monitor [--link PATH]\n"
    "Creates a pseudo-terminal that stands in for a serial device and shows every\n"
    "byte the panel sends to it. Give the printed device path to the panel in its\n"
    "settings file, section [Ports], e.g. COM5=/dev/pts/3.\n"
    "  --link PATH  also make PATH a symbolic link to the device, so the settings\n"
    "               file can name a path that stays the same from run to run.\n";

class TLink {
 public:
  TLink(std::filesystem::path link, const std::string& target) : link_(std::move(link)) {
    std::error_code error;
    auto status = std::filesystem::symlink_status(link_, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
      throw std::runtime_error(link_.string() + " exists and is not a symbolic link; not replacing it");
    }
    std::filesystem::remove(link_, error);
    std::filesystem::create_symlink(target, link_);
  }
  ~TLink() {
    std::error_code error;
    std::filesystem::remove(link_, error);
  }
  TLink(const TLink&) = delete;
  TLink& operator=(const TLink&) = delete;

 private:
  std::filesystem::path link_;
};

class TBurst {
 public:
  bool Empty() const { return bytes_.empty(); }
  size_t Size() const { return bytes_.size(); }

  void Append(const char* data, size_t count) {
    if (bytes_.empty()) start_ = std::chrono::system_clock::now();
    bytes_.append(data, count);
  }

  void Print() {
    if (bytes_.empty()) return;
    auto seconds = std::chrono::system_clock::to_time_t(start_);
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                      start_.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    std::string line = FormatBurst(local, static_cast<int>(millis), bytes_);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    bytes_.clear();
  }

 private:
  std::string bytes_;
  std::chrono::system_clock::time_point start_;
};

int OpenSignalFd() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) {
    throw std::system_error(errno, std::generic_category(), "sigprocmask()");
  }
  int fd = signalfd(-1, &signals, SFD_CLOEXEC);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "signalfd()");
  return fd;
}

int Monitor(const TPseudoTerminal& terminal, int signalFd) {
  TBurst burst;
  pollfd watched[2] = {{terminal.MasterFd(), POLLIN, 0}, {signalFd, POLLIN, 0}};
  for (;;) {
    int ready = poll(watched, 2, burst.Empty() ? -1 : kBurstGapMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "poll()");
    }
    if (ready == 0) {
      burst.Print();
      continue;
    }
    if (watched[1].revents & POLLIN) {
      burst.Print();
      return 0;
    }
    if (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      char buffer[4096];
      ssize_t count = read(terminal.MasterFd(), buffer, sizeof buffer);
      if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EIO)) continue;
      if (count < 0) throw std::system_error(errno, std::generic_category(), "read()");
      burst.Append(buffer, static_cast<size_t>(count));
      if (burst.Size() >= kLongestBurst) burst.Print();
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string linkPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--link") == 0 && i + 1 < argc) {
      linkPath = argv[++i];
    } else {
      std::fputs(kUsage, std::strcmp(argv[i], "--help") == 0 ? stdout : stderr);
      return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
    }
  }
  try {
    int signalFd = OpenSignalFd();
    TPseudoTerminal terminal;
    std::unique_ptr<TLink> link;
    if (!linkPath.empty()) link = std::make_unique<TLink>(linkPath, terminal.SlavePath());
    std::printf("Device: %s\n", terminal.SlavePath().c_str());
    if (link) std::printf("Link: %s\n", linkPath.c_str());
    std::printf("Waiting for bytes; Ctrl+C ends.\n");
    std::fflush(stdout);
    int status = Monitor(terminal, signalFd);
    close(signalFd);
    return status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tovrana-monitor: %s\n", error.what());
    return 1;
  }
}
