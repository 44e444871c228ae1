// The measurements. Pacing and waiting use absolute CLOCK_MONOTONIC deadlines;
// the reader process timestamps arrivals on the same clock.
#include "Measures.h"

#include <dirent.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kBlockSize = 16;
constexpr int kLargeBlockSize = 4096;
// Paced blocks sent before the measured ones, to settle caches and threads.
constexpr int kWarmUpBlocks = 20;
constexpr int64_t kPeriodNs = 1'000'000;

int64_t Now(clockid_t clock = CLOCK_MONOTONIC) {
  timespec now{};
  ::clock_gettime(clock, &now);
  return int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void SleepUntil(int64_t deadlineNs) {
  const timespec at{static_cast<time_t>(deadlineNs / 1'000'000'000),
                    static_cast<long>(deadlineNs % 1'000'000'000)};
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
  }
}

// Times each thread of this process was scheduled in, summed.
int64_t ThreadWakeups() {
  int64_t total = 0;
  DIR* tasks = ::opendir("/proc/self/task");
  if (tasks == nullptr) return 0;
  while (const dirent* entry = ::readdir(tasks)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream stat(std::string("/proc/self/task/") + entry->d_name + "/schedstat");
    int64_t runNs = 0, waitNs = 0, slices = 0;
    if (stat >> runNs >> waitNs >> slices) total += slices;
  }
  ::closedir(tasks);
  return total;
}

double ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return double(resident) * double(::sysconf(_SC_PAGESIZE)) / 1024.0;
}

// When the last byte of each block arrived, from the reader's records.
std::vector<int64_t> BlockArrivals(const std::vector<TArrival>& arrivals, int blocks,
                                   int blockSize) {
  std::vector<int64_t> at(static_cast<size_t>(blocks), -1);
  size_t next = 0;
  for (int block = 0; block < blocks; ++block) {
    const int64_t end = int64_t(block + 1) * blockSize;
    while (next < arrivals.size() && arrivals[next].Total < end) ++next;
    if (next == arrivals.size()) break;
    at[static_cast<size_t>(block)] = arrivals[next].Nanoseconds;
  }
  return at;
}

}  // namespace

std::optional<TPacedSends> MeasurePacedSends(TPeer& peer, TPtyReader& reader, int blocks,
                                             TByteCount& count) {
  const std::string path = reader.NewPty();
  if (path.empty() || !peer.Open(path)) return std::nullopt;
  const char block[kBlockSize + 1] = "0123456789abcdef";
  const int total = kWarmUpBlocks + blocks;
  std::vector<int64_t> started(static_cast<size_t>(total));
  TPacedSends result;
  int64_t deadline = Now() + kPeriodNs;
  int64_t cpuStart = 0;
  bool sent = true;
  for (int i = 0; i < total && sent; ++i) {
    if (i == kWarmUpBlocks) cpuStart = Now(CLOCK_PROCESS_CPUTIME_ID);
    SleepUntil(deadline);
    const int64_t before = Now();
    sent = peer.Send(block, kBlockSize);
    const int64_t after = Now();
    peer.Pump();
    started[static_cast<size_t>(i)] = before;
    if (i >= kWarmUpBlocks) result.CallUs.push_back(double(after - before) / 1000.0);
    deadline += kPeriodNs;
  }
  result.CpuUsPerSend = double(Now(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / 1000.0 / blocks;
  peer.Flush();
  const std::vector<TArrival> arrivals = reader.Collect(int64_t(total) * kBlockSize);
  peer.Close();
  count.Sent += int64_t(total) * kBlockSize;
  count.Received += arrivals.empty() ? 0 : arrivals.back().Total;
  if (!sent) return std::nullopt;
  const std::vector<int64_t> arrived = BlockArrivals(arrivals, total, kBlockSize);
  for (int i = kWarmUpBlocks; i < total; ++i) {
    if (arrived[static_cast<size_t>(i)] < 0) return std::nullopt;
    result.LatencyUs.push_back(
        double(arrived[static_cast<size_t>(i)] - started[static_cast<size_t>(i)]) / 1000.0);
  }
  return result;
}

std::optional<double> MeasureThroughput(TPeer& peer, TPtyReader& reader, int blocks,
                                        TByteCount& count) {
  const std::string path = reader.NewPty();
  if (path.empty() || !peer.Open(path)) return std::nullopt;
  const std::vector<char> block(kLargeBlockSize, 'x');
  const int64_t start = Now();
  bool sent = true;
  for (int i = 0; i < blocks && sent; ++i) sent = peer.SendWhenRoom(block.data(), block.size());
  peer.Flush();
  const int64_t bytes = int64_t(blocks) * kLargeBlockSize;
  const std::vector<TArrival> arrivals = reader.Collect(bytes);
  peer.Close();
  count.Sent += bytes;
  count.Received += arrivals.empty() ? 0 : arrivals.back().Total;
  if (!sent || arrivals.empty() || arrivals.back().Total != bytes) return std::nullopt;
  // Bytes per microsecond are megabytes per second.
  return double(bytes) / (double(arrivals.back().Nanoseconds - start) / 1000.0);
}

std::vector<double> MeasureOpenClose(TPeer& peer, TPtyReader& reader, int cycles) {
  std::vector<double> microseconds;
  const std::string path = reader.NewPty();
  if (path.empty()) return microseconds;
  for (int i = 0; i < cycles; ++i) {
    reader.ResetSlave();
    const int64_t before = Now();
    const bool opened = peer.Open(path);
    peer.Close();
    const int64_t after = Now();
    if (!opened) break;
    microseconds.push_back(double(after - before) / 1000.0);
  }
  return microseconds;
}

std::optional<double> MeasureIdleWakeups(TPeer& peer, TPtyReader& reader,
                                         std::chrono::milliseconds duration) {
  const std::string path = reader.NewPty();
  if (path.empty() || !peer.Open(path)) return std::nullopt;
  peer.Idle(std::chrono::milliseconds(50));
  const int64_t before = ThreadWakeups();
  const int64_t start = Now();
  peer.Idle(duration);
  const int64_t wakeups = ThreadWakeups() - before;
  const int64_t elapsed = Now() - start;
  peer.Close();
  // The caller's own wake-up at the end of its wait is not the port's.
  return double(std::max<int64_t>(wakeups - 1, 0)) / (double(elapsed) / 1e9);
}

std::optional<TTalkingDevice> MeasureTalkingDevice(TPeer& peer, TPtyReader& reader,
                                                   std::chrono::milliseconds duration) {
  const std::string path = reader.NewPty();
  if (path.empty() || !peer.Open(path)) return std::nullopt;
  reader.StartTalking();
  const int64_t settleStart = Now();
  peer.Idle(std::chrono::milliseconds(100));
  const int64_t cpuBefore = Now(CLOCK_PROCESS_CPUTIME_ID);
  const double memoryBefore = ResidentKb();
  const int64_t start = Now();
  peer.Idle(duration);
  TTalkingDevice result;
  const int64_t elapsed = Now() - start;
  result.CorePercent = 100.0 * double(Now(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore) / double(elapsed);
  result.MemoryGrowthKb = ResidentKb() - memoryBefore;
  // Fed since StartTalking, so over the settling time as well.
  const int64_t fed = reader.StopTalking();
  result.FedMegabytesPerSecond = double(fed) / (double(Now() - settleStart) / 1000.0);
  peer.Close();
  return result;
}
