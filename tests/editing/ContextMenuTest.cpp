// The button context menu on the offscreen platform: where it opens, what it
// offers, the caption, data and whole-button commands and their shortcuts.
#include <QAction>
#include <QKeyEvent>
#include <QWindow>
#include <vector>

#include "EditingFixture.h"
#include "app/RepliesWindow.h"

namespace {

TEST_F(EditingTest, MenuRequestOpensAtTheButtonsCornerWithItsTitle) {
  ShowPanel();
  struct TRequest {
    const char* how;
    int button;
  };
  const std::vector<TRequest> requests = {{"mouse", 7}, {"Menu key", 5}, {"Shift+F10", 2}};
  for (const TRequest& request : requests) {
    SCOPED_TRACE(request.how);
    TImageButton* button = Button(request.button);
    if (request.how == std::string("mouse")) {
      RightClick(request.button);
    } else {
      button->setFocus();
      ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, kDeadlineMs));
      const bool menuKey = request.how == std::string("Menu key");
      QTest::keyClick(panel_->windowHandle(), menuKey ? Qt::Key_Menu : Qt::Key_F10,
                      menuKey ? Qt::NoModifier : Qt::ShiftModifier);
      ASSERT_TRUE(QTest::qWaitFor([this] { return Menu()->isVisible(); }, kDeadlineMs));
    }
    EXPECT_EQ(Item("MnPuButton")->text(), QStringLiteral("Button %1").arg(request.button));
    EXPECT_FALSE(Item("MnPuButton")->isEnabled());
    EXPECT_EQ(Menu()->pos(), button->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(panel_->ContextMenu().MenuPosition(), button->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(panel_->State().CurrentButton, request.button);
    Menu()->hide();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Menu()->isVisible(); }, kDeadlineMs));
  }
}

TEST_F(EditingTest, FreshStartOffersNoPasteAndCtrlVDoesNothing) {
  ShowPanel();
  RightClick(3);
  for (const char* paste : {"ButtonPaste1", "MnPasteData", "MnPasteCaption"}) {
    EXPECT_FALSE(Item(paste)->isEnabled()) << paste;
  }
  EXPECT_FALSE(Item("MnCutData")->isEnabled());  // the data text is empty
  EXPECT_TRUE(Item("MnCutCaption")->isEnabled());
  Menu()->hide();
  std::vector<TCommand> before;
  for (int number = 1; number <= 15; ++number) before.push_back(Record(number));
  PressOn(4, Qt::Key_V);
  for (int number = 1; number <= 15; ++number) EXPECT_EQ(Record(number), before[number - 1]);
  EXPECT_EQ(Button(4)->text(), "4");
}

TEST_F(EditingTest, CaptionCopiedFromFivePastedOnEightChangesOnlyEightsCaption) {
  ShowPanel();
  Record(5).Assign({"Power", "[PWR1],13", 3, 0x0000FF00, 0x00FFFFFF, 7});
  Record(8).Assign({"Old", "65", 2, 0x00FF0000, 0x00000000, 3});
  panel_->RefreshGrid();
  std::vector<TCommand> expected;
  for (int number = 1; number <= 15; ++number) expected.push_back(Record(number));
  expected[7].Caption = "Power";

  RunItem(5, "MnCopyCaption");
  RunItem(8, "MnPasteCaption");
  for (int number = 1; number <= 15; ++number) {
    EXPECT_EQ(Record(number), expected[number - 1]) << number;
  }
  EXPECT_EQ(Button(8)->text(), "Power");
  EXPECT_TRUE(Button(8)->Bold());
}

TEST_F(EditingTest, ButtonCutOnThreeThenPasteOnNineAndCtrlVOnFour) {
  ShowPanel();
  const TCommand three{"Lamp", "$41", 4, 0x000000FF, 0x00FFFF00, 12};
  Record(3).Assign(three);
  panel_->RefreshGrid();

  RunItem(3, "ButtonCut1");
  EXPECT_EQ(Record(3), (TCommand{"", "", 1, kColourButtonFace, kColourWindowText, -1}));
  EXPECT_EQ(Button(3)->text(), "");
  RunItem(9, "ButtonPaste1");
  EXPECT_EQ(Record(9), three);
  PressOn(4, Qt::Key_V);
  EXPECT_EQ(Record(4), three);
  EXPECT_EQ(Button(4)->text(), "Lamp");
  EXPECT_TRUE(Button(4)->Bold());
}

TEST_F(EditingTest, WithoutAllowEditingOnlyRepliesAndAboutShowYetCtrlXClearsTheFocusedButton) {
  ShowPanel("[General]\r\nAllow Editing=0\r\n");
  RightClick(2);
  QStringList visible;
  for (const QAction* item : Menu()->actions()) {
    if (item->isVisible()) visible << item->objectName();
  }
  EXPECT_EQ(visible, (QStringList{"mnReplies", "mnAbout"}));
  Menu()->hide();
  // The reply view changes nothing: a locked panel opens it, by Ctrl+R too.
  PressOn(2, Qt::Key_R);
  EXPECT_TRUE(panel_->fmReplies()->isVisible());
  panel_->fmReplies()->close();

  PressOn(6, Qt::Key_X);
  EXPECT_EQ(Record(6).Caption, "");
  EXPECT_EQ(Button(6)->text(), "");
  PressOn(2, Qt::Key_V);
  EXPECT_EQ(Button(2)->text(), "6");
}

}  // namespace
