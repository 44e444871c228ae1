#include "core/CommandList.h"

#include <algorithm>
#include <stdexcept>
#include <string>

// Every field is copied, so a field added to the record cannot be forgotten here.
void TCommand::Assign(const TCommand& source) { *this = source; }

void TCommand::SetDefaults() {
  Caption.clear();
  Data.clear();
  Output = 1;
  ButtonColour = kColourButtonFace;
  TextColour = kColourWindowText;
  ImageIndex = -1;
  PressData.clear();
  RepeatInterval = 0;
  Checksum.clear();
  ChecksumFrom = 0;
  ChecksumForm = TChecksumForm::Binary;
  Reply.clear();
  ReplyTimeout = kDefaultReplyTimeout;
}

int32_t ClampRepeatInterval(int32_t milliseconds) {
  constexpr int32_t kShortest = 20;
  constexpr int32_t kLongest = 60000;
  if (milliseconds <= 0) return 0;
  return std::clamp(milliseconds, kShortest, kLongest);
}

int32_t ClampReplyTimeout(int32_t milliseconds) {
  constexpr int32_t kShortest = 10;
  constexpr int32_t kLongest = 60000;
  return std::clamp(milliseconds, kShortest, kLongest);
}

TCommandList::TCommandList() = default;

TCommand& TCommandList::Get(int index) {
  if (index < 0 || index >= Count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
  return *records_[static_cast<size_t>(index)];
}

const TCommand& TCommandList::Get(int index) const {
  return const_cast<TCommandList*>(this)->Get(index);
}

int TCommandList::Count() const { return static_cast<int>(records_.size()); }

int TCommandList::Add() {
  auto record = std::make_unique<TCommand>();
  record->SetDefaults();
  records_.push_back(std::move(record));
  return Count() - 1;
}

void TCommandList::Delete(int index) {
  Get(index);  // the list's index error for a bad index
  records_.erase(records_.begin() + index);
}

bool TCommandList::CutButton(int index) {
  if (!CopyButton(index)) return false;
  Get(index).SetDefaults();
  return true;
}

bool TCommandList::CopyButton(int index) {
  if (index >= Count()) return false;
  clipboard_.Assign(Get(index));
  clipboardEmpty_ = false;
  return true;
}

bool TCommandList::PasteButton(int index) {
  if (index >= Count()) return false;
  Get(index).Assign(clipboard_);
  return true;
}
