// Matching a request path against a route's pattern, reading a number from a
// path, and telling a request line from garbage, as pure functions. A pattern is a path whose "{}"
// segments match any one segment: "/api/buttons/{}/press". Stateless; any thread.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

// Numbers too large for any grid read as this.
constexpr int kPathNumberTooLarge = 1'000'000;

// True when the path has the pattern's segments; captures then holds the
// segments that stood for "{}", in order. Empty segments never match.
bool MatchPath(std::string_view pattern, std::string_view path,
               std::vector<std::string_view>& captures);

// A segment of decimal digits only gives its value (saturated); anything else
// ("-1", "1e9", "3a", "") is malformed and gives nothing.
std::optional<int> ParsePathNumber(std::string_view segment);

enum class TRequestLineCheck { Incomplete, Valid, Malformed };

// The start of what a connection sent: its first line must read "METHOD /path
// HTTP/1.x" (any method in capitals, any path starting with "/"). Incomplete
// while no line end has come and what came could still be one.
TRequestLineCheck CheckRequestLine(std::string_view start);
