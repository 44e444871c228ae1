// Sending a grid button's bytes, opening the flagged outputs when the window is
// first shown, and how port failures are shown. User-interface thread, except
// the worker-failure display, which hands its message over to it.
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <exception>
#include <string>

#include "app/MainWindow.h"
#include "core/SerialData.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kOutputCount = 4;

}  // namespace

void TfmMain::ConnectOutputPorts() {
  for (TVrlComPort* port : OutputPorts()) {
    port->SetMainThreadQueue(&mainThreadQueue_);
    // A worker that ends with a failure (an unplugged adapter) reports it from
    // its own thread; the box belongs to the main thread.
    port->SetExceptionDisplay([this](const std::exception& failure) {
      const QString message = QString::fromLocal8Bit(failure.what());
      QMetaObject::invokeMethod(this, [this, message] { ShowPortFailure(message); },
                                Qt::QueuedConnection);
    });
  }
}

void TfmMain::ShowPortFailure(const QString& message) {
  // Shown like any error that ends an action, whatever "Show Com Port Errors"
  // says: that switch governs the boxes of clicks and start-up only. Not modal,
  // so the operator's next click is not held up by it.
  auto* box = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), message,
                              QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void TfmMain::OpenOutputPorts() {
  const TOutputPorts ports = OutputPorts();
  for (int index = 0; index < kOutputCount; ++index) {
    try {
      ports[index]->SetOpen(state_.OpenFlags[index]);
    } catch (const std::exception&) {
      // The flag stays set: a click on the output tries again.
      if (!state_.ShowComPortErrors) continue;
      QMessageBox box(QMessageBox::NoIcon, windowTitle(),
                      tr("The com port specified for output %1 could not be opened.").arg(index + 1),
                      QMessageBox::Ok, this);
      box.exec();
    }
  }
}

void TfmMain::BtTxClick(const TImageButton* sender) {
  if (!commands_) return;
  const TCommand& record = commands_->Get(sender->Tag() - 1);
  if (record.Data.empty()) return;
  const std::string bytes = DecodeSerialData(record.Data);
  if (record.Output < 1 || record.Output > kOutputCount) return;
  try {
    OutputPorts()[record.Output - 1]->SendString(bytes);
  } catch (const std::exception& failure) {
    if (!state_.ShowComPortErrors) return;
    QMessageBox box(QMessageBox::Critical, tr("Error"), QStringLiteral("Com port error.\r\n(Data not sent)"),
                    QMessageBox::Ok, this);
    box.setDetailedText(QString::fromLocal8Bit(failure.what()));
    // A moved box keeps its place instead of being centred on the window.
    box.move(sender->mapToGlobal(QPoint(0, 0)));
    box.exec();
  }
}
