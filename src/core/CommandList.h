// The in-memory records of the grid buttons, in button-number order, with the
// clipboards of the editing commands. The list owns its records; only the
// user-interface thread touches it, so it takes no lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Colour.h"

// How a button's check is appended: as its bytes, or as upper-case hexadecimal
// characters (two per byte) for text protocols.
enum class TChecksumForm : uint8_t { Binary, Hex };

constexpr int32_t kDefaultReplyTimeout = 1000;

// One grid button's record. Constructed only, the first six fields are zero;
// the list puts the records it adds to their defaults. The fields after
// ImageIndex start at their defaults, so a button without them behaves as a
// plain click button that checks no reply.
struct TCommand {
  std::string Caption;
  std::string Data;
  uint8_t Output = 0;
  TColour ButtonColour = 0;
  TColour TextColour = 0;
  int32_t ImageIndex = 0;
  // Sent when the button goes down; a button with it sends Data on release.
  std::string PressData{};
  // Milliseconds between repeats while held: 0 (off) or 20..60000.
  int32_t RepeatInterval = 0;
  // The name of the check appended to every text the button sends; empty: none.
  std::string Checksum{};
  // How many leading bytes the check leaves out.
  int32_t ChecksumFrom = 0;
  TChecksumForm ChecksumForm = TChecksumForm::Binary;
  // The serial data text of the bytes expected back after a send ("??" for any
  // one byte); empty: none. No checksum applies to it.
  std::string Reply{};
  // How long the reply may take, in milliseconds: 10..60000.
  int32_t ReplyTimeout = kDefaultReplyTimeout;

  void Assign(const TCommand& source);
  void SetDefaults();
  bool operator==(const TCommand&) const = default;
};

// A repeat interval brought into its range: 0 and below are off, 1..19 give 20,
// above 60000 gives 60000.
int32_t ClampRepeatInterval(int32_t milliseconds);

// A reply timeout brought into 10..60000 ms.
int32_t ClampReplyTimeout(int32_t milliseconds);

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
