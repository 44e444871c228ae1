// Which device path stands for serial port number n ("COM" + n). Section
// "Ports" of the settings file may name a path for any number; numbers without
// an entry use the built-in table. A plain value: each port component keeps a copy.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class TPortMap {
 public:
  // Built-in table: 1-4 /dev/ttyS0-3, 5-12 /dev/ttyUSB0-7, 13-20 /dev/ttyACM0-7.
  // Numbers beyond 20 have no device and give an empty path.
  static std::string DefaultDevicePath(uint16_t number);

  void Assign(uint16_t number, std::string devicePath);
  std::string DevicePath(uint16_t number) const;
  const std::map<uint16_t, std::string>& Entries() const { return entries_; }

  bool operator==(const TPortMap&) const = default;

 private:
  std::map<uint16_t, std::string> entries_;
};
