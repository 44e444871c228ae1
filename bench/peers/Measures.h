// One measurement of one peer in one round. Each opens a fresh pseudo-terminal
// from the reader process, measures, and closes it again. Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "Peers.h"
#include "PtyReader.h"

// Bytes handed to a peer and bytes the reader saw arrive.
struct TByteCount {
  int64_t Sent = 0;
  int64_t Received = 0;
};

// 16-byte blocks sent every millisecond.
struct TPacedSends {
  std::vector<double> LatencyUs;  // send call to the block's last byte at the master
  std::vector<double> CallUs;     // the send call on the caller
  double CpuUsPerSend = 0;        // the whole process's CPU time per send cycle
};

std::optional<TPacedSends> MeasurePacedSends(TPeer& peer, TPtyReader& reader, int blocks,
                                             TByteCount& count);
// 4096-byte blocks back to back, in MB/s from the first call to the last byte.
std::optional<double> MeasureThroughput(TPeer& peer, TPtyReader& reader, int blocks,
                                        TByteCount& count);
// Opening, programming 9600 8N1 raw and closing a device left at its defaults.
std::vector<double> MeasureOpenClose(TPeer& peer, TPtyReader& reader, int cycles);
// Thread wake-ups per second of the whole process while the port sits open.
std::optional<double> MeasureIdleWakeups(TPeer& peer, TPtyReader& reader,
                                         std::chrono::milliseconds duration);

// While the device sends at full speed into the open port.
struct TTalkingDevice {
  double CorePercent = 0;  // CPU time of the whole process over wall time
  double MemoryGrowthKb = 0;
  double FedMegabytesPerSecond = 0;  // how fast the port took what the device sent
};
std::optional<TTalkingDevice> MeasureTalkingDevice(TPeer& peer, TPtyReader& reader,
                                                   std::chrono::milliseconds duration);
