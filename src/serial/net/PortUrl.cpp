// Parsing of the network port URLs. Pure functions; any thread.
#include "serial/net/PortUrl.h"

#include <array>
#include <charconv>

namespace {

struct TSchemeName {
  std::string_view Name;
  TPortScheme Scheme;
};

constexpr std::array kSchemes{TSchemeName{"socket", TPortScheme::Socket},
                              TSchemeName{"rfc2217", TPortScheme::Rfc2217},
                              TSchemeName{"udp", TPortScheme::Udp}};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A host name or an IPv4 address: labels of letters, digits, '-' and '_'
// separated by single dots.
bool IsHostName(std::string_view host) {
  if (host.empty() || host.size() > 253 || host.front() == '.' || host.back() == '.') {
    return false;
  }
  char previous = '.';
  for (const char c : host) {
    if (c == '.' && previous == '.') return false;
    if (!IsLetter(c) && !IsDigit(c) && c != '-' && c != '_' && c != '.') return false;
    previous = c;
  }
  return true;
}

// The inside of the brackets: hexadecimal groups, colons, and dots for an
// embedded IPv4 tail; the resolver checks the rest.
bool IsIpv6Text(std::string_view host) {
  if (host.size() < 2 || host.find(':') == std::string_view::npos) return false;
  for (const char c : host) {
    if (!IsHexDigit(c) && c != ':' && c != '.') return false;
  }
  return true;
}

}  // namespace

bool LooksLikeUrl(std::string_view value) {
  const size_t separator = value.find("://");
  if (separator == std::string_view::npos || separator == 0 || !IsLetter(value.front())) {
    return false;
  }
  for (const char c : value.substr(0, separator)) {
    if (!IsLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

std::optional<TPortUrl> ParsePortUrl(std::string_view value) {
  const size_t separator = value.find("://");
  if (separator == std::string_view::npos) return std::nullopt;
  const std::string_view schemeName = value.substr(0, separator);
  std::optional<TPortScheme> scheme;
  for (const TSchemeName& entry : kSchemes) {
    if (entry.Name == schemeName) scheme = entry.Scheme;
  }
  if (!scheme) return std::nullopt;
  std::string_view rest = value.substr(separator + 3);
  const size_t colon = rest.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view host = rest.substr(0, colon);
  const std::string_view portText = rest.substr(colon + 1);
  if (!host.empty() && host.front() == '[') {
    if (host.size() < 2 || host.back() != ']') return std::nullopt;
    host = host.substr(1, host.size() - 2);
    if (!IsIpv6Text(host)) return std::nullopt;
  } else if (!IsHostName(host)) {
    return std::nullopt;
  }
  if (portText.empty() || portText.size() > 5 || !IsDigit(portText.front())) return std::nullopt;
  uint32_t port = 0;
  const auto [end, error] =
      std::from_chars(portText.data(), portText.data() + portText.size(), port);
  if (error != std::errc() || end != portText.data() + portText.size() || port == 0 ||
      port > 65535) {
    return std::nullopt;
  }
  return TPortUrl{*scheme, std::string(host), static_cast<uint16_t>(port)};
}

std::string RefusedUrlText(std::string_view value) {
  return "Not a serial device: \"" + std::string(value) +
         "\" is neither a device path nor a network port (socket://HOST:PORT, "
         "rfc2217://HOST:PORT or udp://HOST:PORT)";
}
