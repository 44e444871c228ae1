// The dispatch log's queue rules and its dump format; see DispatchLog.h for
// who guards it.
#include "serial/DispatchLog.h"

#include <array>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <new>
#include <utility>

#include "serial/DumpFile.h"
#include "serial/Trace.h"

namespace {

#if defined(__clang__)
constexpr std::string_view kToolchain = "Clang " __clang_version__;
#elif defined(__GNUC__)
constexpr std::string_view kToolchain = "GCC " __VERSION__;
#elif defined(_MSC_VER)
constexpr std::string_view kToolchain = "Microsoft C++";
#else
constexpr std::string_view kToolchain = "C++";
#endif

constexpr std::array<std::string_view, 21> kTypeNames = {
    "No event", "Dispatch", "Trigger",  "Error",  "Thread", "TrigAllc", "TrigDisp",
    "TrgHdAlc", "TrgHdDsp", "TrDatChg", "Telnet", "Fax",    "XModem",   "YModem",
    "ZModem",   "Kermit",   "Ascii",    "BPlus",  "Packet", "User",     "Script"};

constexpr std::array<std::string_view, 6> kTriggerStatusNames = {
    "(Not active)",         "(Modem status)",       "(Line status)",
    "(Output buffer free)", "(Output buffer used)", "(Output sent)"};

constexpr std::array<std::string_view, 8> kModemStatusBits = {"DCTS", "DDSR", "TERI", "DDCD",
                                                              "CTS",  "DSR",  "RI",   "DCD"};

// Width of an entry's prefix; its bytes wrap before this column plus 35.
constexpr uint32_t kPrefixWidth = 44;
constexpr uint32_t kWrapColumn = 79;
constexpr size_t kMaxLabelValue = 80;

std::string_view TypeName(TLogType type) {
  const auto index = static_cast<size_t>(type);
  return index < kTypeNames.size() ? kTypeNames[index] : std::string_view();
}

std::string_view SubtypeName(uint16_t subtype) {
  using namespace vrl::logsubtype;
  switch (subtype) {
    case kReadCom:
      return "ReadCom";
    case kWriteCom:
      return "WriteCom";
    case kLineStatus:
      return "Line status";
    case kModemStatus:
      return "Modem status";
    case kAvail:
    case kHandlerAvail:
      return "Avail";
    case kTimer:
      return "Timer";
    case kData:
      return "Data";
    case kStatus:
      return "Status";
    case kWindow:
      return "Window";
    default:
      return {};
  }
}

// Milliseconds as seconds with three decimals, at least four digits before
// the point: 12345 gives "0012.345".
std::string TimeText(int64_t milliseconds) {
  const int64_t time = milliseconds > 0 ? milliseconds : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%04" PRId64 ".%03" PRId64, time / 1000, time % 1000);
  return text;
}

void WriteLabel(TDumpFile& file, std::string_view label, std::string_view value) {
  file.Write(label);
  file.Write(value.substr(0, kMaxLabelValue));
  file.EndLine();
}

void WriteEntry(TDumpFile& file, const TLogBuffer& entry, bool allHex, bool hex) {
  char prefix[128];
  const std::string time = TimeText(entry.Time);
  const std::string type(TypeName(entry.Type));
  const std::string subtype(SubtypeName(entry.Subtype));
  std::snprintf(prefix, sizeof prefix, "%8s  %-8s  %-12s  %8.8x  ", time.c_str(), type.c_str(),
                subtype.c_str(), static_cast<unsigned>(entry.Data));
  file.Write(prefix);
  const bool triggerEntry =
      entry.Type == TLogType::ltTrigAllc || entry.Type == TLogType::ltTrigDisp;
  if (!entry.Bytes.empty() && triggerEntry && entry.Subtype == vrl::logsubtype::kStatus &&
      entry.Bytes[0] < kTriggerStatusNames.size()) {
    file.Write(kTriggerStatusNames[entry.Bytes[0]]);
  } else if (!entry.Bytes.empty()) {
    // A user's own entries are text and stay readable in all-hex mode.
    const bool entryAllHex = allHex && entry.Type != TLogType::ltUser;
    uint32_t column = kPrefixWidth + 1;
    for (const uint8_t byte : entry.Bytes) {
      const vrl::TDumpItem item(byte, entryAllHex, hex);
      column += item.Width();
      if (column >= kWrapColumn) {
        file.EndLine();
        file.Write(std::string(kPrefixWidth, ' '));
        column = item.Width() + kPrefixWidth + 1;
      }
      file.Write(item.Text());
    }
    if (entry.Subtype == vrl::logsubtype::kModemStatus) {
      std::string names;
      for (size_t bit = 0; bit < kModemStatusBits.size(); ++bit) {
        if ((entry.Data & (1 << bit)) == 0) continue;
        if (!names.empty()) names += ' ';
        names += kModemStatusBits[bit];
      }
      file.Write("(" + names + ")");
    }
  } else if (entry.Type == TLogType::ltTelnet) {
    file.Write("[Option " + std::to_string(entry.Data) + "]");
  }
  file.EndLine();
}

}  // namespace

int64_t SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TDispatchLog::TDispatchLog(TMillisecondClock clock) : clock_(std::move(clock)), origin_(clock_()) {}

void TDispatchLog::Start(uint32_t limit) {
  queue_.Clear();
  limit_ = limit;
  logging_ = true;
}

void TDispatchLog::Stop() {
  logging_ = false;
  queue_.Clear();
}

void TDispatchLog::Add(TLogType type, uint16_t subtype, int32_t data, const void* bytes,
                       uint32_t count) {
  if (!logging_) return;
  if (limit_ != 0) queue_.DropOldest(limit_);
  // A diagnostic entry that finds no memory is dropped rather than ending the
  // work of the thread that made it.
  try {
    queue_.Push(std::make_unique<TLogBuffer>(type, subtype, clock_() - origin_, data,
                                             static_cast<const uint8_t*>(bytes), count));
  } catch (const std::bad_alloc&) {
  }
}

int32_t TDispatchLog::Dump(const std::string& fileName, bool append, bool allHex, bool hex,
                           const std::string& deviceName) {
  TIOBuffer* first = queue_.Peek();
  if (first == nullptr) return 0;
  queue_.Release(first);
  TDumpFile file;
  const int32_t opened = file.Open(fileName, append);
  if (opened != 0) return opened;
  file.Write("VREL ");
  file.Write(kVersion);
  file.EndLine();
  WriteLabel(file, "Compiler : ", kToolchain);
  WriteLabel(file, "Operating System : ", vrl::SystemDescription());
  WriteLabel(file, "Device: ", deviceName);
  WriteLabel(file, "Date/time: ", vrl::LocalDateTimeText());
  file.Write("Time      Type      SubType       Data      OtherData");
  file.EndLine();
  file.Write("--------  --------  ------------  --------  ---------");
  file.EndLine();
  while (std::unique_ptr<TIOBuffer> entry = queue_.Pop()) {
    WriteEntry(file, static_cast<const TLogBuffer&>(*entry), allHex, hex);
  }
  return file.Close();
}
