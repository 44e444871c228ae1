// Whether a byte string is well-formed UTF-8, to tell a settings file made on
// Linux from one made in a Windows code page. Pure; any thread.
#pragma once

#include <string_view>

// Rejects overlong forms, surrogates and code points above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
