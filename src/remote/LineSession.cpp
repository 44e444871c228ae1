#include "remote/LineSession.h"

#include <exception>
#include <utility>

#include "remote/LineProtocol.h"
#include "remote/TokenCompare.h"

namespace {

// Causes and echoed words stay on their answer line.
std::string Error(std::string_view cause) {
  std::string line = "ERR ";
  for (char c : cause) line.push_back(static_cast<unsigned char>(c) < 32 || c == 127 ? ' ' : c);
  return line + "\n";
}

}  // namespace

TLineSession::TLineSession(TRemoteHolds& holds, std::string token)
    : holds_(holds),
      client_(holds.NewClient()),
      token_(std::move(token)),
      authorised_(token_.empty()) {}

TLineSession::~TLineSession() { holds_.Disconnected(client_); }

std::string TLineSession::Receive(std::string_view bytes) {
  std::string answer;
  if (closed_) return answer;
  pending_.append(bytes);
  std::string_view rest = pending_;
  while (!closed_) {
    const TLineScan scan = ScanLine(rest);
    if (scan.Status == TLineScanStatus::Incomplete) break;
    if (scan.Status == TLineScanStatus::TooLong) {
      answer += Error("line longer than " + std::to_string(kMaxLineLength) + " bytes");
      closed_ = true;
      break;
    }
    try {
      answer += Answer(scan.Line);
    } catch (const std::exception& failure) {
      // A remote command never reaches the panel's error box.
      answer += Error(failure.what());
    }
    rest.remove_prefix(scan.Consumed);
  }
  pending_ = closed_ ? std::string() : std::string(rest);
  return answer;
}

std::string TLineSession::Answer(std::string_view line) {
  const TLineCommand command = ParseLineCommand(line);
  if (command.Verb == TLineVerb::Empty) return {};
  if (!authorised_) {
    if (command.Verb == TLineVerb::Auth && TokensMatch(command.Argument, token_)) {
      authorised_ = true;
      return "OK\n";
    }
    closed_ = true;
    return Error(command.Verb == TLineVerb::Auth ? "wrong token" : "AUTH with the token first");
  }
  switch (command.Verb) {
    case TLineVerb::Press:
      return ButtonAnswer(TRemoteAction::Press, command.Number, command.Argument);
    case TLineVerb::Down:
      return ButtonAnswer(TRemoteAction::Down, command.Number, command.Argument);
    case TLineVerb::Up:
      return ButtonAnswer(TRemoteAction::Up, command.Number, command.Argument);
    case TLineVerb::List:
      return List();
    case TLineVerb::Auth:
      // A second AUTH on an open connection changes nothing.
      return token_.empty() || TokensMatch(command.Argument, token_) ? "OK\n"
                                                                     : Error("wrong token");
    case TLineVerb::Empty:
    case TLineVerb::Invalid:
      break;
  }
  return Error(command.Error);
}

std::string TLineSession::ButtonAnswer(TRemoteAction action, int number,
                                       const std::string& written) {
  const TRemotePanel& panel = holds_.Panel();
  if (number < 1 || number > panel.Rows() * panel.Columns()) {
    return Error("no button " + written + " on this panel");
  }
  const TRemoteOutcome outcome = holds_.Act(client_, action, number);
  return outcome.Sent ? "OK\n" : Error(outcome.Cause);
}

// One line per button, "BUTTON <number> <row> <column> <output> <caption>",
// then "OK".
std::string TLineSession::List() const {
  std::string list;
  for (const TRemoteButton& button : holds_.Panel().Buttons()) {
    list += "BUTTON " + std::to_string(button.Number) + ' ' + std::to_string(button.Row) + ' ' +
            std::to_string(button.Column) + ' ' + std::to_string(button.Output) + ' ';
    for (char c : button.Caption) list.push_back(static_cast<unsigned char>(c) < 32 ? ' ' : c);
    list += '\n';
  }
  return list + "OK\n";
}
