// What the button context menu offers and what its edit commands do to the
// command list, decided without a window. Stateless functions over the one
// command list; user-interface thread only, like the list itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/CommandList.h"

// The menu as it is about to open, for the current button.
struct TPopupMenuState {
  bool ShowEditItems = true;  // false: only "About..." shows
  std::string Title;          // "Button " + current button
  bool ButtonPaste = false;
  bool CaptionCutCopy = false;
  bool CaptionPaste = false;
  bool DataCutCopy = false;
  bool DataPaste = false;
};

// currentButton is 1-based; 0 (no button yet) or a number beyond the list
// offers no caption or data cut or copy. The list is only read (its clipboard
// accessors are not const).
TPopupMenuState PreparePopupMenu(TCommandList& commands, uint8_t currentButton, bool allowEditing);

enum class TEditCommand {
  CutCaption,
  CopyCaption,
  PasteCaption,
  CutData,
  CopyData,
  PasteData,
  CutButton,
  CopyButton,
  PasteButton,
};

// Runs one command on the current button and tells whether the grid is to be
// refreshed. Without a current button nothing happens. A button paste while the
// button clipboard is empty changes nothing, so a record never takes the
// clipboard's constructed-only fields.
bool RunEditCommand(TCommandList& commands, uint8_t currentButton, TEditCommand command);

// The bytes a serial data text sends, as upper-case hexadecimal pairs separated
// by blanks ("81 01 FF"); "no bytes" for a text without tokens.
std::string DataBytesInHex(std::string_view dataText);
// The same for the bytes a button sends for one of its texts, its check
// appended; for a check the table does not know, the text the click reports.
std::string FinalBytesInHex(std::string_view dataText, const TCommand& record);
