#include "core/Checksum.h"

#include <algorithm>

#include "core/IniFile.h"
#include "core/SerialData.h"

namespace {

constexpr TChecksumAlgorithm kAlgorithms[] = {
    {"SUM8", TChecksumKind::Sum, 8, 0, 0, false, 0, false},
    {"NEG8", TChecksumKind::NegatedSum, 8, 0, 0, false, 0, false},
    {"XOR8", TChecksumKind::Xor, 8, 0, 0, false, 0, false},
    {"CRC-8/SMBUS", TChecksumKind::Crc, 8, 0x07, 0x00, false, 0x00, false},
    // Modbus RTU sends its CRC low byte first.
    {"CRC-16/MODBUS", TChecksumKind::Crc, 16, 0x8005, 0xFFFF, true, 0x0000, true},
    {"CRC-16/XMODEM", TChecksumKind::Crc, 16, 0x1021, 0x0000, false, 0x0000, false},
    {"CRC-16/IBM-3740", TChecksumKind::Crc, 16, 0x1021, 0xFFFF, false, 0x0000, false},
    {"CRC-16/KERMIT", TChecksumKind::Crc, 16, 0x1021, 0x0000, true, 0x0000, false},
    {"CRC-32/ISO-HDLC", TChecksumKind::Crc, 32, 0x04C11DB7, 0xFFFFFFFF, true, 0xFFFFFFFF, false},
};

uint32_t Mask(int width) { return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u; }

uint32_t Reflected(uint32_t value, int width) {
  uint32_t result = 0;
  for (int bit = 0; bit < width; ++bit) {
    if ((value >> bit) & 1u) result |= 1u << (width - 1 - bit);
  }
  return result;
}

// Bit by bit, most significant bit first; a reflected algorithm feeds each byte
// mirrored and mirrors the result, which is what its shift-right form computes.
uint32_t Crc(const TChecksumAlgorithm& a, std::string_view bytes) {
  const uint32_t top = 1u << (a.Width - 1);
  uint32_t crc = a.Init;
  for (const char character : bytes) {
    uint32_t byte = static_cast<uint8_t>(character);
    if (a.Reflect) byte = Reflected(byte, 8);
    crc ^= byte << (a.Width - 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & top) != 0 ? (crc << 1) ^ a.Polynomial : crc << 1;
    }
    crc &= Mask(a.Width);
  }
  if (a.Reflect) crc = Reflected(crc, a.Width);
  return (crc ^ a.XorOut) & Mask(a.Width);
}

std::string CheckBytes(const TChecksumAlgorithm& a, uint32_t value, TChecksumForm form) {
  std::string bytes;
  const int count = a.Width / 8;
  for (int i = 0; i < count; ++i) {
    const int shift = a.LowByteFirst ? 8 * i : 8 * (count - 1 - i);
    bytes.push_back(static_cast<char>((value >> shift) & 0xFFu));
  }
  if (form == TChecksumForm::Binary) return bytes;
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string hex;
  for (const char byte : bytes) {
    hex.push_back(kDigits[static_cast<uint8_t>(byte) >> 4]);
    hex.push_back(kDigits[static_cast<uint8_t>(byte) & 0x0F]);
  }
  return hex;
}

}  // namespace

EUnknownChecksum::EUnknownChecksum(std::string_view name)
    : std::runtime_error("Unknown checksum \"" + std::string(name) + "\"") {}

std::span<const TChecksumAlgorithm> ChecksumAlgorithms() { return kAlgorithms; }

const TChecksumAlgorithm* FindChecksum(std::string_view name) {
  const auto found =
      std::find_if(std::begin(kAlgorithms), std::end(kAlgorithms),
                   [name](const auto& a) { return EqualsIgnoringCase(a.Name, name); });
  return found == std::end(kAlgorithms) ? nullptr : &*found;
}

uint32_t ComputeChecksum(const TChecksumAlgorithm& algorithm, std::string_view bytes) {
  uint32_t sum = 0;
  uint32_t parity = 0;
  for (const char byte : bytes) {
    sum += static_cast<uint8_t>(byte);
    parity ^= static_cast<uint8_t>(byte);
  }
  switch (algorithm.Kind) {
    case TChecksumKind::Sum:
      return sum & 0xFFu;
    case TChecksumKind::NegatedSum:
      return (0u - sum) & 0xFFu;
    case TChecksumKind::Xor:
      return parity;
    case TChecksumKind::Crc:
      break;
  }
  return Crc(algorithm, bytes);
}

std::string FinalBytes(std::string_view dataText, const TCommand& record) {
  std::string bytes = DecodeSerialData(dataText);
  if (record.Checksum.empty()) return bytes;
  const TChecksumAlgorithm* algorithm = FindChecksum(record.Checksum);
  if (algorithm == nullptr) throw EUnknownChecksum(record.Checksum);
  const size_t from = std::min(static_cast<size_t>(std::max(record.ChecksumFrom, 0)), bytes.size());
  const uint32_t value = ComputeChecksum(*algorithm, std::string_view(bytes).substr(from));
  bytes += CheckBytes(*algorithm, value, record.ChecksumForm);
  return bytes;
}
