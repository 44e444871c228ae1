#include "serial/PortMap.h"

#include <utility>

std::string TPortMap::DefaultDevicePath(uint16_t number) {
  if (number >= 1 && number <= 4) return "/dev/ttyS" + std::to_string(number - 1);
  if (number >= 5 && number <= 12) return "/dev/ttyUSB" + std::to_string(number - 5);
  if (number >= 13 && number <= 20) return "/dev/ttyACM" + std::to_string(number - 13);
  return {};
}

void TPortMap::Assign(uint16_t number, std::string devicePath) {
  entries_[number] = std::move(devicePath);
}

std::string TPortMap::DevicePath(uint16_t number) const {
  auto entry = entries_.find(number);
  return entry != entries_.end() ? entry->second : DefaultDevicePath(number);
}
