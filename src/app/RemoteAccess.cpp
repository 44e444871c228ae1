// Remote control of the main window: started once the window is up, from the
// settings read at start-up; a status line at the window's foot says so while
// a listener is up; stopped before the close step writes the settings.
// User-interface thread only.
#include <QLabel>
#include <QMessageBox>

#include "app/MainWindow.h"
#include "app/MainWindowPanel.h"
#include "remote/RemoteControl.h"

void TfmMain::StartRemoteControl() {
  if (closed_ || remote_) return;
  remotePanel_ = std::make_unique<TMainWindowPanel>(*this);
  remote_ = std::make_unique<TRemoteControl>(*remotePanel_, state_.Remote);
  if (remote_->Listening()) {
    lbRemote_ = new QLabel(QString::fromStdString(remote_->Description()), this);
    lbRemote_->setObjectName(QStringLiteral("lbRemote"));
    lbRemote_->setContentsMargins(4, 0, 4, 0);
    lbRemote_->show();
    actResizeButtonsExecute();
  }
  if (!remote_->Problems().empty()) {
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    QString::fromStdString(remote_->Problems()), QMessageBox::Ok, this);
    box.exec();
  }
}

void TfmMain::StopRemoteControl() {
  remote_.reset();
  remotePanel_.reset();
}

QString TfmMain::RemoteDescription() const {
  return remote_ ? QString::fromStdString(remote_->Description())
                 : QStringLiteral("Remote control: off");
}

int TfmMain::RemoteStatusHeight() const {
  return lbRemote_ != nullptr ? lbRemote_->sizeHint().height() : 0;
}
