// Section "Remote" of the settings file: whether other systems may press the
// panel's buttons, on which ports and address, and the token they must show.
// Read at start-up only and never written: the save leaves the section as it
// stands. A plain value; user-interface thread.
#pragma once

#include <cstdint>
#include <string>

class TIniFile;

struct TRemoteSettings {
  bool Enabled = false;
  // As read; 0 means that listener is off. Values outside 0..65535 are refused
  // when remote control starts.
  int32_t HttpPort = 0;
  int32_t TcpPort = 0;
  std::string Bind = "127.0.0.1";
  std::string Token;

  bool operator==(const TRemoteSettings&) const = default;
};

TRemoteSettings ReadRemoteSettings(const TIniFile& ini);
