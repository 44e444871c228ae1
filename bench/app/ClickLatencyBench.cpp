// Click-to-master latency: a grid button's click (BtTxClick on an open output)
// until its seven bytes arrive at the pseudo-terminal's master, beside a plain
// write() of the same bytes on the same pseudo-terminal. Median and p99 per
// side, in microseconds. Offscreen platform; figures only, nothing fails.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Pty.h"
#include "app/MainWindow.h"
#include "widgets/ImageButton.h"

namespace {

using TClock = std::chrono::steady_clock;
const std::string kHello = "Hello\r\n";
constexpr int kPortNumber = 9;

TPty* sharedPty = nullptr;

void ReportPercentiles(benchmark::State& state, std::vector<double>& microseconds) {
  if (microseconds.empty()) return;
  std::sort(microseconds.begin(), microseconds.end());
  const auto at = [&](double fraction) {
    return microseconds[std::min(microseconds.size() - 1,
                                 static_cast<size_t>(fraction * static_cast<double>(microseconds.size())))];
  };
  state.counters["median_us"] = at(0.5);
  state.counters["p99_us"] = at(0.99);
}

// Both sides time the same thing: from handing over the bytes until the master
// has read all seven.
template <typename TSend>
void MeasureToMaster(benchmark::State& state, TSend send) {
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = TClock::now();
    send();
    if (sharedPty->Read(kHello.size()) != kHello) {
      state.SkipWithError("the bytes did not arrive");
      break;
    }
    const std::chrono::duration<double> elapsed = TClock::now() - start;
    state.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1e6);
  }
  ReportPercentiles(state, samples);
}

void BM_PlainWrite(benchmark::State& state) {
  TUniqueFd slave(::open(sharedPty->SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  termios raw{};
  ::tcgetattr(slave.Get(), &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(slave.Get(), TCSANOW, &raw);
  MeasureToMaster(state, [&] {
    if (::write(slave.Get(), kHello.data(), kHello.size()) != static_cast<ssize_t>(kHello.size())) {
      state.SkipWithError("write() failed");
    }
  });
}

void BM_ButtonClick(benchmark::State& state) {
  QTemporaryDir folder;
  const std::filesystem::path settings =
      std::filesystem::path(folder.path().toStdString()) / "tovrana.ini";
  std::ofstream(settings, std::ios::binary)
      << "[Output 1]\r\nPort Number=" << kPortNumber << "\r\nBaud Rate=115200\r\n"
      << "[Ports]\r\nCOM1=/nonexistent/port1\r\nCOM" << kPortNumber << "="
      << sharedPty->SlavePath() << "\r\n"
      << "[Button 1]\r\nData=[Hello],13,10\r\nOutput=1\r\n";
  TfmMain panel(settings);
  panel.show();
  auto* button = panel.findChild<TImageButton*>("BtTx1", Qt::FindDirectChildrenOnly);
  // The first click opens the port; the figures are of an open output.
  button->click();
  if (sharedPty->Read(kHello.size()) != kHello) {
    state.SkipWithError("the port did not open");
    return;
  }
  MeasureToMaster(state, [&] { button->click(); });
}

}  // namespace

// The plain write goes first: the panel takes the device exclusively.
BENCHMARK(BM_PlainWrite)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_ButtonClick)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TPty pty;
  if (!pty.Valid()) return 1;
  sharedPty = &pty;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
