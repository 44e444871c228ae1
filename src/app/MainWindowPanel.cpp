#include "app/MainWindowPanel.h"

#include <algorithm>

#include "app/ButtonActions.h"
#include "app/MainWindow.h"
#include "core/GridLayout.h"
#include "widgets/TextEncoding.h"

int TMainWindowPanel::Rows() const { return fmMain_.State().Rows; }

int TMainWindowPanel::Columns() const { return fmMain_.State().Cols; }

std::vector<TRemoteButton> TMainWindowPanel::Buttons() const {
  const TMainWindowState& state = fmMain_.State();
  std::vector<TRemoteButton> buttons;
  // While the configuration dialog applies a new grid size the list may not
  // have caught up with it yet.
  const int count = std::min(state.Rows * state.Cols, fmMain_.Commands().Count());
  for (int number = 1; number <= count; ++number) {
    const TCommand& record = fmMain_.Commands().Get(number - 1);
    const TGridCell cell = CellOfButton(number, state.Rows);
    buttons.push_back({number, cell.Row, cell.Column,
                       DecodeText(record.Caption, state.TextIsUtf8).toStdString(), record.Output});
  }
  return buttons;
}

std::vector<TRemoteOutput> TMainWindowPanel::Outputs() const {
  std::vector<TRemoteOutput> outputs;
  int output = 0;
  for (const TVrlComPort* port : fmMain_.OutputPorts()) {
    outputs.push_back(
        {++output, port->ComNumber(), port->PortMap().DevicePath(port->ComNumber()), port->Open()});
  }
  return outputs;
}

bool TMainWindowPanel::Held(int number) const { return fmMain_.ButtonActions().Held(number - 1); }

TRemoteOutcome TMainWindowPanel::Act(TRemoteAction action, int number) {
  const int index = number - 1;
  TSendResult result;
  switch (action) {
    case TRemoteAction::Press:
      result = fmMain_.ButtonPress(index, TPressSource::Remote);
      break;
    case TRemoteAction::Down:
      result = fmMain_.ButtonDown(index, TPressSource::Remote);
      break;
    case TRemoteAction::Up:
      result = fmMain_.ButtonUp(index, TPressSource::Remote);
      break;
  }
  return {result.sent, result.cause};
}
