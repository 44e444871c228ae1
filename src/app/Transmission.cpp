// Sending a grid button's bytes, opening the flagged outputs when the window is
// first shown, and how port failures are shown. User-interface thread, except
// the worker-failure display, which hands its message over to it.
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <exception>
#include <string>

#include "app/MainWindow.h"
#include "core/ButtonHold.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kOutputCount = 4;

}  // namespace

void TfmMain::ConnectOutputPorts() {
  const TOutputPorts ports = OutputPorts();
  for (int index = 0; index < kOutputCount; ++index) {
    TVrlComPort* port = ports[index];
    const auto output = static_cast<uint8_t>(index + 1);
    port->SetMainThreadQueue(&mainThreadQueue_);
    // A worker that ends with a failure (an unplugged adapter) reports it from
    // its own thread; the box belongs to the main thread.
    port->SetExceptionDisplay([this, output](const std::exception& failure) {
      const QString message = QString::fromLocal8Bit(failure.what());
      QMetaObject::invokeMethod(
          this,
          [this, output, message] {
            buttonActions_->EndHoldsOn(output);
            ShowPortFailure(output, message);
          },
          Qt::QueuedConnection);
    });
  }
}

QString TfmMain::OutputDescription(uint8_t output) {
  if (output < 1 || output > kOutputCount) return tr("Output %1").arg(output);
  const TVrlComPort& port = *OutputPorts()[output - 1];
  return tr("Output %1 (COM%2, %3)")
      .arg(output)
      .arg(port.ComNumber())
      .arg(QString::fromStdString(port.PortMap().DevicePath(port.ComNumber())));
}

bool TfmMain::DisconnectShown(uint8_t output) const {
  return output >= 1 && output <= kOutputCount && disconnectBoxes_[output - 1] != nullptr &&
         disconnectBoxes_[output - 1]->isVisible();
}

void TfmMain::PortServed(uint8_t output) {
  if (output >= 1 && output <= kOutputCount) disconnectReported_[output - 1] = false;
}

void TfmMain::ShowPortFailure(uint8_t output, const QString& cause) {
  if (output < 1 || output > kOutputCount) return;
  QPointer<QMessageBox>& shown = disconnectBoxes_[output - 1];
  if (disconnectReported_[output - 1]) {
    if (shown != nullptr && shown->isVisible()) {
      shown->raise();
      shown->activateWindow();
    }
    return;
  }
  disconnectReported_[output - 1] = true;
  // Shown whatever "Show Com Port Errors" says, as the device's going away is
  // no answer to anything the operator did. Not modal, so the operator's next
  // click is not held up by it.
  const QString described = OutputDescription(output);
  auto* box = new QMessageBox(
      QMessageBox::Warning, windowTitle(),
      tr("%1 was disconnected. Click again after plugging it back in.").arg(described),
      QMessageBox::Ok, this);
  box->setDetailedText(described + QStringLiteral(": ") + cause);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  shown = box;
  box->show();
}

void TfmMain::OpenOutputPorts() {
  const TOutputPorts ports = OutputPorts();
  for (int index = 0; index < kOutputCount; ++index) {
    try {
      ports[index]->SetOpen(state_.OpenFlags[index]);
    } catch (const std::exception& failure) {
      // The flag stays set: a click on the output tries again.
      if (!state_.ShowComPortErrors) continue;
      QMessageBox box(
          QMessageBox::NoIcon, windowTitle(),
          tr("The com port specified for output %1 could not be opened.").arg(index + 1),
          QMessageBox::Ok, this);
      box.setDetailedText(OutputDescription(static_cast<uint8_t>(index + 1)) +
                          QStringLiteral(": ") + QString::fromLocal8Bit(failure.what()));
      box.exec();
    }
  }
}

void TfmMain::BtTxClick(const TImageButton* sender) {
  if (Closed()) return;
  // A button that holds has sent on the way down and sends its release on the
  // way up; its click adds nothing.
  if (HoldsWhilePressed(commands_->Get(sender->Tag() - 1))) return;
  ButtonPress(sender->Tag() - 1, TPressSource::Local);
}
