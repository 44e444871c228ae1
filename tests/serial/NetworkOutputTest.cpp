// Network outputs through the port component, against real peers: ser2net
// serving a pty over raw TCP and over RFC 2217, a UDP listener, a closed port
// and a peer that never answers the Telnet negotiation.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>

#include <atomic>
#include <future>

#include "Pty.h"
#include "Ser2net.h"
#include "TestOwner.h"
#include "serial/ComPort.h"
#include "serial/ComPortPresent.h"
#include "serial/MessageQueue.h"
#include "serial/SerialErrors.h"
#include "serial/net/Rfc2217Dispatcher.h"
#include "serial/net/UdpDispatcher.h"

namespace {

constexpr uint16_t kNetworkNumber = 5;

// Every byte value a button can send, 255 and CR NUL included.
std::string AllByteValues() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes + std::string("\r\0\r\n\xFF\xFF", 6);
}

// A socket on 127.0.0.1 and a free port: a UDP listener, or a TCP one that
// takes connections into its backlog and reads nothing.
class TLocalSocket {
 public:
  explicit TLocalSocket(int socketType) : fd_(::socket(AF_INET, socketType | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd_.Get(), reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    if (socketType == SOCK_STREAM) ::listen(fd_.Get(), 4);
  }
  int Fd() const { return fd_.Get(); }
  uint16_t Port() const { return port_; }

  // The next datagram, waiting up to 10 s; empty on time-out.
  std::string ReceiveDatagram(sockaddr_in* from = nullptr) {
    pollfd entry{fd_.Get(), POLLIN, 0};
    if (::poll(&entry, 1, 10000) != 1) return {};
    std::string datagram(70000, '\0');
    socklen_t length = sizeof(sockaddr_in);
    const ssize_t n = ::recvfrom(fd_.Get(), datagram.data(), datagram.size(), 0,
                                 reinterpret_cast<sockaddr*>(from), from ? &length : nullptr);
    datagram.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return datagram;
  }

 private:
  TUniqueFd fd_;
  uint16_t port_ = 0;
};

std::string Url(const char* scheme, uint16_t port) {
  return std::string(scheme) + "://127.0.0.1:" + std::to_string(port);
}

class NetworkOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Valid());
    port_.SetMainThreadQueue(&queue_);
    port_.SetExceptionDisplay([this](const std::exception&) { ++failuresShown_; });
    port_.SetPromptForPort(false);
    port_.SetComNumber(kNetworkNumber);
  }

  void MapTo(const std::string& url) {
    TPortMap map;
    map.Assign(kNetworkNumber, url);
    port_.SetPortMap(map);
  }

  // The failure text of an action that must fail.
  static std::string FailureOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const std::exception& failure) {
      return failure.what();
    }
    return "no failure";
  }

  speed_t PtySpeed() {
    termios settings{};
    ::tcgetattr(pty_.Master(), &settings);
    return ::cfgetospeed(&settings);
  }

  TPty pty_;
  TMessageQueue queue_;
  std::atomic<int> failuresShown_{0};
  TVrlComPort port_;
};

TEST_F(NetworkOutputTest, ClicksArriveAtTheServersDeviceByteForByte) {
  for (const auto& [accepter, scheme] : {std::pair{TSer2net::TAccepter::RawTcp, "socket"},
                                         std::pair{TSer2net::TAccepter::Rfc2217, "rfc2217"}}) {
    SCOPED_TRACE(scheme);
    TSer2net server(accepter, pty_.SlavePath());
    ASSERT_TRUE(server.Start());
    MapTo(Url(scheme, server.Port()));
    const std::string bytes = AllByteValues();
    port_.SendString(bytes);
    port_.SendString("[Hello]\r\n");
    EXPECT_EQ(pty_.Read(bytes.size() + 9), bytes + "[Hello]\r\n");
    port_.SetOpen(false);
  }
}

