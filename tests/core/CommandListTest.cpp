// The button records and their whole-button clipboard.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/CommandList.h"

namespace {

TCommand Record(std::string caption, std::string data, uint8_t output, TColour button, TColour text,
                int32_t image) {
  return TCommand{std::move(caption), std::move(data), output, button, text, image};
}

const TCommand kDefaults = Record("", "", 1, 0xFF00000F, 0xFF000008, -1);
const TCommand kPower = Record("Power", "[PWR1],13", 3, 0x0000FF00, 0x00FFFFFF, 7);
const TCommand kPanLeft{"Pan\\nleft",
                        "$81 $01 $06 $01 $08 $08 $03 $03 $FF",
                        2,
                        0x00FF0000,
                        0x00FFFFFF,
                        12,
                        "$81 $01 $06 $01 $08 $08 $01 $03 $FF",
                        100,
                        "CRC-16/MODBUS",
                        1,
                        TChecksumForm::Hex,
                        "$90 $41 ?? $FF",
                        250};

class CommandListTest : public testing::Test {
 protected:
  CommandListTest() {
    for (int i = 0; i < 3; ++i) list_.Add();
    list_.Get(1).Assign(kPower);
  }
  TCommandList list_;
};

TEST_F(CommandListTest, NewListAndAddedRecords) {
  TCommandList fresh;
  EXPECT_EQ(fresh.Count(), 0);
  EXPECT_TRUE(fresh.ClipboardEmpty());
  EXPECT_EQ(fresh.Clipboard(), Record("", "", 0, 0, 0, 0));  // constructed only
  EXPECT_EQ(fresh.Add(), 0);
  EXPECT_EQ(fresh.Get(0), kDefaults);
  EXPECT_THROW(fresh.Get(1), std::out_of_range);
  EXPECT_THROW(fresh.Get(-1), std::out_of_range);
}

TEST_F(CommandListTest, CutCopyAndPaste) {
  EXPECT_TRUE(list_.CopyButton(1));
  EXPECT_FALSE(list_.ClipboardEmpty());
  list_.Get(1).Caption = "changed";
  EXPECT_EQ(list_.Clipboard(), kPower);  // a copy, not a reference

  EXPECT_TRUE(list_.CutButton(1));
  EXPECT_EQ(list_.Get(1), kDefaults);  // no button number comes back as caption
  EXPECT_EQ(list_.Clipboard().Caption, "changed");

  EXPECT_TRUE(list_.PasteButton(2));
  EXPECT_EQ(list_.Get(2).Caption, "changed");
  EXPECT_EQ(list_.Get(2).Data, kPower.Data);

  list_.Delete(2);
  EXPECT_FALSE(list_.ClipboardEmpty());  // never set back
}

TEST_F(CommandListTest, TheWholeButtonClipboardCarriesTheHoldAndCheckFields) {
  list_.Get(0).Assign(kPanLeft);
  EXPECT_EQ(list_.Get(0), kPanLeft);
  EXPECT_TRUE(list_.CutButton(0));
  EXPECT_EQ(list_.Get(0), kDefaults);
  EXPECT_TRUE(list_.PasteButton(2));
  EXPECT_EQ(list_.Get(2), kPanLeft);
}

TEST(RepeatInterval, IsOffOrWithinItsRange) {
  const std::pair<int32_t, int32_t> cases[] = {
      {-5, 0}, {0, 0}, {1, 20}, {19, 20}, {20, 20}, {250, 250}, {60000, 60000}, {60001, 60000}};
  for (const auto& [stored, used] : cases) EXPECT_EQ(ClampRepeatInterval(stored), used) << stored;
}

TEST_F(CommandListTest, OperationsBeyondTheEndChangeNothing) {
  TCommandList fresh;
  fresh.Add();
  for (int index : {1, 2, 100}) {
    EXPECT_FALSE(fresh.CopyButton(index));
    EXPECT_FALSE(fresh.CutButton(index));
    EXPECT_FALSE(fresh.PasteButton(index));
  }
  EXPECT_TRUE(fresh.ClipboardEmpty());
  EXPECT_EQ(fresh.Get(0), kDefaults);
}

TEST_F(CommandListTest, DeleteMovesLaterRecordsDown) {
  list_.Get(2).Caption = "third";
  list_.Delete(0);
  ASSERT_EQ(list_.Count(), 2);
  EXPECT_EQ(list_.Get(0), kPower);
  EXPECT_EQ(list_.Get(1).Caption, "third");
  EXPECT_THROW(list_.Delete(2), std::out_of_range);
}

TEST_F(CommandListTest, TextClipboardsAreApartFromTheRecords) {
  list_.CaptionClipboard() = list_.Get(1).Caption;
  list_.DataClipboard() = list_.Get(1).Data;
  list_.Get(1).Caption.clear();
  EXPECT_EQ(list_.CaptionClipboard(), "Power");
  EXPECT_EQ(list_.DataClipboard(), "[PWR1],13");
  EXPECT_EQ(list_.Clipboard().Caption, "");
}

}  // namespace
