// The HTTP side of remote control, on Qt's HTTP server: the routes that press,
// hold and release buttons by number or by place and list the buttons and
// outputs, all in one table. Every request with a token set must carry
// "Authorization: Bearer <token>". A connection that goes away releases the
// buttons it holds. Owned by remote control; user-interface thread only.
#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHttpServerRequest>
#include <string>
#include <string_view>
#include <vector>

#include "remote/RemoteHolds.h"

class QHostAddress;
class QTcpSocket;

class THttpRemote : public QAbstractHttpServer {
  Q_OBJECT

 public:
  // Requests larger than this, headers included, are cut off unread.
  static constexpr qint64 kMaxRequestBytes = 16 * 1024;
  static constexpr qsizetype kMaxBodyBytes = 4 * 1024;
  // More clients at once are turned away, so that they cannot use up the
  // descriptors the serial ports need.
  static constexpr int kMaxConnections = 32;

  THttpRemote(TRemoteHolds& holds, std::string token, QObject* parent = nullptr);

  // False with the reason in error when the port cannot be listened on.
  bool Listen(const QHostAddress& address, quint16 port, QString& error);

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  struct TReply {
    int Status = 200;
    QByteArray Body;   // JSON
    QByteArray Allow;  // for 405
  };
  using TCaptures = std::vector<std::string_view>;
  using THandler = TReply (THttpRemote::*)(TRemoteClient, const TCaptures&);
  struct TRoute {
    QHttpServerRequest::Method Verb;
    std::string_view Pattern;
    THandler Handler;
  };
  static const TRoute kRoutes[];

  TReply Answer(const QHttpServerRequest& request, TRemoteClient client);
  bool Authorised(const QHttpServerRequest& request) const;
  template <TRemoteAction action>
  TReply ButtonByNumber(TRemoteClient client, const TCaptures& captures);
  template <TRemoteAction action>
  TReply ButtonByPlace(TRemoteClient client, const TCaptures& captures);
  TReply Act(TRemoteClient client, TRemoteAction action, int number);
  TReply ListButtons(TRemoteClient client, const TCaptures& captures);
  TReply ListOutputs(TRemoteClient client, const TCaptures& captures);
  void Respond(const QHttpServerRequest& request, QTcpSocket* socket, const TReply& reply);
  void Connected(QTcpSocket* socket);

  TRemoteHolds& holds_;
  const std::string token_;
};
