// Speed of the work done on the user-interface thread: decoding a serial data
// text, and loading plus saving a settings file of 100 buttons.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/CommandList.h"
#include "core/IniFile.h"
#include "core/MainWindowState.h"
#include "core/SerialData.h"
#include "core/Settings.h"
#include "serial/ComPort.h"

namespace {

constexpr size_t kMebibyte = 1u << 20;

// A mix of every token kind, repeated to one mebibyte.
std::string MixedDataText() {
  const std::string pattern = "65 $41 0x0D,10;[PWR ON] \"quoted, text\" x7F -1 A 300:[Hello]\r\n";
  std::string text;
  text.reserve(kMebibyte + pattern.size());
  while (text.size() < kMebibyte) text += pattern;
  text.resize(kMebibyte);
  return text;
}

void BM_DecodeSerialData(benchmark::State& state) {
  const std::string text = MixedDataText();
  for (auto _ : state) benchmark::DoNotOptimize(DecodeSerialData(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DecodeSerialData)->Unit(benchmark::kMillisecond);

// One long bracketed literal: the copy path of the decoder.
void BM_DecodeSerialDataLiteral(benchmark::State& state) {
  const std::string text = "[" + std::string(kMebibyte - 2, 'x') + "]";
  for (auto _ : state) benchmark::DoNotOptimize(DecodeSerialData(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DecodeSerialDataLiteral)->Unit(benchmark::kMillisecond);

std::string HundredButtonFile() {
  std::string text =
      "[Windows]\r\nMain Top=10\r\nMain Left=10\r\nMain Height=600\r\nMain Width=800\r\n\r\n"
      "[General]\r\nButton Rows=10\r\nButton Cols=10\r\nCaption=Studio A\r\n\r\n";
  for (int output = 1; output <= 4; ++output) {
    text += "[Output " + std::to_string(output) + "]\r\nPort Number=" + std::to_string(output) +
            "\r\nBaud Rate=9600\r\nOpen=1\r\n\r\n";
  }
  for (int n = 1; n <= 100; ++n) {
    text += "[Button " + std::to_string(n) + "]\r\nCaption=Input " + std::to_string(n) +
            "\\nto monitor\r\nData=[*" + std::to_string(n) +
            "IN],13,10\r\nOutput=" + std::to_string(n % 4 + 1) +
            "\r\nButton Colour=-16777201\r\nText Colour=255\r\n"
            "Image Index=" +
            std::to_string(n % 135) + "\r\n\r\n";
  }
  return text;
}

class TScratchFile {
 public:
  TScratchFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tovrana-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    std::ofstream(Path(), std::ios::binary) << HundredButtonFile();
  }
  ~TScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::filesystem::path Path() const { return folder_ / "tovrana.ini"; }

 private:
  std::filesystem::path folder_;
};

// What the program does at start and at close, with the disk flush of the save.
void BM_LoadAndSaveSettings(benchmark::State& state) {
  const TScratchFile file;
  for (auto _ : state) {
    TMainWindowState windowState;
    TCommandList commands;
    std::array<TVrlComPort, 4> ports;
    const TOutputPorts outputPorts{&ports[0], &ports[1], &ports[2], &ports[3]};
    ApplyStoredFormValues(outputPorts);
    ReadSettingsFile(file.Path(), windowState, commands, outputPorts);
    WriteSettingsFile(file.Path(), windowState, commands, outputPorts);
  }
}
BENCHMARK(BM_LoadAndSaveSettings)->Unit(benchmark::kMicrosecond);

// The same file parsed and rendered in memory, without the disk.
void BM_ParseAndRenderSettingsText(benchmark::State& state) {
  const std::string text = HundredButtonFile();
  for (auto _ : state) benchmark::DoNotOptimize(TIniFile(text).Text());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseAndRenderSettingsText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
