// Cost of the two diagnostic recorders: recording a 16-byte block into the
// trace ring, adding a 16-byte entry to a limited dispatch log, and dumping a
// full trace and log to a file. Figures only; nothing here passes or fails.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "serial/DispatchLog.h"
#include "serial/Trace.h"

namespace {

constexpr uint8_t kBlock[16] = {'H', 'e', 'l', 'l',  'o',  ' ',  'p',  'a',
                                'n', 'e', 'l', '\r', '\n', 0x00, 0x7F, 0xFF};

std::string ScratchFile(const char* name) {
  return "/tmp/tovrana-bench-" + std::to_string(::getpid()) + "-" + name;
}

void TraceRecord16(benchmark::State& state) {
  TTrace trace;
  trace.Start(10000);
  for (auto _ : state) {
    trace.Record(TTrace::kTransmit, kBlock, sizeof kBlock);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * sizeof kBlock);
}
BENCHMARK(TraceRecord16);

void LogAdd16(benchmark::State& state) {
  TDispatchLog log;
  log.Start(10000);  // the limit keeps the queue at its steady size
  for (auto _ : state) log.Add(TLogType::ltDispatch, vrl::logsubtype::kWriteCom, 16, kBlock, 16);
}
BENCHMARK(LogAdd16);

void TraceDumpFull(benchmark::State& state) {
  const std::string file = ScratchFile("trace");
  const auto entries = static_cast<uint32_t>(state.range(0));
  TTrace trace;
  trace.Start(entries);
  for (auto _ : state) {
    state.PauseTiming();
    for (uint32_t i = 0; i < entries; i += sizeof kBlock) {
      trace.Record(TTrace::kTransmit, kBlock, sizeof kBlock);
    }
    state.ResumeTiming();
    trace.Dump(file, false, false, true);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * entries);
  std::remove(file.c_str());
}
BENCHMARK(TraceDumpFull)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void LogDump1000(benchmark::State& state) {
  const std::string file = ScratchFile("log");
  TDispatchLog log;
  log.Start(0);
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 1000; ++i)
      log.Add(TLogType::ltDispatch, vrl::logsubtype::kReadCom, 16, kBlock, 16);
    state.ResumeTiming();
    log.Dump(file, false, false, true, "COM1");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1000);
  std::remove(file.c_str());
}
BENCHMARK(LogDump1000)->Unit(benchmark::kMillisecond);

}  // namespace
