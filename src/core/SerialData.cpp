// Decoder of serial data texts and the integer rule. Works byte by byte: every
// separator and quote is ASCII, so a UTF-8 sequence is never split.
#include "core/SerialData.h"

namespace {

constexpr uint64_t kMaxHexValue = 0xFFFFFFFFu;
constexpr uint64_t kMaxDecimalMagnitude = 2147483648u;  // of -2147483648

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '.' || c == ':' || c == ';'; }

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits up to the end of the text in the given base, stopping the value at
// limit + 1 so that any number of digits stays linear and overflow-free.
std::optional<uint64_t> ParseDigits(std::string_view digits, int base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit = base == 16 ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    if (value <= limit) value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (value > limit) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
  size_t pos = text.find_first_not_of(' ');
  if (pos == std::string_view::npos) return std::nullopt;
  text.remove_prefix(pos);

  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  } else {
    auto magnitude = ParseDigits(text, 10, kMaxDecimalMagnitude);
    if (!magnitude || (!negative && *magnitude == kMaxDecimalMagnitude)) return std::nullopt;
    int64_t value = static_cast<int64_t>(*magnitude);
    return static_cast<int32_t>(negative ? -value : value);
  }

  auto bits = ParseDigits(text, 16, kMaxHexValue);
  if (!bits) return std::nullopt;
  // The 32 bits are a signed value; the sign negates it in two's complement,
  // so "-$80000000" stays -2147483648 instead of overflowing.
  uint32_t value = static_cast<uint32_t>(*bits);
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

void AppendSerialDataToken(std::string_view token, std::string& bytes) {
  if (token.size() > 2 && token.front() == '[' && token.back() == ']') {
    bytes.append(token.substr(1, token.size() - 2));
  } else if (auto number = ParseInteger(token)) {
    bytes.push_back(static_cast<char>(static_cast<uint32_t>(*number) & 0xFFu));
  } else {
    bytes.push_back(token.front());
  }
}

void ForEachSerialDataToken(std::string_view text,
                            const std::function<void(std::string_view token)>& onToken) {
  size_t pos = 0;
  const size_t end = text.size();
  while (true) {
    while (pos < end && IsLineEnd(text[pos])) ++pos;
    const size_t start = pos;
    char openQuote = 0;
    for (; pos < end; ++pos) {
      const char c = text[pos];
      if (openQuote != 0) {
        if (c == openQuote) openQuote = 0;
      } else if (IsQuote(c)) {
        openQuote = c;
      } else if (IsSeparator(c) || IsLineEnd(c)) {
        break;
      }
    }
    if (pos > start) onToken(text.substr(start, pos - start));
    if (pos >= end) break;
    ++pos;
  }
}

std::string DecodeSerialData(std::string_view text) {
  std::string bytes;
  ForEachSerialDataToken(text,
                         [&](std::string_view token) { AppendSerialDataToken(token, bytes); });
  return bytes;
}
