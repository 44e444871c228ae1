// Which port map values are network outputs, and which URLs are accepted.
#include <gtest/gtest.h>

#include "serial/net/PortUrl.h"

namespace {

struct TUrlCase {
  const char* Value;
  bool LooksLikeUrl;
  std::optional<TPortUrl> Parsed;
};

const TUrlCase kUrlCases[] = {
    {"socket://192.168.1.20:4001", true, TPortUrl{TPortScheme::Socket, "192.168.1.20", 4001}},
    {"rfc2217://moxa.local:950", true, TPortUrl{TPortScheme::Rfc2217, "moxa.local", 950}},
    {"udp://projector-3:65535", true, TPortUrl{TPortScheme::Udp, "projector-3", 65535}},
    {"socket://[::1]:23", true, TPortUrl{TPortScheme::Socket, "::1", 23}},
    {"rfc2217://[fe80::1:2]:2217", true, TPortUrl{TPortScheme::Rfc2217, "fe80::1:2", 2217}},
    {"/dev/ttyUSB0", false, std::nullopt},
    {"/dev/serial/by-id/usb-x:y://z", false, std::nullopt},
    {"ttyUSB0", false, std::nullopt},
    {"", false, std::nullopt},
    {"telnet://host:23", true, std::nullopt},
    {"SOCKET://host:23", true, std::nullopt},
    {"socket://host", true, std::nullopt},
    {"socket://host:", true, std::nullopt},
    {"socket://:23", true, std::nullopt},
    {"socket://host:0", true, std::nullopt},
    {"socket://host:65536", true, std::nullopt},
    {"socket://host:+23", true, std::nullopt},
    {"socket://host:23/path", true, std::nullopt},
    {"socket://host:23?logging=debug", true, std::nullopt},
    {"socket://ho st:23", true, std::nullopt},
    {"socket://host..x:23", true, std::nullopt},
    {"socket://::1:23", true, std::nullopt},
    {"socket://[::1:23", true, std::nullopt},
    {"socket://[host]:23", true, std::nullopt},
    {"udp://user@host:23", true, std::nullopt},
};

TEST(PortUrlTest, OnlyTheThreeFormsAreAccepted) {
  for (const TUrlCase& entry : kUrlCases) {
    SCOPED_TRACE(entry.Value);
    EXPECT_EQ(LooksLikeUrl(entry.Value), entry.LooksLikeUrl);
    EXPECT_EQ(ParsePortUrl(entry.Value), entry.Parsed);
  }
}

TEST(PortUrlTest, ARefusalNamesTheValueAndTheAcceptedForms) {
  const std::string text = RefusedUrlText("telnet://host:23");
  EXPECT_EQ(text.rfind("Not a serial device", 0), 0u);
  for (const char* part :
       {"telnet://host:23", "socket://HOST:PORT", "rfc2217://HOST:PORT", "udp://HOST:PORT"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
}

}  // namespace
