// The name of the ELF section that carries the program's version block, shared
// by the generated source that fills it and the reader that looks for it.
#pragma once

#include <string_view>

// A macro because the section attribute takes only a string literal.
#define TOVRANA_VERSION_SECTION ".tovrana_version"

inline constexpr std::string_view kVersionSectionName = TOVRANA_VERSION_SECTION;
