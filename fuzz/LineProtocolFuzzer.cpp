// libFuzzer target: any bytes as what a line-protocol client sends, cut into
// reads at a place the input picks, with and without a token. Every line the
// scanner cuts is no longer than allowed, every answer is whole lines, nothing
// reaches the panel for a button it does not have, and whatever was held is
// released when the connection ends.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "remote/LineProtocol.h"
#include "remote/LineSession.h"

namespace {

class TCountingPanel : public TRemotePanel {
 public:
  int Rows() const override { return 4; }
  int Columns() const override { return 3; }
  std::vector<TRemoteButton> Buttons() const override { return {{1, 1, 1, "a\nb", 1}}; }
  std::vector<TRemoteOutput> Outputs() const override { return {}; }
  bool Held(int number) const override { return held_.count(number) != 0; }
  TRemoteOutcome Act(TRemoteAction action, int number) override {
    if (number < 1 || number > Rows() * Columns()) __builtin_trap();
    if (action == TRemoteAction::Down) held_.insert(number);
    if (action == TRemoteAction::Up) held_.erase(number);
    return {number % 2 == 0, "Com port error.\r\n(Data not sent)"};
  }
  std::set<int> held_;
};

void CheckScanner(std::string_view bytes) {
  while (true) {
    const TLineScan scan = ScanLine(bytes);
    if (scan.Status != TLineScanStatus::Line) break;
    if (scan.Line.size() > kMaxLineLength || scan.Consumed > bytes.size()) __builtin_trap();
    if (scan.Line.find('\n') != std::string_view::npos) __builtin_trap();
    ParseLineCommand(scan.Line);
    bytes.remove_prefix(scan.Consumed);
  }
}

void CheckSession(std::string_view bytes, size_t split, const std::string& token) {
  TCountingPanel panel;
  {
    TRemoteHolds holds(panel);
    TLineSession session(holds, token);
    const std::string answer =
        session.Receive(bytes.substr(0, split)) + session.Receive(bytes.substr(split));
    if (!answer.empty() && answer.back() != '\n') __builtin_trap();
    if (answer.find('\r') != std::string::npos) __builtin_trap();
  }
  if (!panel.held_.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t split = bytes.empty() ? 0 : data[0] % (bytes.size() + 1);
  CheckScanner(bytes);
  CheckSession(bytes, split, "");
  CheckSession(bytes, split, "t0ken");
  return 0;
}