TEST_F(NetworkOutputTest, Rfc2217LineChangesReachThePtysTermios) {
  TSer2net server(TSer2net::TAccepter::Rfc2217, pty_.SlavePath());
  ASSERT_TRUE(server.Start());
  MapTo(Url("rfc2217", server.Port()));
  port_.SetBaud(19200);
  port_.SetOpen(true);
  port_.SendString("a");
  ASSERT_EQ(pty_.Read(1), "a");
  EXPECT_EQ(PtySpeed(), B19200);
  port_.SetBaud(38400);
  port_.SetParity(TParity::pEven);
  port_.SetDataBits(7);
  port_.SendString("b");
  ASSERT_EQ(pty_.Read(1), "b");
  EXPECT_EQ(PtySpeed(), B38400);
  // A pty keeps eight data bits without parity whatever it is told, so the
  // server's answers stand for those two.
  auto* dispatcher = dynamic_cast<TVrlRfc2217Dispatcher*>(&port_.RequireDispatcher());
  ASSERT_NE(dispatcher, nullptr);
  EXPECT_TRUE(dispatcher->ComPortAgreed());
  EXPECT_EQ(dispatcher->RepliesTo(telnet::kSetBaudRate), 2u);
  EXPECT_EQ(dispatcher->RepliesTo(telnet::kSetDataSize), 2u);
  EXPECT_EQ(dispatcher->RepliesTo(telnet::kSetParity), 2u);
}

TEST_F(NetworkOutputTest, AServerRestartIsAnUnplugAndTheNextClickReconnects) {
  for (const auto& [accepter, scheme] : {std::pair{TSer2net::TAccepter::RawTcp, "socket"},
                                         std::pair{TSer2net::TAccepter::Rfc2217, "rfc2217"}}) {
    SCOPED_TRACE(scheme);
    failuresShown_ = 0;
    TSer2net server(accepter, pty_.SlavePath());
    ASSERT_TRUE(server.Start());
    MapTo(Url(scheme, server.Port()));
    port_.SendString("before");
    ASSERT_EQ(pty_.Read(6), "before");
    server.Stop();
    ASSERT_TRUE(Eventually([&] { return port_.RequireDispatcher().Killed(); }));
    EXPECT_TRUE(Eventually([&] { return failuresShown_.load() == 1; }));
    // While the server is down the reconnect is refused, and says so.
    EXPECT_NE(FailureOf([&] { port_.SendString("lost"); }).find("Connection refused"),
              std::string::npos);
    ASSERT_TRUE(server.Start());
    port_.SendString("after");
    EXPECT_EQ(pty_.Read(5), "after");
    EXPECT_EQ(failuresShown_.load(), 1);
    port_.SetOpen(false);
  }
}

TEST_F(NetworkOutputTest, EachUdpClickIsOneDatagramAndRepliesAreInput) {
  TLocalSocket listener(SOCK_DGRAM);
  MapTo(Url("udp", listener.Port()));
  const std::string clicks[] = {"PWR ON\r", std::string("\x00\xFF\x01", 3), "INPUT 2\r"};
  for (const std::string& click : clicks) port_.SendString(click);
  sockaddr_in panel{};
  for (const std::string& click : clicks) EXPECT_EQ(listener.ReceiveDatagram(&panel), click);
  // The largest datagram goes whole; one byte more is refused.
  const std::string largest(TVrlUdpDispatcher::kMaxDatagram, 'u');
  ASSERT_TRUE(Eventually([&] { return port_.RequireDispatcher().OutputUsed() == 0; }));
  port_.SendString(largest);
  EXPECT_EQ(listener.ReceiveDatagram(), largest);
  ASSERT_TRUE(Eventually([&] { return port_.RequireDispatcher().OutputUsed() == 0; }));
  EXPECT_THROW(port_.SendString(largest + "u"), EOutputBufferTooSmall);
  // What the peer answers takes the input path.
  ASSERT_EQ(
      ::sendto(listener.Fd(), "OK\r", 3, 0, reinterpret_cast<sockaddr*>(&panel), sizeof panel), 3);
  EXPECT_TRUE(Eventually([&] { return port_.RequireDispatcher().DispatchBufferUsed() == 3; }));
}

