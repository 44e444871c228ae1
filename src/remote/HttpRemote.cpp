#include "remote/HttpRemote.h"

#include <QHostAddress>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <exception>
#include <functional>
#include <utility>

#include "core/GridLayout.h"
#include "remote/RoutePath.h"
#include "remote/TokenCompare.h"

namespace {

using TMethod = QHttpServerRequest::Method;

constexpr char kClientProperty[] = "tovranaRemoteClient";
constexpr char kBytesProperty[] = "tovranaRequestBytes";
constexpr char kCutOffProperty[] = "tovranaCutOff";
// Set once the connection's first request line has been seen to be one.
constexpr char kStartedProperty[] = "tovranaRequestLineSeen";

// Hands each accepted connection to a callback before the HTTP server sees it,
// so that the callback's readyRead handler runs ahead of the server's; turns
// connections away beyond the most it serves at once.
class TWatchedTcpServer : public QTcpServer {
 public:
  TWatchedTcpServer(std::function<void(QTcpSocket*)> connected, QObject* parent)
      : QTcpServer(parent), connected_(std::move(connected)) {}

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor) || live_ >= THttpRemote::kMaxConnections) {
      delete socket;
      return;
    }
    ++live_;
    connect(socket, &QObject::destroyed, this, [this] { --live_; });
    connected_(socket);
    addPendingConnection(socket);
  }

 private:
  std::function<void(QTcpSocket*)> connected_;
  int live_ = 0;  // connections not yet destroyed
};

QByteArray Json(const QJsonObject& object) {
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray Json(const QJsonArray& array) {
  return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QByteArray ErrorBody(const QString& message) { return Json(QJsonObject{{"error", message}}); }

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Answers 400 with the reason and closes the connection; what else it sends is
// not read any more.
void CutOff(QTcpSocket* socket, const QString& reason) {
  socket->setProperty(kCutOffProperty, true);
  const QByteArray body = ErrorBody(reason);
  socket->write("HTTP/1.1 400 Bad Request\r\nContent-Type: application/json\r\nContent-Length: " +
                QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
  socket->disconnectFromHost();
}

}  // namespace

// Press is down then up; down and up are a hold and its release.
const THttpRemote::TRoute THttpRemote::kRoutes[] = {
    {TMethod::Post, "/api/buttons/{}/press", &THttpRemote::ButtonByNumber<TRemoteAction::Press>},
    {TMethod::Post, "/api/buttons/{}/down", &THttpRemote::ButtonByNumber<TRemoteAction::Down>},
    {TMethod::Post, "/api/buttons/{}/up", &THttpRemote::ButtonByNumber<TRemoteAction::Up>},
    {TMethod::Post, "/api/location/{}/{}/press", &THttpRemote::ButtonByPlace<TRemoteAction::Press>},
    {TMethod::Post, "/api/location/{}/{}/down", &THttpRemote::ButtonByPlace<TRemoteAction::Down>},
    {TMethod::Post, "/api/location/{}/{}/up", &THttpRemote::ButtonByPlace<TRemoteAction::Up>},
    {TMethod::Get, "/api/buttons", &THttpRemote::ListButtons},
    {TMethod::Get, "/api/outputs", &THttpRemote::ListOutputs},
};

THttpRemote::THttpRemote(TRemoteHolds& holds, std::string token, QObject* parent)
    : QAbstractHttpServer(parent), holds_(holds), token_(std::move(token)) {}

bool THttpRemote::Listen(const QHostAddress& address, quint16 port, QString& error) {
  auto* server = new TWatchedTcpServer([this](QTcpSocket* socket) { Connected(socket); }, this);
  if (!server->listen(address, port)) {
    error = server->errorString();
    delete server;
    return false;
  }
  bind(server);
  return true;
}

void THttpRemote::Connected(QTcpSocket* socket) {
  const TRemoteClient client = holds_.NewClient();
  socket->setProperty(kClientProperty, QVariant::fromValue<quint64>(client));
  socket->setProperty(kBytesProperty, QVariant::fromValue<qint64>(0));
  // Runs before the HTTP server reads the bytes, so an oversized request is cut
  // off before it is buffered whole.
  connect(socket, &QTcpSocket::readyRead, this, [socket] {
    if (socket->property(kCutOffProperty).toBool()) return;
    const qint64 received =
        socket->property(kBytesProperty).toLongLong() + socket->bytesAvailable();
    socket->setProperty(kBytesProperty, QVariant::fromValue<qint64>(received));
    if (received > kMaxRequestBytes) {
      CutOff(socket, QStringLiteral("the request is larger than %1 bytes").arg(kMaxRequestBytes));
      return;
    }
    // Qt's server drops a garbled request without a word; the client is told why.
    if (socket->property(kStartedProperty).toBool()) return;
    const QByteArray start = socket->peek(kMaxRequestBytes);
    switch (
        CheckRequestLine(std::string_view(start.constData(), static_cast<size_t>(start.size())))) {
      case TRequestLineCheck::Incomplete:
        break;
      case TRequestLineCheck::Valid:
        socket->setProperty(kStartedProperty, true);
        break;
      case TRequestLineCheck::Malformed:
        CutOff(socket, QStringLiteral("not an HTTP/1 request"));
        break;
    }
  });
  connect(socket, &QTcpSocket::disconnected, this, [this, client] { holds_.Disconnected(client); });
}

bool THttpRemote::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  if (socket->property(kCutOffProperty).toBool()) return true;
  socket->setProperty(kBytesProperty, QVariant::fromValue<qint64>(0));
  const TRemoteClient client = socket->property(kClientProperty).value<quint64>();
  TReply reply;
  try {
    reply = Answer(request, client);
  } catch (const std::exception& failure) {
    // A remote request never reaches the panel's error box.
    reply = {500, ErrorBody(QString::fromLocal8Bit(failure.what())), {}};
  }
  Respond(request, socket, reply);
  return true;
}

void THttpRemote::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  Respond(request, socket, {404, ErrorBody(QStringLiteral("no such resource")), {}});
}

