// Comparing a token a client sent with the configured one, in a time that does
// not depend on where they differ, so the token cannot be guessed byte by byte
// from answer times. Stateless; any thread.
#pragma once

#include <string_view>

bool TokensMatch(std::string_view given, std::string_view expected);
