#include "remote/RemotePlan.h"

#include <arpa/inet.h>

#include <array>
#include <optional>

namespace {

constexpr std::string_view kLocalhost = "localhost";

std::string_view WithoutBrackets(std::string_view address) {
  if (address.size() >= 2 && address.front() == '[' && address.back() == ']') {
    return address.substr(1, address.size() - 2);
  }
  return address;
}

// The address in its own text when it is an IPv4 or IPv6 address.
std::optional<std::string> IpAddress(std::string_view text) {
  const std::string address(WithoutBrackets(text));
  if (address == kLocalhost) return "127.0.0.1";
  std::array<unsigned char, 16> bytes{};
  if (inet_pton(AF_INET, address.c_str(), bytes.data()) == 1) return address;
  if (inet_pton(AF_INET6, address.c_str(), bytes.data()) == 1) return address;
  return std::nullopt;
}

std::optional<uint16_t> PortNumber(int32_t value) {
  if (value < 0 || value > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(value);
}

std::string Endpoint(const std::string& address, uint16_t port) {
  const bool ipv6 = address.find(':') != std::string::npos;
  return (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

TRemotePlan Refused(std::string cause, std::string explanation = {}) {
  TRemotePlan plan;
  plan.RefusalMessage = "Remote control stays off: " + cause + "." + explanation;
  plan.Refusal = std::move(cause);
  return plan;
}

}  // namespace

bool IsLoopbackAddress(std::string_view text) {
  const std::string address(WithoutBrackets(text));
  if (address == kLocalhost) return true;
  std::array<unsigned char, 16> bytes{};
  if (inet_pton(AF_INET, address.c_str(), bytes.data()) == 1) return bytes[0] == 127;
  if (inet_pton(AF_INET6, address.c_str(), bytes.data()) != 1) return false;
  const auto zeros = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
      if (bytes[i] != 0) return false;
    }
    return true;
  };
  if (zeros(0, 15) && bytes[15] == 1) return true;
  // An IPv4 loopback address written as IPv6.
  return zeros(0, 10) && bytes[10] == 0xFF && bytes[11] == 0xFF && bytes[12] == 127;
}

TRemotePlan PlanRemote(const TRemoteSettings& settings) {
  if (!settings.Enabled) return {};
  const std::optional<uint16_t> http = PortNumber(settings.HttpPort);
  if (!http) {
    return Refused("\"HTTP Port\" " + std::to_string(settings.HttpPort) +
                   " is not a port number (1 to 65535, or 0 for none)");
  }
  const std::optional<uint16_t> tcp = PortNumber(settings.TcpPort);
  if (!tcp) {
    return Refused("\"TCP Port\" " + std::to_string(settings.TcpPort) +
                   " is not a port number (1 to 65535, or 0 for none)");
  }
  if (*http == 0 && *tcp == 0) return Refused("neither \"HTTP Port\" nor \"TCP Port\" is set");
  if (*http == *tcp) {
    return Refused("\"HTTP Port\" and \"TCP Port\" are both " + std::to_string(*http));
  }
  const std::optional<std::string> address = IpAddress(settings.Bind);
  if (!address) return Refused("\"Bind\" value \"" + settings.Bind + "\" is not an IP address");
  if (settings.Token.empty() && !IsLoopbackAddress(*address)) {
    return Refused("binding " + *address + " needs a token",
                   " Without a token anyone who can reach this machine could press the panel's "
                   "buttons. Set \"Token\" in section [Remote] of the settings file, or bind "
                   "127.0.0.1.");
  }
  TRemotePlan plan;
  plan.Address = *address;
  plan.HttpPort = *http;
  plan.TcpPort = *tcp;
  plan.TokenRequired = !settings.Token.empty();
  return plan;
}

std::string DescribeRemote(const TRemotePlan& plan, bool httpUp, bool lineUp) {
  const std::string title = "Remote control: ";
  if (!plan.Refusal.empty()) return title + "off (" + plan.Refusal + ")";
  if (!plan.Listens()) return title + "off";
  const auto listener = [&](uint16_t port, bool up) {
    if (port == 0) return std::string("off");
    return Endpoint(plan.Address, port) + (up ? "" : " could not be opened");
  };
  std::string text = title + "HTTP " + listener(plan.HttpPort, httpUp) + ", line protocol " +
                     listener(plan.TcpPort, lineUp);
  if (plan.TokenRequired) text += ", token required";
  return text;
}
