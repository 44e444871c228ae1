#include "app/MainWindowPanel.h"

#include <exception>

#include "app/MainWindow.h"
#include "core/GridLayout.h"
#include "core/SerialData.h"
#include "widgets/TextEncoding.h"

int TMainWindowPanel::Rows() const { return fmMain_.State().Rows; }

int TMainWindowPanel::Columns() const { return fmMain_.State().Cols; }

std::vector<TRemoteButton> TMainWindowPanel::Buttons() const {
  const TMainWindowState& state = fmMain_.State();
  std::vector<TRemoteButton> buttons;
  for (int number = 1; number <= state.Rows * state.Cols; ++number) {
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

TRemoteOutcome TMainWindowPanel::Act(TRemoteAction action, int number) {
  if (action != TRemoteAction::Press) return {false, "this panel cannot hold buttons"};
  const TCommand& record = fmMain_.Commands().Get(number - 1);
  if (record.Data.empty() || record.Output < 1 || record.Output > fmMain_.OutputPorts().size()) {
    return {};
  }
  try {
    fmMain_.OutputPorts()[record.Output - 1]->SendString(DecodeSerialData(record.Data));
  } catch (const std::exception& failure) {
    return {false, failure.what()};
  }
  return {};
}
