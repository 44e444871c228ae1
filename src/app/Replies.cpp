// What the outputs send and receive: each output's "available" event takes
// the received bytes out of its port and hands them to the reply log and the
// running reply check; a send adds its line and starts the check its button
// asks for. The outcome shows on the button as a frame and in its tooltip.
// User-interface thread only.
#include <algorithm>
#include <chrono>
#include <optional>

#include "app/MainWindow.h"
#include "app/RepliesWindow.h"
#include "core/ReplyPattern.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kOutputCount = 4;
constexpr std::chrono::milliseconds kOutcomeShown{2000};

QColor OutcomeColour(TReplyOutcome outcome) {
  switch (outcome) {
    case TReplyOutcome::Matched:
      return QColor(0x1E, 0xA0, 0x3C);
    case TReplyOutcome::Mismatched:
      return QColor(0xD8, 0x20, 0x20);
    default:
      return QColor(0xF0, 0xA0, 0x00);
  }
}

QString OutcomeText(TReplyOutcome outcome) {
  switch (outcome) {
    case TReplyOutcome::Matched:
      return TfmMain::tr("Last reply: as expected");
    case TReplyOutcome::Mismatched:
      return TfmMain::tr("Last reply: not as expected");
    case TReplyOutcome::NoAnswer:
      return TfmMain::tr("Last reply: no answer in time");
    case TReplyOutcome::Superseded:
      return TfmMain::tr("Last reply: cut short by a newer send on the output");
  }
  return {};
}

}  // namespace

void TfmMain::ConnectReplies() {
  const TOutputPorts ports = OutputPorts();
  for (int index = 0; index < kOutputCount; ++index) {
    ports[index]->SetOnTriggerAvail([this, output = index + 1](TVrlComPort& port, uint32_t count) {
      PortReceived(output, port, count);
    });
  }
  replyTimer_.setSingleShot(true);
  connect(&replyTimer_, &QTimer::timeout, this, &TfmMain::ReplyTimerExpired);
  fmReplies_ = new TfmReplies(replyLog_, this);
}

void TfmMain::ShowReplies() { fmReplies_->ShowWindow(); }

void TfmMain::PortReceived(int output, TVrlComPort& port, uint32_t count) {
  std::string bytes(count, '\0');
  bytes.resize(port.GetBlock(bytes.data(), count));
  if (bytes.empty()) return;
  fmReplies_->LinesChanged(
      replyLog_.Add(std::chrono::system_clock::now(), output, TReplyDirection::Received, bytes));
  if (const std::optional<TReplyResult> result = replyChecks_.Receive(output, bytes)) {
    ShowReplyOutcome(*result);
    ArmReplyTimer();
  }
}

void TfmMain::RecordSend(int output, int button, const std::string& bytes, const TCommand& record,
                         bool checksReply) {
  fmReplies_->LinesChanged(
      replyLog_.Add(std::chrono::system_clock::now(), output, TReplyDirection::Sent, bytes));
  const auto deadline =
      TReplyChecks::TClock::now() + std::chrono::milliseconds(record.ReplyTimeout);
  const TReplyPattern expected = checksReply ? ParseReplyPattern(record.Reply) : TReplyPattern{};
  if (const std::optional<TReplyResult> superseded =
          replyChecks_.Start(output, button, expected, deadline)) {
    ShowReplyOutcome(*superseded);
  }
  // The button's own last outcome goes with its new send.
  if (TImageButton* sender = GridButton(button)) sender->ClearOutcomeFrame();
  ArmReplyTimer();
}

void TfmMain::ReplyTimerExpired() {
  for (const TReplyResult& result : replyChecks_.Expire(TReplyChecks::TClock::now())) {
    ShowReplyOutcome(result);
  }
  ArmReplyTimer();
}

void TfmMain::ArmReplyTimer() {
  const std::optional<TReplyChecks::TClock::time_point> next = replyChecks_.NextDeadline();
  if (!next) {
    replyTimer_.stop();
    return;
  }
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(*next - TReplyChecks::TClock::now());
  replyTimer_.start(std::max(left, std::chrono::milliseconds(0)));
}

void TfmMain::ShowReplyOutcome(const TReplyResult& result) {
  // Hexadecimal only: received text in a tooltip could read as markup.
  const QByteArray bytes(result.Received.data(), static_cast<qsizetype>(result.Received.size()));
  const QString received =
      bytes.isEmpty() ? tr("Received: nothing")
                      : tr("Received: %1").arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
  if (TImageButton* button = GridButton(result.Button)) {
    button->ShowOutcomeFrame(OutcomeColour(result.Outcome), kOutcomeShown);
    button->setToolTip(OutcomeText(result.Outcome) + '\n' + received);
  }
}
