// The reply a button expects back: a serial data text in which the token "??"
// stands for any one byte. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TReplyPattern {
  static constexpr int16_t kAnyByte = -1;
  // Byte values 0..255, or kAnyByte.
  std::vector<int16_t> Bytes;

  bool Empty() const { return Bytes.empty(); }
};

// The pattern of a "Reply" text; checksums never apply to it.
TReplyPattern ParseReplyPattern(std::string_view replyText);

// The pattern as upper-case hexadecimal pairs and "??" separated by blanks
// ("4F 4B ?? 0D"); "none expected" for an empty one.
std::string ReplyPatternInHex(const TReplyPattern& pattern);

// Where the pattern first appears in received, or npos. An empty pattern
// appears nowhere: a button without an expected reply checks nothing.
size_t FindReply(const TReplyPattern& pattern, std::string_view received);
