// Time from process start to the first painted frame of the panel, and its peak
// resident memory, under an Xvfb that the benchmark starts for itself. Each
// repetition starts a fresh process; the medians are the figures to read.
#include <benchmark/benchmark.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// An Xvfb of our own on a free display, stopped when the benchmark ends.
class TXvfb {
 public:
  TXvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fdText = std::to_string(fds[1]);
    const char* args[] = {"Xvfb", "-displayfd", fdText.c_str(), "-nolisten", "tcp",
                          "-screen", "0",        "1024x768x24",  nullptr};
    if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(args), environ) != 0) {
      pid_ = -1;
    }
    close(fds[1]);
    std::string number;
    char c = 0;
    // Xvfb writes the display number once it accepts clients; EOF means it died.
    while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~TXvfb() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::optional<std::string>& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::optional<std::string> display_;
};

struct TRun {
  double Seconds = 0;
  long PeakKiB = 0;
  std::string Error;
};

TRun RunProbe(const std::string& display, const std::filesystem::path& settings) {
  TRun run;
  int out[2];
  if (pipe(out) != 0) return {0, 0, "pipe failed"};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  // Qt's start-up notes would break into the report; a failure shows in the status.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string displayVar = "DISPLAY=" + display;
  const std::string settingsText = settings.string();
  const char* args[] = {TOVRANA_STARTUP_PROBE, settingsText.c_str(), nullptr};
  const char* env[] = {displayVar.c_str(), "QT_QPA_PLATFORM=xcb", nullptr};
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, TOVRANA_STARTUP_PROBE, &actions, nullptr,
                                  const_cast<char**>(args), const_cast<char**>(env));
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string text;
  char buffer[64];
  for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) text.append(buffer, static_cast<size_t>(n));
    else if (errno != EINTR) break;
  }
  close(out[0]);
  if (spawned != 0) return {0, 0, "cannot start " TOVRANA_STARTUP_PROBE};
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) {
    return {0, 0, "the probe failed with status " + std::to_string(status)};
  }
  const long long paintedNs = std::stoll(text);
  const long long startNs = start.tv_sec * 1000000000LL + start.tv_nsec;
  run.Seconds = static_cast<double>(paintedNs - startNs) / 1e9;
  run.PeakKiB = usage.ru_maxrss;
  return run;
}

void StartToFirstPaint(benchmark::State& state) {
  static TXvfb xvfb;
  if (!xvfb.Display()) {
    state.SkipWithError("Xvfb could not be started");
    return;
  }
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tovrana-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  long peakKiB = 0;
  for (auto _ : state) {
    const TRun run = RunProbe(*xvfb.Display(), folder / "tovrana.ini");
    if (!run.Error.empty()) {
      state.SkipWithError(run.Error.c_str());
      break;
    }
    state.SetIterationTime(run.Seconds);
    peakKiB = run.PeakKiB;
  }
  state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
  std::filesystem::remove_all(folder);
}

BENCHMARK(StartToFirstPaint)
    ->Iterations(1)
    ->Repetitions(9)
    ->UseManualTime()
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
