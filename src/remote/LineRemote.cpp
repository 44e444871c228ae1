#include "remote/LineRemote.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <utility>

TLineRemote::TLineRemote(TRemoteHolds& holds, std::string token, QObject* parent)
    : QObject(parent), holds_(holds), token_(std::move(token)) {
  connect(&server_, &QTcpServer::newConnection, this, &TLineRemote::Accept);
}

TLineRemote::~TLineRemote() {
  // The sockets go with the listener; their sessions must not outlive them.
  for (auto& [socket, session] : sessions_) socket->disconnect(this);
  sessions_.clear();
}

bool TLineRemote::Listen(const QHostAddress& address, quint16 port, QString& error) {
  if (server_.listen(address, port)) return true;
  error = server_.errorString();
  return false;
}

void TLineRemote::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    if (sessions_.size() >= kMaxConnections) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    socket->setReadBufferSize(kMaxPendingBytes);
    sessions_.emplace(socket, std::make_unique<TLineSession>(holds_, token_));
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Drop(socket); });
    Read(socket);
  }
}

void TLineRemote::Read(QTcpSocket* socket) {
  const auto it = sessions_.find(socket);
  if (it == sessions_.end()) return;
  TLineSession& session = *it->second;
  const QByteArray bytes = socket->readAll();
  const std::string answer =
      session.Receive(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  socket->write(answer.data(), static_cast<qint64>(answer.size()));
  // Out at once: a client that closes its side right after its last line would
  // otherwise lose the answer with the connection.
  socket->flush();
  if (session.Closed() || socket->bytesToWrite() > kMaxPendingBytes) socket->disconnectFromHost();
}

void TLineRemote::Drop(QTcpSocket* socket) {
  // Ending the session releases what the connection still holds.
  sessions_.erase(socket);
  socket->deleteLater();
}
