// The four peers. Each keeps to the public interface of what it drives.
#include "Peers.h"

#include <fcntl.h>
#include <libserialport.h>
#include <sched.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <exception>

#include "serial/ComPort.h"
#include "serial/MessageQueue.h"
#include "serial/posix/UniqueFd.h"

void TPeer::Idle(std::chrono::milliseconds duration) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
  timespec pause{static_cast<time_t>(seconds.count()),
                 static_cast<long>((duration - seconds).count() * 1'000'000)};
  while (::nanosleep(&pause, &pause) != 0) {
  }
}

namespace {

class TRawPeer : public TPeer {
 public:
  std::string Name() const override { return "raw write()"; }
  bool Open(const std::string& path) override {
    fd_.Reset(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios line{};
    if (!fd_.Valid() || ::tcgetattr(fd_.Get(), &line) != 0) return false;
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B9600);
    line.c_cflag = (line.c_cflag & ~(CSIZE | PARENB | CSTOPB | CRTSCTS)) | CS8 | CREAD | CLOCAL;
    return ::tcsetattr(fd_.Get(), TCSANOW, &line) == 0;
  }
  void Close() override { fd_.Reset(); }
  bool Send(const char* data, size_t size) override {
    return ::write(fd_.Get(), data, size) == static_cast<ssize_t>(size);
  }
  bool SendWhenRoom(const char* data, size_t size) override {
    while (size > 0) {
      const ssize_t n = ::write(fd_.Get(), data, size);
      if (n <= 0) return false;
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

 private:
  TUniqueFd fd_;
};

class TQtPeer : public TPeer {
 public:
  std::string Name() const override { return std::string("Qt ") + qVersion() + " QSerialPort"; }
  bool Open(const std::string& path) override {
    port_.setPortName(QString::fromStdString(path));
    port_.setBaudRate(9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    return port_.open(QIODevice::ReadWrite);
  }
  void Close() override { port_.close(); }
  bool Send(const char* data, size_t size) override {
    return port_.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size);
  }
  bool SendWhenRoom(const char* data, size_t size) override {
    // Keep one block queued behind the one being written, as the others do.
    while (port_.bytesToWrite() >= static_cast<qint64>(size)) {
      if (!port_.waitForBytesWritten(1000)) return false;
    }
    return Send(data, size);
  }
  void Pump() override { QCoreApplication::processEvents(); }
  void Flush() override {
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(1000)) {
    }
  }
  void Idle(std::chrono::milliseconds duration) override {
    QEventLoop loop;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
  }

 private:
  QSerialPort port_;
};

class TSerialportPeer : public TPeer {
 public:
  ~TSerialportPeer() override { Close(); }
  std::string Name() const override {
    return std::string("libserialport ") + sp_get_package_version_string();
  }
  bool Open(const std::string& path) override {
    if (sp_get_port_by_name(path.c_str(), &port_) != SP_OK) return false;
    return sp_open(port_, SP_MODE_READ_WRITE) == SP_OK && sp_set_baudrate(port_, 9600) == SP_OK &&
           sp_set_bits(port_, 8) == SP_OK && sp_set_parity(port_, SP_PARITY_NONE) == SP_OK &&
           sp_set_stopbits(port_, 1) == SP_OK &&
           sp_set_flowcontrol(port_, SP_FLOWCONTROL_NONE) == SP_OK;
  }
  void Close() override {
    if (port_ == nullptr) return;
    sp_close(port_);
    sp_free_port(port_);
    port_ = nullptr;
  }
  bool Send(const char* data, size_t size) override {
    return sp_blocking_write(port_, data, size, 0) == static_cast<int>(size);
  }
  bool SendWhenRoom(const char* data, size_t size) override { return Send(data, size); }

 private:
  sp_port* port_ = nullptr;
};

// The port as the panel drives it: settings assigned while closed, opened
// like an output whose open flag is set, and sent to as a grid button's
// click does, with the decoded bytes in a string.
class TComPortPeer : public TPeer {
 public:
  static constexpr uint16_t kPortNumber = 9;

  TComPortPeer() { port_.SetMainThreadQueue(&queue_); }
  std::string Name() const override { return "TVrlComPort"; }
  bool Open(const std::string& path) override {
    TPortMap map;
    map.Assign(kPortNumber, path);
    port_.SetPortMap(map);
    port_.SetComNumber(kPortNumber);
    port_.SetBaud(9600);
    port_.SetDataBits(8);
    port_.SetStopBits(1);
    port_.SetParity(TParity::pNone);
    port_.SetRS485Mode(false);
    try {
      port_.SetOpen(true);
    } catch (const std::exception&) {
      return false;
    }
    return true;
  }
  void Close() override { port_.SetOpen(false); }
  bool Send(const char* data, size_t size) override {
    try {
      port_.SendString(std::string_view(data, size));
    } catch (const std::exception&) {
      return false;
    }
    return true;
  }
  bool SendWhenRoom(const char* data, size_t size) override {
    // The port refuses a block that does not fit; its users look at the room
    // left and try again.
    while (port_.RequireDispatcher().OutputFree() < static_cast<int32_t>(size)) ::sched_yield();
    return Send(data, size);
  }
  void Pump() override { queue_.ProcessAllPending(); }

 private:
  TMessageQueue queue_;
  TVrlComPort port_;
};

}  // namespace

std::vector<std::unique_ptr<TPeer>> CreatePeers() {
  std::vector<std::unique_ptr<TPeer>> peers;
  peers.push_back(std::make_unique<TRawPeer>());
  peers.push_back(std::make_unique<TQtPeer>());
  peers.push_back(std::make_unique<TSerialportPeer>());
  peers.push_back(std::make_unique<TComPortPeer>());
  return peers;
}
