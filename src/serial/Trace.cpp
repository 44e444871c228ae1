// The trace ring and its dump; see Trace.h for who guards it.
#include "serial/Trace.h"

#include <new>

#include "serial/DumpFile.h"
#include "serial/ResultCodes.h"

namespace {

// The dump starts a new line once an item would end past this column.
constexpr uint32_t kLastColumn = 78;

std::string KindHeader(uint8_t kind) {
  if (kind == TTrace::kTransmit) return "Transmit: ";
  if (kind == TTrace::kReceive) return "Receive: ";
  return std::string("Special-") + static_cast<char>(kind) + ": ";
}

}  // namespace

namespace vrl {

TDumpItem::TDumpItem(uint8_t byte, bool allHex, bool hex) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const uint8_t firstPlain = hex ? 0x21 : 0x20;
  if (!allHex && byte >= firstPlain && byte <= 0x7E) {
    text_[length_++] = static_cast<char>(byte);
    return;
  }
  text_[length_++] = '[';
  if (allHex || hex) {
    text_[length_++] = kHexDigits[byte >> 4];
    text_[length_++] = kHexDigits[byte & 0x0F];
  } else {
    if (byte >= 100) text_[length_++] = static_cast<char>('0' + byte / 100);
    if (byte >= 10) text_[length_++] = static_cast<char>('0' + byte / 10 % 10);
    text_[length_++] = static_cast<char>('0' + byte % 10);
  }
  text_[length_++] = ']';
}

}  // namespace vrl

int32_t TTrace::Start(uint32_t size) {
  if (pairs_) {
    Clear();
  } else {
    if (size > kMaxSize) return vrl::kErrBadArgument;
    pairs_.reset(new (std::nothrow) uint8_t[2 * size_t{size}]());
    if (!pairs_) return vrl::kErrOutOfMemory;
    size_ = size;
    Clear();
  }
  tracing_ = true;
  return 0;
}

void TTrace::Stop() {
  tracing_ = false;
  pairs_.reset();
  size_ = 0;
  Clear();
}

void TTrace::Clear() {
  position_ = 0;
  wrapped_ = false;
}

void TTrace::Record(uint8_t kind, const uint8_t* bytes, uint32_t count) {
  if (!tracing_ || size_ == 0) return;
  for (uint32_t i = 0; i < count; ++i) {
    pairs_[2 * size_t{position_}] = kind;
    pairs_[2 * size_t{position_} + 1] = bytes[i];
    if (++position_ == size_) {
      position_ = 0;
      wrapped_ = true;
    }
  }
}

int32_t TTrace::Dump(const std::string& fileName, bool append, bool allHex, bool hex) {
  if (!pairs_ || Count() == 0) return 0;
  TDumpFile file;
  const int32_t opened = file.Open(fileName, append);
  if (opened != 0) {
    Stop();
    return opened;
  }
  const uint32_t count = Count();
  const uint32_t oldest = wrapped_ ? position_ : 0;
  uint32_t column = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = 2 * size_t{(oldest + i) % size_};
    const uint8_t kind = pairs_[at];
    if (i == 0 || kind != pairs_[2 * size_t{(oldest + i - 1) % size_}]) {
      if (i != 0) {
        // Ends the current line and leaves an empty one before the next header.
        file.EndLine();
        file.EndLine();
        column = 0;
      }
      file.Write(KindHeader(kind));
      file.EndLine();
    }
    const vrl::TDumpItem item(pairs_[at + 1], allHex, hex);
    column += item.Width();
    if (column > kLastColumn) {
      file.EndLine();
      column = item.Width();
    }
    file.Write(item.Text());
  }
  const int32_t result = file.Close();
  Clear();
  tracing_ = true;
  return result;
}