TEST_F(NetworkOutputTest, AClosedPortIsRefusedNamingHostPortAndCause) {
  const uint16_t closed = FreeLocalPort();
  for (const char* scheme : {"socket", "rfc2217"}) {
    SCOPED_TRACE(scheme);
    MapTo(Url(scheme, closed));
    const std::string text = FailureOf([&] { port_.SetOpen(true); });
    EXPECT_EQ(text, "Cannot connect to 127.0.0.1 port " + std::to_string(closed) +
                        ": Connection refused");
    EXPECT_FALSE(port_.Open());
  }
  // A name goes through the resolver first; one that no resolver knows fails
  // the open within its bound, naming the name.
  MapTo("socket://localhost:" + std::to_string(closed));
  EXPECT_EQ(FailureOf([&] { port_.SetOpen(true); }),
            "Cannot connect to localhost port " + std::to_string(closed) + ": Connection refused");
  MapTo("udp://tovrana-test.invalid:9");
  EXPECT_EQ(FailureOf([&] {
              port_.SetOpen(true);
            }).rfind("Cannot connect to tovrana-test.invalid port 9: ", 0),
            0u);
}

TEST_F(NetworkOutputTest, APeerThatNeverNegotiatesStillGetsTheDataAfterABoundedOpen) {
  TLocalSocket silent(SOCK_STREAM);
  MapTo(Url("rfc2217", silent.Port()));
  auto opened = std::async(std::launch::async, [&] { port_.SetOpen(true); });
  ASSERT_EQ(opened.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  opened.get();
  ASSERT_TRUE(port_.Open());
  auto* dispatcher = dynamic_cast<TVrlRfc2217Dispatcher*>(&port_.RequireDispatcher());
  ASSERT_NE(dispatcher, nullptr);
  EXPECT_FALSE(dispatcher->ComPortAgreed());
  port_.SendString("\xFFgo");
  // The peer reads at last: the opening, then the data, 255 doubled.
  TUniqueFd peer(::accept(silent.Fd(), nullptr, nullptr));
  std::string received;
  ASSERT_TRUE(Eventually([&] {
    char buffer[256];
    const ssize_t n = ::recv(peer.Get(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) received.append(buffer, static_cast<size_t>(n));
    return received.size() >= 4 && received.substr(received.size() - 4) == "\xFF\xFFgo";
  }));
  EXPECT_EQ(received.substr(0, 3), "\xFF\xFB\x2C");
}

TEST_F(NetworkOutputTest, OnlyTheThreeFormsOpenAndTheProbeNeverConnects) {
  TLocalSocket listener(SOCK_STREAM);
  TPortMap map;
  map.Assign(1, Url("socket", listener.Port()));
  map.Assign(2, Url("rfc2217", listener.Port()));
  map.Assign(3, Url("udp", listener.Port()));
  map.Assign(4, "telnet://127.0.0.1:23");
  map.Assign(5, "socket://127.0.0.1");
  for (uint16_t number = 1; number <= 5; ++number) {
    EXPECT_EQ(ComPortPresent(number, map), number <= 3) << number;
  }
  pollfd entry{listener.Fd(), POLLIN, 0};
  EXPECT_EQ(::poll(&entry, 1, 0), 0) << "the probe connected";
  for (const char* refused : {"telnet://127.0.0.1:23", "socket://127.0.0.1"}) {
    MapTo(refused);
    const std::string text = FailureOf([&] { port_.SetOpen(true); });
    EXPECT_EQ(text.rfind("Not a serial device", 0), 0u) << text;
    EXPECT_NE(text.find(refused), std::string::npos) << text;
  }
}

}  // namespace
