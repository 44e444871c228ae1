// The line protocol of remote control on a TCP listener: one session per
// connection, which turns the received lines into presses and answers.
// A connection that goes away releases what it holds. Owned by remote control;
// user-interface thread only.
#pragma once

#include <QObject>
#include <QTcpServer>
#include <map>
#include <memory>
#include <string>

#include "remote/LineSession.h"

class QHostAddress;
class QTcpSocket;

class TLineRemote : public QObject {
  Q_OBJECT

 public:
  // What a connection may have waiting to be read or sent before it is closed:
  // a client that never reads its answers cannot make them pile up.
  static constexpr qint64 kMaxPendingBytes = 64 * 1024;
  // More clients at once are turned away, so that they cannot use up the
  // descriptors the serial ports need.
  static constexpr size_t kMaxConnections = 32;

  TLineRemote(TRemoteHolds& holds, std::string token, QObject* parent = nullptr);
  ~TLineRemote() override;

  // False with the reason in error when the port cannot be listened on.
  bool Listen(const QHostAddress& address, quint16 port, QString& error);

 private:
  void Accept();
  void Read(QTcpSocket* socket);
  void Drop(QTcpSocket* socket);

  TRemoteHolds& holds_;
  const std::string token_;
  QTcpServer server_;
  std::map<QTcpSocket*, std::unique_ptr<TLineSession>> sessions_;
};
