// Runs the real monitor program, writes to the device it prints, and reads the
// line it shows.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <vector>
#include <string>

namespace {

constexpr auto kDeadline = std::chrono::seconds(10);

class TMonitorProcess {
 public:
  explicit TMonitorProcess(std::vector<std::string> args = {}) {
    int pipeFds[2];
    EXPECT_EQ(pipe2(pipeFds, O_CLOEXEC), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(pipeFds[1], STDOUT_FILENO);
      std::vector<char*> argv{const_cast<char*>(TOVRANA_MONITOR_PATH)};
      for (auto& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(TOVRANA_MONITOR_PATH, argv.data());
      _exit(127);
    }
    close(pipeFds[1]);
    output_ = pipeFds[0];
  }

  ~TMonitorProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(output_);
  }

  // The next whole line of the monitor's output, or "" when none came in time.
  std::string ReadLine() {
    auto until = std::chrono::steady_clock::now() + kDeadline;
    for (;;) {
      if (auto end = buffer_.find('\n'); end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          until - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {};
      pollfd watched{output_, POLLIN, 0};
      if (poll(&watched, 1, static_cast<int>(left.count())) <= 0) return {};
      char chunk[512];
      ssize_t count = read(output_, chunk, sizeof chunk);
      if (count <= 0) return {};
      buffer_.append(chunk, static_cast<size_t>(count));
    }
  }

  int Terminate() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  std::string buffer_;
};

std::string DevicePathFrom(const std::string& line) {
  const std::string prefix = "Device: ";
  return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : std::string();
}

TEST(MonitorProcess, ShowsWhatArrivesAndEndsCleanlyOnSigterm) {
  TMonitorProcess monitor;
  std::string device = DevicePathFrom(monitor.ReadLine());
  ASSERT_FALSE(device.empty());
  ASSERT_EQ(monitor.ReadLine(), "Waiting for bytes; Ctrl+C ends.");

  int port = open(device.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(port, 0);
  ASSERT_EQ(write(port, "Hello\r\n", 7), 7);
  std::string line = monitor.ReadLine();
  EXPECT_NE(line.find("7 bytes  48 65 6C 6C 6F 0D 0A  |Hello..|"), std::string::npos) << line;
  close(port);

  int status = monitor.Terminate();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(MonitorProcess, LinkNamesTheDeviceAndGoesAwayAtTheEnd) {
  auto folder = std::filesystem::temp_directory_path() /
                ("tovrana-monitor-test-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  auto link = folder / "port";
  {
    TMonitorProcess monitor({"--link", link.string()});
    std::string device = DevicePathFrom(monitor.ReadLine());
    ASSERT_FALSE(device.empty());
    EXPECT_EQ(monitor.ReadLine(), "Link: " + link.string());
    EXPECT_EQ(std::filesystem::read_symlink(link), device);
    EXPECT_EQ(WEXITSTATUS(monitor.Terminate()), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
  std::filesystem::remove_all(folder);
}

}  // namespace
