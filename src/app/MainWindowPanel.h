// The main window as remote control sees it: its grid's buttons and outputs,
// and pressing, holding and releasing a button by its grid number as the
// operator would, but without any message box. Owned by
// the main window beside its remote control; user-interface thread only.
#pragma once

#include "remote/RemotePanel.h"

class TfmMain;

class TMainWindowPanel : public TRemotePanel {
 public:
  explicit TMainWindowPanel(TfmMain& fmMain) : fmMain_(fmMain) {}

  int Rows() const override;
  int Columns() const override;
  std::vector<TRemoteButton> Buttons() const override;
  std::vector<TRemoteOutput> Outputs() const override;
  bool Held(int number) const override;
  TRemoteOutcome Act(TRemoteAction action, int number) override;

 private:
  TfmMain& fmMain_;
};
