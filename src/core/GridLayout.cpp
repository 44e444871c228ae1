#include "core/GridLayout.h"

#include <string>

int ButtonNumber(TGridCell cell, int rows) { return (cell.Column - 1) * rows + cell.Row; }

TGridCell CellOfButton(int number, int rows) {
  return {(number - 1) / rows + 1, (number - 1) % rows + 1};
}

TGridRect TGridLayout::ButtonRect(int number) const {
  const TGridCell cell = CellOfButton(number, Rows);
  return {(cell.Column - 1) * ButtonWidth, (cell.Row - 1) * ButtonHeight, ButtonWidth,
          ButtonHeight};
}

TGridLayout LayOutGrid(int clientWidth, int clientHeight, int rows, int cols, int minClientWidth,
                       int minClientHeight) {
  TGridLayout layout;
  layout.Rows = rows;
  layout.Cols = cols;
  layout.ButtonWidth = clientWidth / cols;
  layout.ButtonHeight = clientHeight / rows;
  const int snappedWidth = layout.ButtonWidth * cols;
  const int snappedHeight = layout.ButtonHeight * rows;
  layout.ClientWidth = snappedWidth < minClientWidth ? clientWidth : snappedWidth;
  layout.ClientHeight = snappedHeight < minClientHeight ? clientHeight : snappedHeight;
  return layout;
}

void FitCommandCount(TCommandList& commands, int count) {
  while (commands.Count() < count) {
    const int index = commands.Add();
    commands.Get(index).Caption = std::to_string(index + 1);
  }
  while (commands.Count() > count) commands.Delete(commands.Count() - 1);
}
