// Speed of the output path on a pseudo-terminal, side by side with a plain
// write() on the same kind of device: call cost and write-to-master latency of
// 16-byte blocks, throughput of 4096-byte blocks, and the context switches of
// an idle open port. Figures only; nothing here passes or fails.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "Pty.h"
#include "serial/posix/PosixDispatcher.h"

namespace {

using TClock = std::chrono::steady_clock;

class TBenchOwner : public TDispatcherOwner {
 public:
  bool Loading() const override { return false; }
  TMainThreadQueue* MainThreadQueue() override { return nullptr; }
  void ShowException(const std::exception&) override {}
};

// The device under test: our dispatcher, or a plain descriptor on the slave.
struct TTarget {
  explicit TTarget(bool dispatcher) {
    if (dispatcher) {
      port = std::make_unique<TVrlPosixDispatcher>(&owner);
      port->InitializePort(pty.SlavePath(), 115200, 0, 8, 1, 4096, 4096, 0);
    } else {
      plain = TUniqueFd(::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
      termios raw{};
      ::tcgetattr(plain.Get(), &raw);
      ::cfmakeraw(&raw);
      ::tcsetattr(plain.Get(), TCSANOW, &raw);
    }
  }
  // Queues or writes the whole block; a full ring is waited out.
  void Send(const char* data, uint32_t size) {
    if (port) {
      while (port->WriteBlock(data, size) != 0) std::this_thread::yield();
      return;
    }
    for (uint32_t done = 0; done < size;) {
      const ssize_t n = ::write(plain.Get(), data + done, size - done);
      if (n > 0) done += static_cast<uint32_t>(n);
    }
  }

  TPty pty;
  TBenchOwner owner;
  std::unique_ptr<TVrlPosixDispatcher> port;
  TUniqueFd plain;
};

// Drains the master on a thread of its own while a benchmark sends.
class TDrain {
 public:
  explicit TDrain(TPty& pty)
      : thread_([this, &pty] {
          char buffer[65536];
          while (!stop_) {
            if (pty.Readable(20)) received_ += ::read(pty.Master(), buffer, sizeof buffer);
          }
        }) {}
  ~TDrain() {
    stop_ = true;
    thread_.join();
  }
  int64_t Received() const { return received_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> received_{0};
  std::thread thread_;
};

void CallCost16(benchmark::State& state) {
  TTarget target(state.range(0) != 0);
  TDrain drain(target.pty);
  const char block[16] = "0123456789abcde";
  for (auto _ : state) target.Send(block, sizeof block);
  state.SetBytesProcessed(state.iterations() * int64_t(sizeof block));
  state.SetLabel(state.range(0) ? "WriteBlock" : "write()");
}
BENCHMARK(CallCost16)->Arg(1)->Arg(0);

void Latency16(benchmark::State& state) {
  TTarget target(state.range(0) != 0);
  const char block[16] = "0123456789abcde";
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = TClock::now();
    target.Send(block, sizeof block);
    target.pty.Read(sizeof block);
    samples.push_back(std::chrono::duration<double, std::micro>(TClock::now() - start).count());
  }
  std::sort(samples.begin(), samples.end());
  state.counters["median_us"] = samples[samples.size() / 2];
  state.counters["p99_us"] = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
  state.SetLabel(state.range(0) ? "WriteBlock" : "write()");
}
BENCHMARK(Latency16)->Arg(1)->Arg(0)->Iterations(5000)->UseRealTime();

void Throughput4096(benchmark::State& state) {
  TTarget target(state.range(0) != 0);
  TDrain drain(target.pty);
  const std::vector<char> block(4096, 'x');
  for (auto _ : state) target.Send(block.data(), 4096);
  state.SetBytesProcessed(state.iterations() * 4096);
  state.SetLabel(state.range(0) ? "WriteBlock" : "write()");
}
BENCHMARK(Throughput4096)->Arg(1)->Arg(0)->UseRealTime();

int64_t ContextSwitches() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nvcsw + usage.ru_nivcsw;
}

// Context switches of the whole process while an open port sits idle; the
// benchmark's own sleep accounts for about one per iteration.
void IdleWakeups(benchmark::State& state) {
  TTarget target(true);
  int64_t switches = 0;
  double seconds = 0;
  for (auto _ : state) {
    const int64_t before = ContextSwitches();
    const auto start = TClock::now();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    seconds += std::chrono::duration<double>(TClock::now() - start).count();
    switches += ContextSwitches() - before;
  }
  state.counters["wakeups_per_s"] = double(switches) / seconds;
}
BENCHMARK(IdleWakeups)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
