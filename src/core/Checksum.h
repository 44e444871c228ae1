// The checks a button can append to what it sends: simple sums and the CRCs of
// the public catalogue, one table of parameters driving one generic routine.
// Pure functions and constant data; any thread may call them.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/CommandList.h"

enum class TChecksumKind : uint8_t { Sum, NegatedSum, Xor, Crc };

// A CRC's parameters as the catalogue lists them; the sums use only Name, Kind
// and Width. Every CRC here reflects its input and output alike.
struct TChecksumAlgorithm {
  std::string_view Name;
  TChecksumKind Kind;
  int Width;  // bits: 8, 16 or 32
  uint32_t Polynomial;
  uint32_t Init;
  bool Reflect;
  uint32_t XorOut;
  bool LowByteFirst;  // how the check's bytes follow the frame
};

// Raised when a button names a check that is not in the table; what() is the
// text the click reports.
class EUnknownChecksum : public std::runtime_error {
 public:
  explicit EUnknownChecksum(std::string_view name);
};

std::span<const TChecksumAlgorithm> ChecksumAlgorithms();
// Matches the name without regard to letter case; nullptr for an unknown one.
const TChecksumAlgorithm* FindChecksum(std::string_view name);
// The check over the bytes, in the algorithm's width.
uint32_t ComputeChecksum(const TChecksumAlgorithm& algorithm, std::string_view bytes);

// The bytes a button sends for one of its serial data texts: the decoded text
// with the record's check appended, computed over all bytes after the first
// ChecksumFrom (none when the frame is shorter). Throws EUnknownChecksum.
std::string FinalBytes(std::string_view dataText, const TCommand& record);