THttpRemote::TReply THttpRemote::Answer(const QHttpServerRequest& request, TRemoteClient client) {
  if (!Authorised(request)) {
    return {
        401, ErrorBody(QStringLiteral("a valid \"Authorization: Bearer\" token is required")), {}};
  }
  if (request.body().size() > kMaxBodyBytes) {
    return {
        400, ErrorBody(QStringLiteral("the body is larger than %1 bytes").arg(kMaxBodyBytes)), {}};
  }
  const std::string path = request.url().path().toStdString();
  QByteArray allowed;
  TCaptures captures;
  for (const TRoute& route : kRoutes) {
    if (!MatchPath(route.Pattern, path, captures)) continue;
    if (route.Verb == request.method()) return (this->*route.Handler)(client, captures);
    allowed = route.Verb == TMethod::Get ? "GET" : "POST";
  }
  if (!allowed.isEmpty()) {
    return {405, ErrorBody(QStringLiteral("use %1 here").arg(QString::fromLatin1(allowed))),
            allowed};
  }
  return {404, ErrorBody(QStringLiteral("no such resource")), {}};
}

bool THttpRemote::Authorised(const QHttpServerRequest& request) const {
  if (token_.empty()) return true;
  for (const auto& [name, value] : request.headers()) {
    if (name.compare("Authorization", Qt::CaseInsensitive) != 0) continue;
    const QByteArray scheme = "bearer ";
    if (value.size() < scheme.size() || value.left(scheme.size()).toLower() != scheme) return false;
    const QByteArray given = value.mid(scheme.size()).trimmed();
    return TokensMatch(std::string_view(given.constData(), static_cast<size_t>(given.size())),
                       token_);
  }
  return false;
}

template <TRemoteAction action>
THttpRemote::TReply THttpRemote::ButtonByNumber(TRemoteClient client, const TCaptures& captures) {
  const std::optional<int> number = ParsePathNumber(captures[0]);
  if (!number) {
    return {400, ErrorBody("not a button number: " + FromUtf8(captures[0])), {}};
  }
  const TRemotePanel& panel = holds_.Panel();
  if (*number < 1 || *number > panel.Rows() * panel.Columns()) {
    return {404, ErrorBody("no button " + FromUtf8(captures[0]) + " on this panel"), {}};
  }
  return Act(client, action, *number);
}

template <TRemoteAction action>
THttpRemote::TReply THttpRemote::ButtonByPlace(TRemoteClient client, const TCaptures& captures) {
  const std::optional<int> row = ParsePathNumber(captures[0]);
  const std::optional<int> column = ParsePathNumber(captures[1]);
  if (!row || !column) {
    return {
        400,
        ErrorBody("not a row and column: " + FromUtf8(captures[0]) + "/" + FromUtf8(captures[1])),
        {}};
  }
  const TRemotePanel& panel = holds_.Panel();
  if (*row < 1 || *row > panel.Rows() || *column < 1 || *column > panel.Columns()) {
    return {404,
            ErrorBody(QStringLiteral("no button at row %1, column %2 on this panel")
                          .arg(FromUtf8(captures[0]), FromUtf8(captures[1]))),
            {}};
  }
  return Act(client, action, ButtonNumber({*column, *row}, panel.Rows()));
}

THttpRemote::TReply THttpRemote::Act(TRemoteClient client, TRemoteAction action, int number) {
  const TRemoteOutcome outcome = holds_.Act(client, action, number);
  if (outcome.Sent) return {200, Json(QJsonObject{{"sent", true}}), {}};
  return {502, Json(QJsonObject{{"sent", false}, {"cause", FromUtf8(outcome.Cause)}}), {}};
}

THttpRemote::TReply THttpRemote::ListButtons(TRemoteClient, const TCaptures&) {
  QJsonArray buttons;
  for (const TRemoteButton& button : holds_.Panel().Buttons()) {
    buttons.append(QJsonObject{{"number", button.Number},
                               {"row", button.Row},
                               {"column", button.Column},
                               {"caption", FromUtf8(button.Caption)},
                               {"output", button.Output}});
  }
  return {200, Json(buttons), {}};
}

THttpRemote::TReply THttpRemote::ListOutputs(TRemoteClient, const TCaptures&) {
  QJsonArray outputs;
  for (const TRemoteOutput& output : holds_.Panel().Outputs()) {
    outputs.append(QJsonObject{{"output", output.Output},
                               {"port", output.Port},
                               {"device", FromUtf8(output.Device)},
                               {"open", output.Open}});
  }
  return {200, Json(outputs), {}};
}

void THttpRemote::Respond(const QHttpServerRequest& request, QTcpSocket* socket,
                          const TReply& reply) {
  QHttpServerResponder responder = makeResponder(request, socket);
  const auto status = static_cast<QHttpServerResponder::StatusCode>(reply.Status);
  if (reply.Status == 401) {
    responder.write(reply.Body,
                    {{"Content-Type", "application/json"}, {"WWW-Authenticate", "Bearer"}}, status);
  } else if (!reply.Allow.isEmpty()) {
    responder.write(reply.Body, {{"Content-Type", "application/json"}, {"Allow", reply.Allow}},
                    status);
  } else {
    responder.write(reply.Body, "application/json", status);
  }
}
