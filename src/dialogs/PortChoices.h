// What the configuration dialog offers for an output's line settings: the baud
// rates, the parity names in the order the list shows them, and the port
// numbers that are present. Qt-free; user-interface thread only (the presence
// probe opens and closes devices on the calling thread).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "serial/ComPortTypes.h"
#include "serial/PortMap.h"

inline constexpr std::array<int32_t, 11> kBaudRates{150,  300,   600,   1200,  2400,  4800,
                                                    9600, 19200, 38400, 57600, 115200};

// The listed rates in their order, with a stored rate that is not among them
// (14400, 28800 or any other) at its place by size, so that the list shows
// what is stored and Apply keeps it.
std::vector<int32_t> BaudRateChoices(int32_t stored);

struct TParityEntry {
  std::string_view Name;
  TParity Parity;
};

// Alphabetical, so list position and parity value differ: map by name.
inline constexpr std::array<TParityEntry, 5> kParityEntries{{
    {"Even", TParity::pEven},
    {"Mark", TParity::pMark},
    {"None", TParity::pNone},
    {"Odd", TParity::pOdd},
    {"Space", TParity::pSpace},
}};

// The list position of parity, or nothing for a value that no entry names.
std::optional<int> ParityPosition(TParity parity);

// The numbers 1 to 20 that the presence probe reports, in increasing order.
inline constexpr uint16_t kHighestListedPort = 20;
std::vector<uint16_t> PresentPortNumbers(const TPortMap& portMap);

// A text that is no whole number, raised where a field's text is converted.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The integer rule of the serial data text; EConvertError names the text
// that it rejects, the empty one included.
int32_t StrToInt(std::string_view text);
