// Side-by-side speed of the send path: a plain write() loop, Qt's QSerialPort,
// libserialport and TVrlComPort, each sending to the slave of a pseudo-terminal
// while a separate reader process timestamps the master's reads. The peers
// take turns in rounds, the order rotated each round; the table gives the
// median, the p99 and the spread of the per-round medians, with ratios to the
// plain write() of the same run. Figures only: it never fails.
#include <sys/utsname.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Measures.h"
#include "Peers.h"
#include "PtyReader.h"

namespace {

struct TOptions {
  int Rounds = 10;
  int PacedBlocks = 400;
  int ThroughputBlocks = 2048;
  int OpenCycles = 20;
  std::chrono::milliseconds IdleTime{500};
  std::chrono::milliseconds TalkTime{1000};
  // Only the peers whose name holds this text run (for profiling one).
  std::string Only;
};

// Every sample of one measure of one peer, and the median of each round.
struct TSeries {
  std::vector<double> Samples;
  std::vector<double> RoundMedians;

  static double Quantile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(fraction * double(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
  }
  void AddRound(const std::vector<double>& round) {
    if (round.empty()) return;
    Samples.insert(Samples.end(), round.begin(), round.end());
    RoundMedians.push_back(Quantile(round, 0.5));
  }
  bool Empty() const { return Samples.empty(); }
  double Median() const { return Quantile(Samples, 0.5); }
  double P99() const { return Quantile(Samples, 0.99); }
  double Lowest() const { return *std::min_element(RoundMedians.begin(), RoundMedians.end()); }
  double Highest() const { return *std::max_element(RoundMedians.begin(), RoundMedians.end()); }
};

enum TMeasure {
  kLatency,
  kCallCost,
  kCpuPerSend,
  kThroughput,
  kOpenClose,
  kIdleWakeups,
  kTalkingCore,
  kTalkingMemory,
  kTalkingRate,
  kMeasureCount
};

struct TRow {
  TMeasure Measure;
  const char* Title;
  const char* Unit;
  bool ManySamples;  // many samples a round: a p99 row
  bool Relative;     // compared with raw write()
};

constexpr TRow kRows[] = {
    {kLatency, "send call to bytes at the master", "us", true, true},
    {kCallCost, "send call cost on the caller", "us", true, true},
    {kCpuPerSend, "CPU per send cycle (whole process)", "us", false, true},
    {kThroughput, "throughput, 4096-byte blocks", "MB/s", false, true},
    {kOpenClose, "open + configure + close", "us", true, true},
    {kIdleWakeups, "idle open port, wake-ups per second", "/s", false, false},
    {kTalkingCore, "device talking at full speed: CPU", "% core", false, false},
    {kTalkingMemory, "device talking at full speed: memory growth", "KB", false, false},
    {kTalkingRate, "device talking at full speed: bytes fed", "MB/s", false, false},
};

struct TPeerResults {
  TSeries Series[kMeasureCount];
  TByteCount Bytes;
  int Failures = 0;
};

std::string Figure(double value) {
  char text[32];
  if (value >= 1000 || value == 0) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else if (value >= 10) {
    std::snprintf(text, sizeof text, "%.1f", value);
  } else {
    std::snprintf(text, sizeof text, "%.2f", value);
  }
  return text;
}

std::string Ratio(double value, double reference) {
  if (reference <= 0) return "";
  char text[32];
  std::snprintf(text, sizeof text, " (%.2fx)", value / reference);
  return text;
}

void PrintCells(const std::string& title, const std::vector<std::string>& cells) {
  std::printf("%-46s", title.c_str());
  for (const std::string& cell : cells) std::printf(" | %-24s", cell.c_str());
  std::printf("\n");
}

std::string LoadAverage() {
  std::ifstream loadavg("/proc/loadavg");
  std::string one, five, fifteen;
  loadavg >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

void PrintMachine(const std::string& loadAtStart) {
  utsname system{};
  ::uname(&system);
  std::string cpu = "unknown CPU";
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string line; std::getline(cpuinfo, line);) {
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  std::printf(
      "Machine: %s, %ld cores online, Linux %s %s; load average %s at the start, %s at the end\n",
      cpu.c_str(), ::sysconf(_SC_NPROCESSORS_ONLN), system.release, system.machine,
      loadAtStart.c_str(), LoadAverage().c_str());
}

void PrintTable(const std::vector<std::unique_ptr<TPeer>>& peers,
                const std::vector<TPeerResults>& results, const TOptions& options,
                const std::string& loadAtStart) {
  std::printf("\n");
  PrintMachine(loadAtStart);
  std::printf(
      "%d rounds, order rotated; per round and peer: %d paced 16-byte sends (1 ms apart), "
      "%d x 4096 bytes, %d open/close cycles, %lld ms idle, %lld ms of a talking device.\n"
      "Cells: median (ratio to raw write() in this run); below it the p99 where a round has "
      "many samples, and the spread (lowest-highest) of the round medians.\n\n",
      options.Rounds, options.PacedBlocks, options.ThroughputBlocks, options.OpenCycles,
      static_cast<long long>(options.IdleTime.count()),
      static_cast<long long>(options.TalkTime.count()));
  std::vector<std::string> names;
  for (const auto& peer : peers) names.push_back(peer->Name());
  PrintCells("Measure", names);
  PrintCells(std::string(46, '-'), std::vector<std::string>(peers.size(), std::string(24, '-')));
  for (const TRow& row : kRows) {
    const TSeries& raw = results[0].Series[row.Measure];
    const double reference = raw.Empty() || !row.Relative ? 0 : raw.Median();
    const double referenceP99 = raw.Empty() || !row.Relative ? 0 : raw.P99();
    std::vector<std::string> medians, p99s, spreads;
    for (const TPeerResults& result : results) {
      const TSeries& series = result.Series[row.Measure];
      if (series.Empty()) {
        medians.push_back("n/a");
        p99s.push_back("");
        spreads.push_back("");
        continue;
      }
      medians.push_back(Figure(series.Median()) + " " + row.Unit +
                        Ratio(series.Median(), reference));
      p99s.push_back(Figure(series.P99()) + Ratio(series.P99(), referenceP99));
      spreads.push_back(Figure(series.Lowest()) + "-" + Figure(series.Highest()));
    }
    PrintCells(row.Title, medians);
    if (row.ManySamples) PrintCells("  p99", p99s);
    PrintCells("  spread of round medians", spreads);
  }
  std::vector<std::string> checks;
  for (const TPeerResults& result : results) {
    const bool match = result.Bytes.Sent == result.Bytes.Received;
    checks.push_back(
        std::string(match ? "ok " : "MISMATCH ") + std::to_string(result.Bytes.Received) + "/" +
        std::to_string(result.Bytes.Sent) +
        (result.Failures > 0 ? ", " + std::to_string(result.Failures) + " failed" : ""));
  }
  PrintCells("bytes received / sent", checks);
}

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (name == "--only") options.Only = argv[i + 1];
    if (name == "--rounds") options.Rounds = std::max(1, value);
    if (name == "--paced-blocks") options.PacedBlocks = std::max(10, value);
    if (name == "--throughput-blocks") options.ThroughputBlocks = std::max(1, value);
    if (name == "--open-cycles") options.OpenCycles = std::max(1, value);
    if (name == "--idle-ms") options.IdleTime = std::chrono::milliseconds(std::max(10, value));
    if (name == "--talk-ms") options.TalkTime = std::chrono::milliseconds(std::max(10, value));
  }
  return options;
}

void RunRound(TPeer& peer, TPtyReader& reader, const TOptions& options, TPeerResults& results) {
  TSeries* series = results.Series;
  if (auto sends = MeasurePacedSends(peer, reader, options.PacedBlocks, results.Bytes)) {
    series[kLatency].AddRound(sends->LatencyUs);
    series[kCallCost].AddRound(sends->CallUs);
    series[kCpuPerSend].AddRound({sends->CpuUsPerSend});
  } else {
    ++results.Failures;
  }
  if (auto rate = MeasureThroughput(peer, reader, options.ThroughputBlocks, results.Bytes)) {
    series[kThroughput].AddRound({*rate});
  } else {
    ++results.Failures;
  }
  series[kOpenClose].AddRound(MeasureOpenClose(peer, reader, options.OpenCycles));
  if (auto wakeups = MeasureIdleWakeups(peer, reader, options.IdleTime)) {
    series[kIdleWakeups].AddRound({*wakeups});
  } else {
    ++results.Failures;
  }
  if (auto talking = MeasureTalkingDevice(peer, reader, options.TalkTime)) {
    series[kTalkingCore].AddRound({talking->CorePercent});
    series[kTalkingMemory].AddRound({talking->MemoryGrowthKb});
    series[kTalkingRate].AddRound({talking->FedMegabytesPerSecond});
  } else {
    ++results.Failures;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const TOptions options = ParseOptions(argc, argv);
  const std::string loadAtStart = LoadAverage();
  // The reader is forked before any thread exists.
  TPtyReader reader;
  QCoreApplication application(argc, argv);
  std::vector<std::unique_ptr<TPeer>> peers = CreatePeers();
  std::vector<TPeerResults> results(peers.size());
  for (int round = 0; round < options.Rounds; ++round) {
    std::fprintf(stderr, "round %d of %d\n", round + 1, options.Rounds);
    for (size_t turn = 0; turn < peers.size(); ++turn) {
      const size_t index = (turn + static_cast<size_t>(round)) % peers.size();
      if (peers[index]->Name().find(options.Only) == std::string::npos) continue;
      RunRound(*peers[index], reader, options, results[index]);
    }
  }
  PrintTable(peers, results, options, loadAtStart);
  return 0;
}
