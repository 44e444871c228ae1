#include "core/EditCommands.h"

#include "core/Checksum.h"
#include "core/SerialData.h"

namespace {

// The current button's record, or none when there is no such button.
const TCommand* CurrentRecord(const TCommandList& commands, uint8_t currentButton) {
  if (currentButton == 0 || currentButton > commands.Count()) return nullptr;
  return &commands.Get(currentButton - 1);
}

}  // namespace

TPopupMenuState PreparePopupMenu(TCommandList& commands, uint8_t currentButton, bool allowEditing) {
  TPopupMenuState menu;
  menu.ShowEditItems = allowEditing;
  menu.Title = "Button " + std::to_string(currentButton);
  menu.ButtonPaste = !commands.ClipboardEmpty();
  if (const TCommand* record = CurrentRecord(commands, currentButton)) {
    menu.CaptionCutCopy = !record->Caption.empty();
    menu.DataCutCopy = !record->Data.empty();
  }
  menu.CaptionPaste = !commands.CaptionClipboard().empty();
  menu.DataPaste = !commands.DataClipboard().empty();
  return menu;
}

bool RunEditCommand(TCommandList& commands, uint8_t currentButton, TEditCommand command) {
  if (currentButton == 0) return false;
  const int index = currentButton - 1;
  switch (command) {
    case TEditCommand::CutButton:
      commands.CutButton(index);
      return true;
    case TEditCommand::CopyButton:
      commands.CopyButton(index);
      return true;
    case TEditCommand::PasteButton:
      if (commands.ClipboardEmpty()) return false;
      commands.PasteButton(index);
      return true;
    default:
      break;
  }
  if (index >= commands.Count()) return false;
  TCommand& record = commands.Get(index);
  switch (command) {
    case TEditCommand::CopyCaption:
      commands.CaptionClipboard() = record.Caption;
      return false;
    case TEditCommand::CutCaption:
      commands.CaptionClipboard() = record.Caption;
      record.Caption.clear();
      return true;
    case TEditCommand::PasteCaption:
      record.Caption = commands.CaptionClipboard();
      return true;
    case TEditCommand::CopyData:
      commands.DataClipboard() = record.Data;
      return false;
    case TEditCommand::CutData:
      commands.DataClipboard() = record.Data;
      record.Data.clear();
      return true;
    case TEditCommand::PasteData:
      record.Data = commands.DataClipboard();
      return true;
    default:
      return false;
  }
}

namespace {

std::string BytesInHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  if (bytes.empty()) return "no bytes";
  std::string hex;
  hex.reserve(bytes.size() * 3);
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (!hex.empty()) hex += ' ';
    hex += kDigits[value >> 4];
    hex += kDigits[value & 0x0F];
  }
  return hex;
}

}  // namespace

std::string DataBytesInHex(std::string_view dataText) {
  return BytesInHex(DecodeSerialData(dataText));
}

std::string FinalBytesInHex(std::string_view dataText, const TCommand& record) {
  // An empty text sends nothing at all, not even a check.
  if (dataText.empty()) return BytesInHex({});
  try {
    return BytesInHex(FinalBytes(dataText, record));
  } catch (const EUnknownChecksum& failure) {
    return failure.what();
  }
}
