#include "remote/LineProtocol.h"

#include <algorithm>

#include "core/IniFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Splits off the first word; the rest comes back trimmed.
std::string_view FirstWord(std::string_view& text) {
  const size_t end = std::min(text.find_first_of(" \t"), text.size());
  const std::string_view word = text.substr(0, end);
  text = Trimmed(text.substr(end));
  return word;
}

TLineCommand Invalid(std::string error) {
  TLineCommand command;
  command.Error = std::move(error);
  return command;
}

struct TVerbName {
  std::string_view Name;
  TLineVerb Verb;
};

constexpr TVerbName kVerbs[] = {
    {"PRESS", TLineVerb::Press}, {"DOWN", TLineVerb::Down}, {"UP", TLineVerb::Up},
    {"LIST", TLineVerb::List},   {"AUTH", TLineVerb::Auth},
};

TLineCommand ButtonCommand(TLineVerb verb, std::string_view verbName, std::string_view rest) {
  const std::string_view number = FirstWord(rest);
  if (number.empty()) return Invalid(std::string(verbName) + " needs a button number");
  if (!rest.empty()) return Invalid(std::string(verbName) + " takes one button number");
  if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return Invalid("not a button number: " + std::string(number));
  }
  TLineCommand command;
  command.Verb = verb;
  command.Argument = std::string(number);
  for (char digit : number) {
    command.Number = std::min(command.Number * 10 + (digit - '0'), TLineCommand::kNumberTooLarge);
  }
  return command;
}

}  // namespace

TLineScan ScanLine(std::string_view buffer) {
  const size_t end = buffer.find('\n');
  if (end == std::string_view::npos) {
    // One byte more than the longest line may still be the CR of its end.
    if (buffer.size() > kMaxLineLength + 1) return {TLineScanStatus::TooLong, {}, 0};
    return {};
  }
  std::string_view line = buffer.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineLength) return {TLineScanStatus::TooLong, {}, 0};
  return {TLineScanStatus::Line, line, end + 1};
}

TLineCommand ParseLineCommand(std::string_view line) {
  std::string_view rest = Trimmed(line);
  if (rest.empty()) return {TLineVerb::Empty, 0, {}, {}};
  const std::string_view verbName = FirstWord(rest);
  const auto verb = std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const TVerbName& known) {
    return EqualsIgnoringCase(known.Name, verbName);
  });
  if (verb == std::end(kVerbs)) return Invalid("unknown command: " + std::string(verbName));
  switch (verb->Verb) {
    case TLineVerb::Press:
    case TLineVerb::Down:
    case TLineVerb::Up:
      return ButtonCommand(verb->Verb, verb->Name, rest);
    case TLineVerb::List:
      if (!rest.empty()) return Invalid("LIST takes no arguments");
      return {TLineVerb::List, 0, {}, {}};
    case TLineVerb::Auth:
      if (rest.empty()) return Invalid("AUTH needs the token");
      return {TLineVerb::Auth, 0, std::string(rest), {}};
    case TLineVerb::Empty:
    case TLineVerb::Invalid:
      break;
  }
  return Invalid("unknown command: " + std::string(verbName));
}
