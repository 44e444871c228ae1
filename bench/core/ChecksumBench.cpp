// Speed of the checks a button appends, computed at every press, repeat and
// release on the user-interface thread: a Modbus frame, and the longest text
// the output buffer takes, for each algorithm of the table.
#include <benchmark/benchmark.h>

#include <string>

#include "core/Checksum.h"

namespace {

constexpr size_t kOutputBufferBytes = 4096;

void BM_Checksum(benchmark::State& state) {
  const TChecksumAlgorithm& algorithm = ChecksumAlgorithms()[static_cast<size_t>(state.range(0))];
  const std::string bytes(static_cast<size_t>(state.range(1)), '\x5A');
  state.SetLabel(std::string(algorithm.Name));
  for (auto _ : state) benchmark::DoNotOptimize(ComputeChecksum(algorithm, bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(1));
}
BENCHMARK(BM_Checksum)
    ->ArgsProduct(
        {benchmark::CreateDenseRange(0, static_cast<int64_t>(ChecksumAlgorithms().size()) - 1, 1),
         {8, kOutputBufferBytes}})
    ->Unit(benchmark::kMicrosecond);

// The whole path of a Modbus request: decode the text and append its CRC.
void BM_FinalBytesModbus(benchmark::State& state) {
  TCommand record;
  record.SetDefaults();
  record.Checksum = "CRC-16/MODBUS";
  for (auto _ : state) benchmark::DoNotOptimize(FinalBytes("$01 $03 $00 $00 $00 $0A", record));
}
BENCHMARK(BM_FinalBytesModbus)->Unit(benchmark::kMicrosecond);

}  // namespace
