#include "remote/RoutePath.h"

#include <algorithm>

namespace {

// The next segment after a "/", or nothing when the path does not go on.
std::optional<std::string_view> NextSegment(std::string_view& path) {
  if (path.empty() || path.front() != '/') return std::nullopt;
  path.remove_prefix(1);
  const size_t end = std::min(path.find('/'), path.size());
  const std::string_view segment = path.substr(0, end);
  path.remove_prefix(end);
  return segment;
}

}  // namespace

bool MatchPath(std::string_view pattern, std::string_view path,
               std::vector<std::string_view>& captures) {
  captures.clear();
  while (!pattern.empty()) {
    const std::optional<std::string_view> wanted = NextSegment(pattern);
    const std::optional<std::string_view> given = NextSegment(path);
    if (!wanted || !given || given->empty()) return false;
    if (*wanted == "{}") {
      captures.push_back(*given);
    } else if (*wanted != *given) {
      return false;
    }
  }
  return path.empty();
}

std::optional<int> ParsePathNumber(std::string_view segment) {
  if (segment.empty()) return std::nullopt;
  int value = 0;
  for (char c : segment) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min(value * 10 + (c - '0'), kPathNumberTooLarge);
  }
  return value;
}
