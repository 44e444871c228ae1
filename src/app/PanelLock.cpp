// The request is one line "raise", the answer one line "raised". The name holds
// a hash of the file's absolute, normalised path, as the abstract namespace
// takes at most 107 bytes.
#include "app/PanelLock.h"

#include <QLocalSocket>
#include <cstdint>
#include <string>

namespace {

constexpr int kAnswerMilliseconds = 3000;
constexpr char kRaiseRequest[] = "raise\n";
constexpr char kRaisedAnswer[] = "raised\n";
constexpr qint64 kLongestRequest = 64;

QString ServerName(const std::filesystem::path& settingsFile) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::weakly_canonical(settingsFile, error);
  if (error) path = std::filesystem::absolute(settingsFile, error).lexically_normal();
  // FNV-1a: stable across builds and runs, unlike std::hash.
  uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : path.string()) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return QStringLiteral("tovrana-panel-%1").arg(hash, 16, 16, QLatin1Char('0'));
}

}  // namespace

TPanelLock::TPanelLock(const std::filesystem::path& settingsFile)
    : name_(ServerName(settingsFile)) {
  server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  connect(&server_, &QLocalServer::newConnection, this, &TPanelLock::ServeRequest);
}

bool TPanelLock::Claim() { return server_.listen(name_); }

bool TPanelLock::RaiseHolder() {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
  socket.write(kRaiseRequest);
  if (!socket.waitForBytesWritten(kAnswerMilliseconds)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(kAnswerMilliseconds)) return false;
  }
  return socket.readLine() == kRaisedAnswer;
}

void TPanelLock::ServeRequest() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestRequest) socket->disconnectFromServer();
        return;
      }
      if (socket->readLine() == kRaiseRequest) {
        emit RaiseRequested();
        socket->write(kRaisedAnswer);
        socket->flush();
      }
      socket->disconnectFromServer();
    });
  }
}
