// Reads the contents of one named section of an ELF file, from the file alone:
// every offset and size in it is checked against the file before use, so a
// truncated or malformed file yields nothing. No shared state; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The section's bytes; empty when the file cannot be read, is not a well-formed
// ELF file, has no such section, or the section holds more than maxSize bytes.
std::vector<uint8_t> ReadElfSection(const std::string& path, std::string_view name,
                                    std::size_t maxSize);
