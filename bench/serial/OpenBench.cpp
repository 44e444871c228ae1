// Time to open a port through the component on a pseudo-terminal
// whose line is left at a given speed (B0 as a hung-up port leaves it, a slow
// 50 baud, and 9600), opening at the component's default 19200 baud.
// Figures only; nothing here passes or fails.
#include <benchmark/benchmark.h>
#include <termios.h>

#include "Pty.h"
#include "serial/ComPort.h"

namespace {

speed_t SpeedConstant(int64_t baud) {
  switch (baud) {
    case 0:
      return B0;
    case 50:
      return B50;
    default:
      return B9600;
  }
}

void OpenOnPtyAtSpeed(benchmark::State& state) {
  TPty pty;
  TPortMap map;
  map.Assign(5, pty.SlavePath());
  TVrlComPort port;
  port.SetPortMap(map);
  port.SetComNumber(5);
  for (auto _ : state) {
    state.PauseTiming();
    // The pty's line settings live on after every close; put the speed back.
    termios settings{};
    ::tcgetattr(pty.Master(), &settings);
    ::cfsetospeed(&settings, SpeedConstant(state.range(0)));
    ::cfsetispeed(&settings, SpeedConstant(state.range(0)));
    ::tcsetattr(pty.Master(), TCSANOW, &settings);
    state.ResumeTiming();
    port.SetOpen(true);
    state.PauseTiming();
    port.SetOpen(false);
    state.ResumeTiming();
  }
  state.SetLabel("pty at " + std::to_string(state.range(0)) + " baud");
}
BENCHMARK(OpenOnPtyAtSpeed)
    ->Arg(9600)
    ->Arg(50)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
