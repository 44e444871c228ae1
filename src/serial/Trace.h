// The trace: a preallocated ring of (kind, byte) pairs and its text dump.
// Owned by a dispatcher, which guards it with its dispatcher lock; the class
// itself takes no lock. Recording never allocates.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vrl {

// One byte as the trace and log dumps write it: the character itself, or
// "[" + its value + "]" in hex ("[0D]") or decimal ("[13]"). The item's width
// is its length.
class TDumpItem {
 public:
  TDumpItem(uint8_t byte, bool allHex, bool hex);
  std::string_view Text() const { return {text_, length_}; }
  uint32_t Width() const { return length_; }

 private:
  char text_[6];
  uint32_t length_ = 0;
};

}  // namespace vrl

class TTrace {
 public:
  static constexpr uint32_t kMaxSize = 4000000;
  static constexpr uint8_t kTransmit = 'T';
  static constexpr uint8_t kReceive = 'R';

  // Empties an existing buffer (keeping its size) or allocates one of size
  // entries; then records. -1002 above kMaxSize, -8 without memory.
  int32_t Start(uint32_t size);
  // Stops recording and frees the buffer.
  void Stop();
  void Pause() { tracing_ = false; }
  void Resume() { tracing_ = pairs_ != nullptr; }
  void Clear();

  // Records count bytes of one kind while tracing; the oldest pairs are
  // overwritten once the ring is full.
  void Record(uint8_t kind, const uint8_t* bytes, uint32_t count);

  bool Tracing() const { return tracing_; }
  bool HasBuffer() const { return pairs_ != nullptr; }
  uint32_t Size() const { return size_; }
  // Pairs held, at most Size().
  uint32_t Count() const { return wrapped_ ? size_ : position_; }

  // Writes the pairs, oldest first, to fileName (appended to an existing file
  // when append is set) and starts again empty. Nothing recorded: 0 and no
  // file. A file that cannot be opened: minus its error, and the trace stops.
  int32_t Dump(const std::string& fileName, bool append, bool allHex, bool hex);

 private:
  std::unique_ptr<uint8_t[]> pairs_;  // 2 x size_ bytes: kind, byte
  uint32_t size_ = 0;
  uint32_t position_ = 0;
  bool wrapped_ = false;
  bool tracing_ = false;
};
