#include "remote/RemoteControl.h"

#include <QHostAddress>

#include "remote/HttpRemote.h"
#include "remote/LineRemote.h"

namespace {

std::string ListenFailure(const char* what, const TRemotePlan& plan, quint16 port,
                          const QString& reason) {
  return std::string("Remote control: the ") + what + " port " + std::to_string(port) + " on " +
         plan.Address + " could not be opened: " + reason.toStdString() + ".";
}

}  // namespace

TRemoteControl::TRemoteControl(TRemotePanel& panel, const TRemoteSettings& settings)
    : holds_(panel), plan_(PlanRemote(settings)), problems_(plan_.RefusalMessage) {
  if (!plan_.Listens()) return;
  const QHostAddress address(QString::fromStdString(plan_.Address));
  QString reason;
  if (plan_.HttpPort != 0) {
    http_ = std::make_unique<THttpRemote>(holds_, settings.Token);
    if (!http_->Listen(address, plan_.HttpPort, reason)) {
      problems_ += ListenFailure("HTTP", plan_, plan_.HttpPort, reason);
      http_.reset();
    }
  }
  if (plan_.TcpPort != 0) {
    line_ = std::make_unique<TLineRemote>(holds_, settings.Token);
    if (!line_->Listen(address, plan_.TcpPort, reason)) {
      if (!problems_.empty()) problems_ += ' ';
      problems_ += ListenFailure("line protocol", plan_, plan_.TcpPort, reason);
      line_.reset();
    }
  }
}

TRemoteControl::~TRemoteControl() {
  http_.reset();
  line_.reset();
  holds_.ReleaseAll();
}

bool TRemoteControl::Listening() const { return http_ != nullptr || line_ != nullptr; }

std::string TRemoteControl::Description() const {
  return DescribeRemote(plan_, http_ != nullptr, line_ != nullptr);
}
