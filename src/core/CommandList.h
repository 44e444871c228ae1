// The in-memory records of the grid buttons, in button-number order, with the
// clipboards of the editing commands. The list owns its records; only the
// user-interface thread touches it, so it takes no lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Colour.h"

// One grid button's record. Constructed only, every field is zero; the list puts
// the records it adds to their defaults.
struct TCommand {
  std::string Caption;
  std::string Data;
  uint8_t Output = 0;
  TColour ButtonColour = 0;
  TColour TextColour = 0;
  int32_t ImageIndex = 0;

  void Assign(const TCommand& source);
  void SetDefaults();
};

class TCommandList {
 public:
  TCommandList();

  // Throws std::out_of_range for an index outside 0..Count()-1.
  TCommand& Get(int index);
  const TCommand& Get(int index) const;
  int Count() const;

  // Appends a record put to its defaults and returns its index.
  int Add();
  void Delete(int index);

  // The whole-button clipboard commands; each returns false and changes nothing
  // when index is not below Count().
  bool CutButton(int index);
  bool CopyButton(int index);
  bool PasteButton(int index);

  const TCommand& Clipboard() const { return clipboard_; }
  bool ClipboardEmpty() const { return clipboardEmpty_; }

  // One copied caption text and one copied data text, apart from every record.
  std::string& CaptionClipboard() { return captionClipboard_; }
  std::string& DataClipboard() { return dataClipboard_; }

 private:
  std::vector<std::unique_ptr<TCommand>> records_;
  TCommand clipboard_;
  bool clipboardEmpty_ = true;
  std::string captionClipboard_;
  std::string dataClipboard_;
};
