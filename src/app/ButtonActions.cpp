#include "app/ButtonActions.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <exception>
#include <vector>

#include "app/MainWindow.h"
#include "core/ButtonHold.h"
#include "core/Checksum.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kOutputCount = 4;

bool IsPressKey(const QKeyEvent& key) {
  return !key.isAutoRepeat() &&
         (key.key() == Qt::Key_Space || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter);
}

}  // namespace

TButtonActions::TButtonActions(TfmMain& window) : QObject(&window), window_(window) {}

// Timers are children and go with the object; no release is sent from here, the
// close step has ended every hold before.
TButtonActions::~TButtonActions() = default;

bool TButtonActions::Exists(int index) const {
  return !window_.Closed() && index >= 0 && index < window_.Commands().Count() &&
         index < window_.State().Rows * window_.State().Cols;
}

TButtonActions::TOutcome TButtonActions::Send(int index, const TCommand& record,
                                              const std::string& text, bool checksReply) {
  if (text.empty()) return {};
  std::string bytes;
  try {
    bytes = FinalBytes(text, record);
  } catch (const EUnknownChecksum& failure) {
    return {TFailure::Checksum, failure.what()};
  }
  if (record.Output < 1 || record.Output > kOutputCount) return {};
  TVrlComPort& port = *window_.OutputPorts()[record.Output - 1];
  const bool wasOpen = port.Open();
  try {
    port.SendString(bytes);
  } catch (const std::exception& failure) {
    // An open port that is closed after a failed send had lost its device.
    return {wasOpen && !port.Open() ? TFailure::Disconnected : TFailure::Port, failure.what()};
  }
  window_.PortServed(record.Output);
  window_.RecordSend(record.Output, index + 1, bytes, record, checksReply);
  return {};
}

TSendResult TButtonActions::Report(int index, TPressSource source, const TOutcome& outcome,
                                   bool later) {
  if (outcome.Failure == TFailure::None) return {};
  if (source == TPressSource::Local) {
    if (later) {
      // A hold ended by something else (focus, a modal box): the box waits until
      // that has happened.
      QMetaObject::invokeMethod(
          this, [this, index, outcome] { ShowFailure(index, outcome); }, Qt::QueuedConnection);
    } else {
      ShowFailure(index, outcome);
    }
  }
  return {false, outcome.Cause};
}

void TButtonActions::ShowFailure(int index, const TOutcome& outcome) {
  if (window_.Closed()) return;
  const uint8_t output = window_.Commands().Get(index).Output;
  QString cause = QString::fromLocal8Bit(outcome.Cause);
  // One box names a device that went away, shown once per failure; a click
  // while it is up adds no second box.
  if (outcome.Failure == TFailure::Disconnected || window_.DisconnectShown(output)) {
    window_.ShowPortFailure(output, cause);
    return;
  }
  if (!window_.State().ShowComPortErrors) return;
  const bool port = outcome.Failure == TFailure::Port;
  if (port) cause = window_.OutputDescription(output) + QStringLiteral(": ") + cause;
  QMessageBox box(QMessageBox::Critical, TfmMain::tr("Error"),
                  port ? QStringLiteral("Com port error.\r\n(Data not sent)") : cause,
                  QMessageBox::Ok, &window_);
  if (port) {
    box.setDetailedText(cause);
    // Showing the details leaves OK the default button with the focus, so
    // that Enter still closes the box instead of folding the details away.
    for (auto* other : box.findChildren<QPushButton*>()) {
      if (other == box.button(QMessageBox::Ok)) continue;
      other->setAutoDefault(false);
      other->setFocusPolicy(Qt::NoFocus);
    }
    box.setDefaultButton(QMessageBox::Ok);
  }
  // The box's frame stands at the button instead of being centred on the
  // window, as far as the panel's screen allows (DialogPlacement.h).
  if (const TImageButton* button = window_.GridButton(index + 1)) {
    box.move(button->mapToGlobal(QPoint(0, 0)));
  }
  box.exec();
}

TSendResult TButtonActions::ButtonDown(int index, TPressSource source) {
  return Down(index, source, 0);
}

TSendResult TButtonActions::Down(int index, TPressSource source, int key) {
  if (!Exists(index)) return {false, "There is no button " + std::to_string(index + 1)};
  if (holds_.contains(index)) return {};
  const TCommand record = window_.Commands().Get(index);
  const TOutcome outcome = Send(index, record, DownText(record), !HoldsWhilePressed(record));
  // A press that did not go out starts no hold: there is nothing to release.
  if (outcome.Failure != TFailure::None || !HoldsWhilePressed(record)) {
    return Report(index, source, outcome, false);
  }
  QTimer* timer = nullptr;
  if (record.RepeatInterval > 0) {
    timer = new QTimer(this);
    timer->setInterval(record.RepeatInterval);
    // A coarse timer may stretch a short interval by its slack.
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, index] { Repeat(index); });
    timer->start();
  }
  holds_.emplace(index, THold{record, source, key, timer});
  return {};
}

