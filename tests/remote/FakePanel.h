// A panel of rows x columns buttons, each of which holds while pressed, that
// records every action it is asked for and fails the buttons it is told to
// (a failed down holds nothing). Test thread only.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "remote/RemotePanel.h"

class TFakePanel : public TRemotePanel {
 public:
  TFakePanel(int rows = 5, int columns = 3) : rows_(rows), columns_(columns) {}

  int Rows() const override { return rows_; }
  int Columns() const override { return columns_; }
  std::vector<TRemoteButton> Buttons() const override {
    std::vector<TRemoteButton> buttons;
    for (int number = 1; number <= rows_ * columns_; ++number) {
      buttons.push_back({number, (number - 1) % rows_ + 1, (number - 1) / rows_ + 1,
                         "Caption " + std::to_string(number), 1});
    }
    return buttons;
  }
  std::vector<TRemoteOutput> Outputs() const override { return {{1, 5, "/dev/pts/9", true}}; }
  bool Held(int number) const override { return held_.count(number) != 0; }
  TRemoteOutcome Act(TRemoteAction action, int number) override {
    static constexpr const char* kNames[] = {"press", "down", "up"};
    actions_.push_back(std::string(kNames[static_cast<int>(action)]) + ' ' +
                       std::to_string(number));
    if (failing_.count(number) != 0) return {false, "Com port error.\r\n(Data not sent)"};
    if (action == TRemoteAction::Down) held_.insert(number);
    if (action == TRemoteAction::Up) held_.erase(number);
    return {};
  }

  void Fail(int number) { failing_.insert(number); }
  // The operator holds the button.
  void HoldLocally(int number) { held_.insert(number); }
  // "press 3", "down 3", "up 3", in call order.
  const std::vector<std::string>& Actions() const { return actions_; }

 private:
  int rows_;
  int columns_;
  std::set<int> failing_;
  std::set<int> held_;
  std::vector<std::string> actions_;
};
