// Network outputs in section "Ports": a value that is a URL instead of a device
// path. Only three forms are accepted: socket://HOST:PORT (raw TCP),
// rfc2217://HOST:PORT (Telnet with the com port option) and udp://HOST:PORT.
// HOST is a name, an IPv4 address or an IPv6 address in brackets. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TPortScheme { Socket, Rfc2217, Udp };

struct TPortUrl {
  TPortScheme Scheme;
  std::string Host;  // without the brackets of an IPv6 address
  uint16_t Port;

  bool operator==(const TPortUrl&) const = default;
};

// Whether value is written as a URL ("scheme://..."), well-formed or not; such
// a value is never a device path.
bool LooksLikeUrl(std::string_view value);

// The URL, or nothing when value is not one of the accepted forms.
std::optional<TPortUrl> ParsePortUrl(std::string_view value);

// How a refused URL is reported: what was given and what is accepted.
std::string RefusedUrlText(std::string_view value);