void TButtonActions::Repeat(int index) {
  const auto hold = holds_.find(index);
  if (hold == holds_.end()) return;
  const TOutcome outcome = Send(index, hold->second.Record, DownText(hold->second.Record), false);
  if (outcome.Failure == TFailure::None) return;
  // The output failed: the repeat stops and no release follows on it.
  const TPressSource source = hold->second.Source;
  EndHold(index, false);
  Report(index, source, outcome, true);
}

TButtonActions::TOutcome TButtonActions::EndHold(int index, bool sendRelease) {
  const auto hold = holds_.find(index);
  if (hold == holds_.end()) return {};
  // Taken out first, so that whatever the release sets off finds no hold left.
  THold ended = std::move(hold->second);
  holds_.erase(hold);
  // Possibly inside the timer's own signal: it goes once that has returned.
  if (ended.RepeatTimer != nullptr) {
    ended.RepeatTimer->stop();
    ended.RepeatTimer->deleteLater();
  }
  if (!sendRelease) return {};
  const std::string* release = UpText(ended.Record);
  return release != nullptr ? Send(index, ended.Record, *release, true) : TOutcome{};
}

TSendResult TButtonActions::ButtonUp(int index, TPressSource source) {
  const auto hold = holds_.find(index);
  if (hold == holds_.end()) return {};
  return Report(index, source, EndHold(index, true), false);
}

TSendResult TButtonActions::ButtonPress(int index, TPressSource source) {
  const TSendResult down = ButtonDown(index, source);
  if (!down.sent) return down;
  return ButtonUp(index, source);
}

void TButtonActions::EndLocalHolds() {
  std::vector<int> ending;
  for (const auto& [index, hold] : holds_) {
    if (hold.Source == TPressSource::Local) ending.push_back(index);
  }
  for (const int index : ending) Report(index, TPressSource::Local, EndHold(index, true), true);
}

void TButtonActions::EndAllHolds() {
  std::vector<std::pair<int, TPressSource>> ending;
  for (const auto& [index, hold] : holds_) ending.emplace_back(index, hold.Source);
  for (const auto& [index, source] : ending) Report(index, source, EndHold(index, true), true);
}

void TButtonActions::EndHoldsOn(uint8_t output) {
  std::vector<int> ending;
  for (const auto& [index, hold] : holds_) {
    if (hold.Record.Output == output) ending.push_back(index);
  }
  // The port failure has its own box; a release that fails as well adds none.
  for (const int index : ending) EndHold(index, true);
}

void TButtonActions::KeyUp(int key) {
  std::vector<int> ending;
  for (const auto& [index, hold] : holds_) {
    if (hold.Source == TPressSource::Local && hold.Key == key) ending.push_back(index);
  }
  for (const int index : ending) ButtonUp(index, TPressSource::Local);
}

void TButtonActions::FocusLeft(int index, const QWidget* focusNow, Qt::FocusReason reason) {
  const auto hold = holds_.find(index);
  if (hold == holds_.end() || hold->second.Source != TPressSource::Local) return;
  // A click on another grid button takes the focus but not the key still held
  // here: both holds go on, and the key's release ends this one.
  const auto* other = qobject_cast<const TImageButton*>(focusNow);
  if (hold->second.Key != 0 && other != nullptr && other->parent() == &window_ &&
      reason == Qt::MouseFocusReason) {
    return;
  }
  Report(index, TPressSource::Local, EndHold(index, true), true);
}

void TButtonActions::Watch(TImageButton* button) { button->installEventFilter(this); }

bool TButtonActions::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<TImageButton*>(watched);
  if (button == nullptr || window_.Closed()) return false;
  const int index = button->Tag() - 1;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress: {
      const auto* key =
          event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
      const bool press = key != nullptr
                             ? IsPressKey(*key)
                             : static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
      if (!press || !Exists(index) || !HoldsWhilePressed(window_.Commands().Get(index))) break;
      // A press whose failure was shown does not leave the button drawn down.
      return !Down(index, TPressSource::Local, key != nullptr ? key->key() : 0).sent &&
             window_.State().ShowComPortErrors;
    }
    case QEvent::MouseButtonRelease:
      // The mouse's hold only: a key may hold the same button.
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const auto hold = holds_.find(index);
        if (hold != holds_.end() && hold->second.Key == 0) ButtonUp(index, TPressSource::Local);
      }
      break;
    case QEvent::KeyRelease:
      // The focus may have moved to another grid button since the key went down.
      if (const auto* key = static_cast<QKeyEvent*>(event); IsPressKey(*key)) KeyUp(key->key());
      break;
    case QEvent::FocusOut:
      FocusLeft(index, QApplication::focusWidget(), static_cast<QFocusEvent*>(event)->reason());
      break;
    default:
      break;
  }
  return false;
}
