// Buttons that hold, on the offscreen platform with output 1 on a pseudo-
// terminal: press and release data, repeats while held, the checks appended,
// and every way a hold can end sending its release exactly once.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "BoxCollector.h"
#include "Pty.h"
#include "app/MainWindow.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kDeadlineMs = 10000;
constexpr int kPtyPortNumber = 9;

const std::string kPanPress = "\x81\x01\x06\x01\x08\x08\x01\x03\xFF";
const std::string kPanStop = "\x81\x01\x06\x01\x08\x08\x03\x03\xFF";

// Output 1 on the pty, output 2 on a port that does not exist.
const std::string kSettings =
    "[General]\r\nButton Rows=4\r\nButton Cols=2\r\n"
    "[Output 1]\r\nPort Number=9\r\n[Output 2]\r\nPort Number=2\r\n"
    "[Output 3]\r\nPort Number=3\r\n[Output 4]\r\nPort Number=4\r\n"
    "[Ports]\r\nCOM1=/nonexistent/a\r\nCOM2=/nonexistent/b\r\nCOM3=/nonexistent/c\r\n"
    "COM4=/nonexistent/d\r\n"
    "[Button 1]\r\nData=$81 $01 $06 $01 $08 $08 $03 $03 $FF\r\n"
    "Press Data=$81 $01 $06 $01 $08 $08 $01 $03 $FF\r\n"
    "[Button 2]\r\nData=[U]\r\nPress Data=[D]\r\nChecksum=XOR8\r\nChecksum Form=Hex\r\n"
    "[Button 3]\r\nData=46\r\n"
    "[Button 4]\r\nData=[r]\r\nPress Data=[p]\r\nRepeat Interval=20\r\n"
    "[Button 5]\r\nData=[d]\r\nRepeat Interval=20\r\n"
    "[Button 6]\r\nData=[x]\r\nPress Data=[y]\r\nChecksum=CRC-99/NONE\r\n"
    "[Button 7]\r\nData=[x]\r\nPress Data=[y]\r\nOutput=2\r\n"
    "[Button 8]\r\nPress Data=[y]\r\n";

class HoldTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Valid());
    std::ofstream(File(), std::ios::binary)
        << kSettings << "[Ports]\r\nCOM" << kPtyPortNumber << "=" << pty_.SlavePath() << "\r\n";
    panel_ = std::make_unique<TfmMain>(File());
    panel_->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel_.get(), kDeadlineMs));
  }

  std::filesystem::path File() const {
    return std::filesystem::path(folder_.path().toStdString()) / "tovrana.ini";
  }
  TImageButton* Button(int number) const { return panel_->GridButton(number); }

  // Everything the pty received up to a plain button's "." sent behind it, so
  // that nothing still on its way is missed and nothing after it is counted.
  std::string ReceivedSoFar() {
    EXPECT_TRUE(panel_->ButtonPress(2, TPressSource::Remote).sent);
    std::string received;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          received += pty_.ReadWaiting();
          return !received.empty() && received.back() == '.';
        },
        kDeadlineMs));
    received.pop_back();
    return received;
  }

  QTemporaryDir folder_;
  TPty pty_;
  TBoxCollector boxes_;
  std::unique_ptr<TfmMain> panel_;
};

struct THoldEndCase {
  const char* name;
  Qt::Key key;  // Qt::Key_unknown: held with the mouse
  std::function<void(TfmMain&, TImageButton*)> end;
};

void PrintTo(const THoldEndCase& c, std::ostream* out) { *out << c.name; }

class HoldEndTest : public HoldTest, public testing::WithParamInterface<THoldEndCase> {};

void LetGo(TImageButton* button, Qt::Key key) {
  if (key == Qt::Key_unknown) {
    QTest::mouseRelease(button, Qt::LeftButton);
  } else {
    QTest::keyRelease(button, key);
  }
}

