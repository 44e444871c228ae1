// The context menu's enable rules and the caption, data and whole-button
// commands on the command list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/EditCommands.h"

namespace {

class EditCommandsTest : public testing::Test {
 protected:
  EditCommandsTest() {
    for (int number = 1; number <= 10; ++number) {
      list_.Add();
      list_.Get(number - 1).Caption = std::to_string(number);
    }
    list_.Get(4).Assign(TCommand{"Power", "[PWR1],13", 3, 0x0000FF00, 0x00FFFFFF, 7});
  }
  TCommandList list_;
};

TEST_F(EditCommandsTest, FreshListOffersNoPasteAndTitlesTheButton) {
  const TPopupMenuState menu = PreparePopupMenu(list_, 5, true);
  EXPECT_TRUE(menu.ShowEditItems);
  EXPECT_EQ(menu.Title, "Button 5");
  EXPECT_FALSE(menu.ButtonPaste);
  EXPECT_FALSE(menu.CaptionPaste);
  EXPECT_FALSE(menu.DataPaste);
  EXPECT_TRUE(menu.CaptionCutCopy);
  EXPECT_TRUE(menu.DataCutCopy);
  EXPECT_FALSE(PreparePopupMenu(list_, 5, false).ShowEditItems);
}

TEST_F(EditCommandsTest, EmptyFieldsOfferNoCutOrCopy) {
  list_.Get(1).Caption.clear();
  const TPopupMenuState menu = PreparePopupMenu(list_, 2, true);
  EXPECT_FALSE(menu.CaptionCutCopy);
  EXPECT_FALSE(menu.DataCutCopy);
  for (const uint8_t beyond : {0, 11, 255}) {
    const TPopupMenuState none = PreparePopupMenu(list_, beyond, true);
    EXPECT_FALSE(none.CaptionCutCopy) << int(beyond);
    EXPECT_FALSE(none.DataCutCopy) << int(beyond);
  }
}

TEST_F(EditCommandsTest, CaptionAndDataCommandsChangeOneFieldOfOneRecord) {
  struct TStep {
    uint8_t button;
    TEditCommand command;
    bool refresh;
  };
  const std::vector<TStep> steps = {
      {5, TEditCommand::CopyCaption, false}, {8, TEditCommand::PasteCaption, true},
      {5, TEditCommand::CopyData, false},    {9, TEditCommand::PasteData, true},
      {3, TEditCommand::CutCaption, true},   {5, TEditCommand::CutData, true},
  };
  for (const TStep& step : steps) {
    EXPECT_EQ(RunEditCommand(list_, step.button, step.command), step.refresh);
  }
  TCommand eight = list_.Get(7);
  EXPECT_EQ(eight.Caption, "Power");
  EXPECT_EQ(eight.Data, "");
  EXPECT_EQ(eight.Output, 1);
  EXPECT_EQ(eight.ImageIndex, -1);
  EXPECT_EQ(list_.Get(8).Caption, "9");
  EXPECT_EQ(list_.Get(8).Data, "[PWR1],13");
  EXPECT_EQ(list_.Get(2).Caption, "");
  EXPECT_EQ(list_.CaptionClipboard(), "3");
  EXPECT_EQ(list_.Get(4).Caption, "Power");
  EXPECT_EQ(list_.Get(4).Data, "");
  EXPECT_EQ(list_.Get(4).Output, 3);
  EXPECT_EQ(list_.DataClipboard(), "[PWR1],13");
  EXPECT_TRUE(list_.ClipboardEmpty());  // the button clipboard is apart

  const TPopupMenuState menu = PreparePopupMenu(list_, 1, true);
  EXPECT_TRUE(menu.CaptionPaste);
  EXPECT_TRUE(menu.DataPaste);
  EXPECT_FALSE(menu.ButtonPaste);
}

TEST_F(EditCommandsTest, ButtonCutThenPasteOnTwoButtons) {
  const TCommand five = list_.Get(4);
  EXPECT_TRUE(RunEditCommand(list_, 5, TEditCommand::CutButton));
  EXPECT_TRUE(PreparePopupMenu(list_, 1, true).ButtonPaste);
  EXPECT_TRUE(RunEditCommand(list_, 9, TEditCommand::PasteButton));
  EXPECT_TRUE(RunEditCommand(list_, 4, TEditCommand::PasteButton));
  for (const int index : {8, 3}) {
    EXPECT_EQ(list_.Get(index).Caption, five.Caption);
    EXPECT_EQ(list_.Get(index).Data, five.Data);
    EXPECT_EQ(list_.Get(index).ButtonColour, five.ButtonColour);
    EXPECT_EQ(list_.Get(index).ImageIndex, five.ImageIndex);
  }
  EXPECT_EQ(list_.Get(4).Caption, "");
  EXPECT_EQ(list_.Get(4).ButtonColour, kColourButtonFace);
  // A later caption copy leaves the button clipboard alone.
  RunEditCommand(list_, 1, TEditCommand::CopyCaption);
  EXPECT_EQ(list_.Clipboard().Caption, "Power");
}

TEST_F(EditCommandsTest, NoCurrentButtonOrEmptyClipboardChangesNothing) {
  for (const TEditCommand command : {TEditCommand::CutButton, TEditCommand::CopyButton,
                                     TEditCommand::PasteButton, TEditCommand::CutCaption}) {
    EXPECT_FALSE(RunEditCommand(list_, 0, command));
  }
  EXPECT_TRUE(list_.ClipboardEmpty());
  EXPECT_FALSE(RunEditCommand(list_, 2, TEditCommand::PasteButton));
  EXPECT_EQ(list_.Get(1).Caption, "2");
  EXPECT_EQ(list_.Get(1).Output, 1);
  // Beyond the list the whole-button commands change nothing yet still refresh.
  EXPECT_TRUE(RunEditCommand(list_, 11, TEditCommand::CopyButton));
  EXPECT_TRUE(list_.ClipboardEmpty());
  EXPECT_FALSE(RunEditCommand(list_, 11, TEditCommand::CutCaption));
}

TEST(DataBytesInHexTest, ShowsTheBytesATextSends) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "no bytes"},
      {"   ", "no bytes"},
      {"81 01 04 00 02 FF", "51 01 04 00 02 46"},
      {"$81,$01,$FF", "81 01 FF"},
      {"[AB],13", "41 42 0D"},
  };
  for (const auto& [text, hex] : cases) EXPECT_EQ(DataBytesInHex(text), hex) << text;
}

TEST(DataBytesInHexTest, FinalBytesCarryTheCheck) {
  TCommand record;
  record.SetDefaults();
  record.Checksum = "CRC-16/MODBUS";
  EXPECT_EQ(FinalBytesInHex("1 3 0 0 0 10", record), "01 03 00 00 00 0A C5 CD");
  EXPECT_EQ(FinalBytesInHex("", record), "no bytes");
  record.Checksum = "CRC-99/NONE";
  EXPECT_EQ(FinalBytesInHex("1", record), "Unknown checksum \"CRC-99/NONE\"");
}

}  // namespace
