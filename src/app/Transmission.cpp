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
            ShowPortFailure(message);
          },
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
      QMessageBox box(
          QMessageBox::NoIcon, windowTitle(),
          tr("The com port specified for output %1 could not be opened.").arg(index + 1),
          QMessageBox::Ok, this);
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
