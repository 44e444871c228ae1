// Button numbering and layout arithmetic of the main window's grid, and fitting
// the command list to the grid's size. Plain functions over values; the main
// window calls them on the user-interface thread.
#pragma once

#include "core/CommandList.h"

constexpr int kMinGridSide = 1;
constexpr int kMaxGridSide = 10;
// Where the grid buttons stand before the first layout replaces it.
constexpr int kStartButtonWidth = 49;
constexpr int kStartButtonHeight = 21;

// A grid place, both 1-based.
struct TGridCell {
  int Column = 1;
  int Row = 1;
  bool operator==(const TGridCell&) const = default;
};

struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TGridRect&) const = default;
};

// Buttons are numbered column by column from 1: the first column holds 1..rows.
int ButtonNumber(TGridCell cell, int rows);
TGridCell CellOfButton(int number, int rows);

// One layout of the grid in a client area: every button has the same size, the
// remainder of the divisions is given up by snapping the client area to the
// buttons, except in a dimension where the snapped size would fall below the
// minimum client size; there the client area keeps its size.
struct TGridLayout {
  int Rows = 1;
  int Cols = 1;
  int ButtonWidth = 0;
  int ButtonHeight = 0;
  int ClientWidth = 0;
  int ClientHeight = 0;

  TGridRect ButtonRect(int number) const;
};

TGridLayout LayOutGrid(int clientWidth, int clientHeight, int rows, int cols,
                       int minClientWidth = 0, int minClientHeight = 0);

// Appends records (captioned with their button number) or deletes records from
// the end until the list holds count records; records below count stay as they are.
void FitCommandCount(TCommandList& commands, int count);
