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

TRequestLineCheck CheckRequestLine(std::string_view start) {
  constexpr std::string_view kVersion = " HTTP/1.";
  const size_t end = start.find("\r\n");
  const std::string_view line = start.substr(0, end);
  size_t method = 0;
  while (method < line.size() && line[method] >= 'A' && line[method] <= 'Z') ++method;
  const bool complete = end != std::string_view::npos;
  if (method == line.size() && !complete) return TRequestLineCheck::Incomplete;
  if (method == 0 || line[method] != ' ') return TRequestLineCheck::Malformed;
  const std::string_view rest = line.substr(method + 1);
  if (rest.empty()) return complete ? TRequestLineCheck::Malformed : TRequestLineCheck::Incomplete;
  if (rest.front() != '/') return TRequestLineCheck::Malformed;
  if (!complete) return TRequestLineCheck::Incomplete;
  const size_t version = rest.rfind(kVersion);
  if (version == std::string_view::npos || rest.size() != version + kVersion.size() + 1) {
    return TRequestLineCheck::Malformed;
  }
  const char minor = rest.back();
  return minor == '0' || minor == '1' ? TRequestLineCheck::Valid : TRequestLineCheck::Malformed;
}