TEST_P(HoldEndTest, SendsTheReleaseExactlyOnce) {
  TImageButton* button = Button(1);
  const Qt::Key key = GetParam().key;
  if (key == Qt::Key_unknown) {
    QTest::mousePress(button, Qt::LeftButton);
  } else {
    button->setFocus(Qt::TabFocusReason);
    QTest::keyPress(button, key);
  }
  EXPECT_EQ(pty_.Read(kPanPress.size()), kPanPress);
  ASSERT_TRUE(panel_->ButtonActions().Held(0));
  GetParam().end(*panel_, button);
  EXPECT_FALSE(panel_->ButtonActions().Held(0));
  // The button's own release, after the hold has ended, adds nothing.
  LetGo(button, key);
  EXPECT_EQ(ReceivedSoFar(), kPanStop);
  EXPECT_TRUE(boxes_.Boxes().empty() || std::string(GetParam().name) == "ModalBoxOpens");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, HoldEndTest,
    testing::Values(
        THoldEndCase{"MouseUpInside", Qt::Key_unknown,
                     [](TfmMain&, TImageButton* b) { QTest::mouseRelease(b, Qt::LeftButton); }},
        THoldEndCase{"MouseUpOutside", Qt::Key_unknown,
                     [](TfmMain&, TImageButton* b) {
                       QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(-20, -20));
                     }},
        THoldEndCase{"SpaceUp", Qt::Key_Space,
                     [](TfmMain&, TImageButton* b) { QTest::keyRelease(b, Qt::Key_Space); }},
        THoldEndCase{"ReturnUp", Qt::Key_Return,
                     [](TfmMain&, TImageButton* b) { QTest::keyRelease(b, Qt::Key_Return); }},
        THoldEndCase{
            "FocusMovesAway", Qt::Key_Space,
            [](TfmMain& p, TImageButton*) { p.GridButton(3)->setFocus(Qt::TabFocusReason); }},
        THoldEndCase{
            "MouseHoldLosesFocus", Qt::Key_unknown,
            [](TfmMain& p, TImageButton*) { p.GridButton(3)->setFocus(Qt::TabFocusReason); }},
        THoldEndCase{"ModalBoxOpens", Qt::Key_unknown,
                     [](TfmMain& p, TImageButton*) {
                       QMessageBox box(QMessageBox::Information, "Note", "A box", QMessageBox::Ok,
                                       &p);
                       box.exec();
                     }},
        THoldEndCase{"WindowMinimised", Qt::Key_unknown,
                     [](TfmMain& p, TImageButton*) {
                       p.showMinimized();
                       EXPECT_TRUE(QTest::qWaitFor([&] { return p.isMinimized(); }, kDeadlineMs));
                     }},
        THoldEndCase{"AnotherWindowIsActivated", Qt::Key_unknown,
                     [](TfmMain&, TImageButton*) {
                       QWidget other;
                       other.show();
                       other.activateWindow();
                       EXPECT_TRUE(QTest::qWaitForWindowActive(&other, kDeadlineMs));
                     }},
        THoldEndCase{"CallerReleases", Qt::Key_unknown,
                     [](TfmMain& p, TImageButton*) {
                       EXPECT_TRUE(p.ButtonUp(0, TPressSource::Remote).sent);
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HoldTest, ClosingThePanelReleasesBeforeTheSettingsAreWritten) {
  QTest::mousePress(Button(1), Qt::LeftButton);
  EXPECT_EQ(pty_.Read(kPanPress.size()), kPanPress);
  ASSERT_TRUE(panel_->close());
  EXPECT_EQ(pty_.Read(kPanStop.size()), kPanStop);
  std::ifstream saved(File(), std::ios::binary);
  std::ostringstream text;
  text << saved.rdbuf();
  EXPECT_NE(text.str().find("Press Data=$81 $01 $06 $01 $08 $08 $01 $03 $FF\r\n"),
            std::string::npos);
  QTest::mouseRelease(Button(1), Qt::LeftButton);
  EXPECT_EQ(pty_.ReadWaiting(), "");
}

TEST_F(HoldTest, TheChecksumIsAppendedToPressAndRelease) {
  QTest::mouseClick(Button(2), Qt::LeftButton);
  EXPECT_EQ(ReceivedSoFar(), "D44U55");
}

TEST_F(HoldTest, AButtonThatSendsOnlyWhileHeldIsBoldAndSendsNoEmptyRelease) {
  EXPECT_TRUE(Button(8)->Bold());
  QTest::mouseClick(Button(8), Qt::LeftButton);
  EXPECT_EQ(ReceivedSoFar(), "y");
}

TEST_F(HoldTest, RepeatsArriveWhileHeldAndTheReleaseEndsThem) {
  struct TRepeatCase {
    int number;
    std::string press;
    std::string release;
  };
  for (const TRepeatCase& c : {TRepeatCase{4, "p", "r"}, TRepeatCase{5, "d", ""}}) {
    QTest::mousePress(Button(c.number), Qt::LeftButton);
    std::string received;
    // The press and at least two repeats, however long the machine takes.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          received += pty_.ReadWaiting();
          return received.size() >= 3;
        },
        kDeadlineMs));
    QTest::mouseRelease(Button(c.number), Qt::LeftButton);
    received += ReceivedSoFar();
    ASSERT_GE(received.size(), 3u + c.release.size());
    const size_t presses = received.size() - c.release.size();
    EXPECT_EQ(received, std::string(presses, c.press[0]) + c.release) << c.number;
    // No repeat outlives the hold.
    EXPECT_FALSE(panel_->ButtonActions().Held(c.number - 1));
    for (const QTimer* timer : panel_->ButtonActions().findChildren<QTimer*>()) {
      EXPECT_FALSE(timer->isActive());
    }
    EXPECT_EQ(ReceivedSoFar(), "");
  }
}

