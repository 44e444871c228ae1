// The marker lines are INI comments, so even a program that knows nothing of
// them reads the old content (followed by comments and a copy of the new one
// whose keys win) rather than a broken file. The copy is placed at or beyond
// the end of both contents, so copying it to the front never overwrites it.
#include "core/InPlaceRewrite.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <system_error>

#include "core/AtomicFile.h"

namespace {

constexpr std::string_view kBeginMark =
    "\r\n; Interrupted save: the lines below replace this file once complete.\r\n";
constexpr std::string_view kEndMark = "; End of the saved copy, bytes: ";

[[noreturn]] void ThrowErrno() { throw EFileAccess(std::generic_category().message(errno)); }

void WriteAllAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowErrno();
    }
    bytes.remove_prefix(static_cast<size_t>(written));
    offset += written;
  }
}

void Sync(int fd) {
  if (::fdatasync(fd) != 0) ThrowErrno();
}

void Apply(int fd, const TRewriteStep& step) {
  if (step.Truncate) {
    if (::ftruncate(fd, step.Size) != 0) ThrowErrno();
  } else {
    WriteAllAt(fd, step.Bytes, step.Offset);
  }
  Sync(fd);
}

}  // namespace

std::vector<TRewriteStep> InPlaceRewriteSteps(off_t oldSize, std::string_view bytes) {
  const off_t size = static_cast<off_t>(bytes.size());
  const off_t copyMark = std::max(oldSize, size);
  // Blanks close the old content's last line harmlessly: lines are trimmed.
  std::string copy(static_cast<size_t>(copyMark - oldSize), ' ');
  copy.append(kBeginMark).append(bytes);
  const off_t end = copyMark + static_cast<off_t>(kBeginMark.size()) + size;
  std::string endLine(kEndMark);
  endLine.append(std::to_string(bytes.size())).append("\r\n");
  return {
      {oldSize, std::move(copy), false, 0},
      // Only once the copy is on the disk does the end line say it is complete.
      {end, std::move(endLine), false, 0},
      {0, std::string(bytes), false, 0},
      {0, {}, true, size},
  };
}

void RewriteInPlace(int fd, off_t oldSize, std::string_view bytes) {
  const std::vector<TRewriteStep> steps = InPlaceRewriteSteps(oldSize, bytes);
  for (size_t index = 0; index < steps.size(); ++index) {
    try {
      Apply(fd, steps[index]);
    } catch (const EFileAccess&) {
      // Until the end line is written the old content is what counts.
      if (index < 2 && ::ftruncate(fd, oldSize) == 0) ::fdatasync(fd);
      throw;
    }
  }
}

std::string RecoverInterruptedRewrite(std::string bytes) {
  if (bytes.size() >= 2 && bytes.ends_with("\r\n")) {
    const size_t previous = bytes.size() >= 3 ? bytes.rfind("\r\n", bytes.size() - 3) : bytes.npos;
    const size_t lineStart = previous == bytes.npos ? 0 : previous + 2;
    const std::string_view line =
        std::string_view(bytes).substr(lineStart, bytes.size() - 2 - lineStart);
    size_t size = 0;
    if (line.starts_with(kEndMark)) {
      const std::string_view digits = line.substr(kEndMark.size());
      const auto [end, failure] =
          std::from_chars(digits.data(), digits.data() + digits.size(), size);
      const bool whole = failure == std::errc() && end == digits.data() + digits.size();
      if (whole && size <= lineStart && lineStart - size >= kBeginMark.size() &&
          std::string_view(bytes).substr(lineStart - size - kBeginMark.size(), kBeginMark.size()) ==
              kBeginMark) {
        return bytes.substr(lineStart - size, size);
      }
    }
  }
  const size_t mark = bytes.rfind(kBeginMark);
  if (mark != std::string::npos) bytes.resize(mark);
  return bytes;
}
