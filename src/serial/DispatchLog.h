// The dispatch log: timed entries about a dispatcher's work, kept in a queue
// bounded by the bytes its entries copy, and their text dump. Owned by a
// dispatcher and guarded by its dispatcher lock; the queue takes its own lock
// as well. Adding an entry allocates it; nothing else here runs per byte.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/IOQueue.h"

enum class TLogType : uint8_t {
  ltNoEvent,
  ltDispatch,
  ltTrigger,
  ltError,
  ltThread,
  ltTrigAllc,
  ltTrigDisp,
  ltTrgHdAlc,
  ltTrgHdDsp,
  ltTrDatChg,
  ltTelnet,
  ltFax,
  ltXModem,
  ltYModem,
  ltZModem,
  ltKermit,
  ltAscii,
  ltBPlus,
  ltPacket,
  ltUser,
  ltScript,
};

// Subtypes, by number; 0 has no name.
namespace vrl::logsubtype {
constexpr uint16_t kReadCom = 1, kWriteCom = 2, kLineStatus = 3, kModemStatus = 4, kAvail = 5,
                   kTimer = 6, kData = 7, kStatus = 8, kHandlerAvail = 16, kWindow = 17;
}  // namespace vrl::logsubtype

// One entry: its size is the number of bytes it copied.
class TLogBuffer : public TIOBuffer {
 public:
  TLogBuffer(TLogType type, uint16_t subtype, int64_t time, int32_t data, const uint8_t* bytes,
             uint32_t count)
      : TIOBuffer(static_cast<int32_t>(count)),
        Type(type),
        Subtype(subtype),
        Time(time),
        Data(data),
        Bytes(bytes, bytes + count) {}

  TLogType Type;
  uint16_t Subtype;
  int64_t Time;  // milliseconds since the port opened
  int32_t Data;
  std::vector<uint8_t> Bytes;
};

// A millisecond count that never goes back; log times are differences of it.
using TMillisecondClock = std::function<int64_t()>;
int64_t SteadyMilliseconds();

class TDispatchLog {
 public:
  static constexpr std::string_view kVersion = "v4.07";

  explicit TDispatchLog(TMillisecondClock clock = SteadyMilliseconds);

  // Entry times count from now (the port's open).
  void SetOrigin() { origin_ = clock_(); }
  // Drops every entry and records, keeping at most limit copied bytes (0: no limit).
  void Start(uint32_t limit);
  void Stop();
  void Pause() { logging_ = false; }
  void Resume() { logging_ = true; }
  void Clear() { queue_.Clear(); }
  bool Logging() const { return logging_; }

  // While logging: drops the oldest entries while the limit is below the
  // bytes queued, then queues the entry with a copy of count bytes. An entry
  // that finds no memory is dropped.
  void Add(TLogType type, uint16_t subtype, int32_t data, const void* bytes = nullptr,
           uint32_t count = 0);

  // Writes the header and every entry, oldest first, to fileName (appended to
  // an existing file when append is set), emptying the queue. No entries: 0
  // and no file. A file that cannot be opened: minus its error, entries kept.
  int32_t Dump(const std::string& fileName, bool append, bool allHex, bool hex,
               const std::string& deviceName);

 private:
  TMillisecondClock clock_;
  int64_t origin_ = 0;
  uint32_t limit_ = 0;
  bool logging_ = false;
  TIOQueue queue_;
};

namespace vrl {

// "dd/mm/yy, hh:mm:ss" in local time.
std::string LocalDateTimeText();
// The operating system's name and version, e.g. "Linux 6.1.0-18-amd64 #1 SMP ...".
std::string SystemDescription();

}  // namespace vrl