TEST_F(HoldTest, AnOutputThatFailsWhileHeldEndsTheHoldAndItsRepeats) {
  QTest::mousePress(Button(4), Qt::LeftButton);
  EXPECT_EQ(pty_.Read(1), "p");
  // Unplugged: a repeat fails, or the port's workers report the failure; either
  // way the hold is over and nothing is left repeating.
  pty_.CloseMaster();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !panel_->ButtonActions().Held(3); }, kDeadlineMs));
  for (const QTimer* timer : panel_->ButtonActions().findChildren<QTimer*>()) {
    EXPECT_FALSE(timer->isActive());
  }
  QTest::mouseRelease(Button(4), Qt::LeftButton);
  EXPECT_FALSE(panel_->ButtonActions().Held(3));
}

TEST_F(HoldTest, TwoButtonsOnOneOutputHeldByKeyAndMouseKeepTheirOwnHolds) {
  Button(1)->setFocus(Qt::TabFocusReason);
  QTest::keyPress(Button(1), Qt::Key_Space);
  EXPECT_EQ(pty_.Read(kPanPress.size()), kPanPress);
  QTest::mousePress(Button(2), Qt::LeftButton);
  EXPECT_EQ(pty_.Read(3), "D44");
  EXPECT_TRUE(panel_->ButtonActions().Held(0));
  EXPECT_TRUE(panel_->ButtonActions().Held(1));
  QTest::mouseRelease(Button(2), Qt::LeftButton);
  EXPECT_EQ(pty_.Read(3), "U55");
  EXPECT_TRUE(panel_->ButtonActions().Held(0));
  // The key is let go where the focus now is.
  QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(ReceivedSoFar(), kPanStop);
}

TEST_F(HoldTest, FailuresAreReportedAndStartNoHold) {
  struct TFailureCase {
    int number;
    QString text;
    std::string cause;
  };
  for (const TFailureCase& c :
       {TFailureCase{6, "Unknown checksum \"CRC-99/NONE\"", "Unknown checksum \"CRC-99/NONE\""},
        TFailureCase{7, "Com port error.\r\n(Data not sent)",
                     "ie_BadId - Specified comport doesn't exist"}}) {
    boxes_.Clear();
    QTest::mousePress(Button(c.number), Qt::LeftButton);
    QTest::mouseRelease(Button(c.number), Qt::LeftButton);
    ASSERT_EQ(boxes_.Boxes().size(), 1u) << c.number;
    EXPECT_EQ(boxes_.Boxes()[0].text, c.text);
    EXPECT_EQ(boxes_.Boxes()[0].topLeft, Button(c.number)->mapToGlobal(QPoint(0, 0)));
    EXPECT_FALSE(panel_->ButtonActions().Held(c.number - 1));
    const TSendResult remote = panel_->ButtonDown(c.number - 1, TPressSource::Remote);
    EXPECT_FALSE(remote.sent);
    EXPECT_EQ(remote.cause, c.cause);
    EXPECT_EQ(boxes_.Boxes().size(), 1u);  // a caller's press shows none
  }
  EXPECT_EQ(ReceivedSoFar(), "");
  EXPECT_FALSE(panel_->ButtonPress(8, TPressSource::Remote).sent);  // beyond the grid of 8
}

}  // namespace
