// Replies on the offscreen platform, output 1 on a pseudo-terminal: received
// bytes reach the reply view without a click, a click's reply check shows its
// outcome on the button, and a device that never stops sending keeps the view
// at its line bound and the process memory flat.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Pty.h"
#include "app/MainWindow.h"
#include "app/RepliesWindow.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kDeadlineMs = 20000;
constexpr int kPtyPortNumber = 9;
constexpr const char* kAbsentPort = "/nonexistent/tovrana-test-port";

// The heap this process has in use, in kB; freed memory that the allocator
// keeps for later does not count.
long HeapInUseKilobytes() {
  const struct mallinfo2 heap = mallinfo2();
  return static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
}

class RepliesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.Valid()); }

  // Output 1 on the pty, open from the start; the other outputs absent.
  std::unique_ptr<TfmMain> ShowPanel(const std::string& buttons) {
    const auto file = std::filesystem::path(folder_.path().toStdString()) / "tovrana.ini";
    std::ostringstream text;
    text << "[Output 1]\r\nPort Number=" << kPtyPortNumber << "\r\nOpen=1\r\n[Ports]\r\n";
    for (int number = 1; number <= 4; ++number)
      text << "COM" << number << "=" << kAbsentPort << "\r\n";
    text << "COM" << kPtyPortNumber << "=" << pty_.SlavePath() << "\r\n" << buttons;
    std::ofstream(file, std::ios::binary) << text.str();
    auto panel = std::make_unique<TfmMain>(file);
    panel->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panel.get(), kDeadlineMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->OutputPorts()[0]->Open(); }, kDeadlineMs));
    return panel;
  }

  static TImageButton* Button(const TfmMain& panel, int number) {
    return panel.findChild<TImageButton*>(QStringLiteral("BtTx%1").arg(number),
                                          Qt::FindDirectChildrenOnly);
  }

  void WriteAtMaster(const std::string& bytes) const {
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(pty_.Master(), bytes.data() + written, bytes.size() - written);
      ASSERT_GT(n, 0);
      written += static_cast<size_t>(n);
    }
  }

  QTemporaryDir folder_;
  TPty pty_;
};

TEST_F(RepliesTest, ReceivedBytesReachTheReplyViewPerOutput) {
  auto panel = ShowPanel("");
  panel->ShowReplies();
  TfmReplies* view = panel->fmReplies();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view, kDeadlineMs));
  WriteAtMaster("hello");
  const QString line = "  output 1  received  5 bytes  68 65 6C 6C 6F  |hello|";
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->ShownText().endsWith(line); }, kDeadlineMs))
      << view->ShownText().toStdString();
  // Unticking the output hides its lines; ticking it again brings them back.
  view->SetOutputShown(1, false);
  EXPECT_EQ(view->ShownText(), "");
  view->SetOutputShown(1, true);
  EXPECT_TRUE(view->ShownText().endsWith(line));
  // Copied and saved as text, a line each.
  view->findChild<QPushButton*>("btCopy")->click();
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith(line + '\n'));
  const QString saved = folder_.filePath("replies.txt");
  QString error;
  ASSERT_TRUE(view->SaveShownLines(saved, error)) << error.toStdString();
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()), view->ShownText() + '\n');
  EXPECT_FALSE(view->SaveShownLines(folder_.filePath("missing/replies.txt"), error));
  EXPECT_FALSE(error.isEmpty());
  view->findChild<QPushButton*>("btClear")->click();
  EXPECT_EQ(view->ShownText(), "");
  EXPECT_TRUE(panel->ReplyLog().Lines().empty());
}

struct TOutcomeCase {
  const char* name;
  const char* replyKeys;
  std::string answer;  // empty: the device stays silent
  QColor frame;
  const char* tooltip;
};

class ReplyOutcomeTest : public RepliesTest, public testing::WithParamInterface<TOutcomeCase> {};

TEST_P(ReplyOutcomeTest, AClickShowsHowTheReplyCameOut) {
  const TOutcomeCase& c = GetParam();
  auto panel = ShowPanel(
      std::string("[Button 1]\r\nCaption=Power\r\nData=[PWR],13\r\nOutput=1\r\n") + c.replyKeys);
  TImageButton* power = Button(*panel, 1);
  QTest::mouseClick(power, Qt::LeftButton);
  ASSERT_EQ(pty_.Read(4), "PWR\r");
  if (!c.answer.empty()) WriteAtMaster(c.answer);
  ASSERT_TRUE(QTest::qWaitFor([&] { return power->OutcomeFrame().isValid(); }, kDeadlineMs));
  EXPECT_EQ(power->OutcomeFrame(), c.frame);
  EXPECT_EQ(power->toolTip().toStdString(), c.tooltip);
  // The click's line and the answer's are in the log, in that order.
  const auto& lines = panel->ReplyLog().Lines();
  ASSERT_EQ(lines.size(), c.answer.empty() ? 1u : 2u);
  EXPECT_EQ(lines.front().Direction, TReplyDirection::Sent);
  EXPECT_EQ(lines.front().Bytes, "PWR\r");
  // The next send of the button takes the frame away at once.
  QTest::mouseClick(power, Qt::LeftButton);
  EXPECT_FALSE(power->OutcomeFrame().isValid());
}

const TOutcomeCase kOutcomeCases[] = {
    {"Answered", "Reply=[OK],13\r\nReply Timeout=60000\r\n", "\r\nOK\r", QColor(0x1E, 0xA0, 0x3C),
     "Last reply: as expected\nReceived: 0D 0A 4F 4B 0D"},
    {"WrongAnswer", "Reply=[OK],13\r\nReply Timeout=300\r\n", "ERR\r", QColor(0xD8, 0x20, 0x20),
     "Last reply: not as expected\nReceived: 45 52 52 0D"},
    {"NoAnswer", "Reply=$4F $4B ??\r\nReply Timeout=10\r\n", "", QColor(0xF0, 0xA0, 0x00),
     "Last reply: no answer in time\nReceived: nothing"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReplyOutcomeTest, testing::ValuesIn(kOutcomeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RepliesTest, AHeldButtonChecksTheReplyToItsRelease) {
  auto panel = ShowPanel(
      "[Button 1]\r\nCaption=Zoom\r\nPress Data=[Z+],13\r\nData=[Z0],13\r\nOutput=1\r\n"
      "Reply=[OK],13\r\nReply Timeout=60000\r\n");
  TImageButton* zoom = Button(*panel, 1);
  QTest::mousePress(zoom, Qt::LeftButton);
  ASSERT_EQ(pty_.Read(3), "Z+\r");
  // An answer to the press is no answer to the release.
  WriteAtMaster("OK\r");
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->ReplyLog().Lines().size() == 2; }, kDeadlineMs));
  EXPECT_FALSE(zoom->OutcomeFrame().isValid());
  QTest::mouseRelease(zoom, Qt::LeftButton);
  ASSERT_EQ(pty_.Read(3), "Z0\r");
  WriteAtMaster("OK\r");
  ASSERT_TRUE(QTest::qWaitFor([&] { return zoom->OutcomeFrame().isValid(); }, kDeadlineMs));
  EXPECT_EQ(zoom->OutcomeFrame(), QColor(0x1E, 0xA0, 0x3C));
}

// Runs the event loop until done() holds after a change of the view's text,
// or the deadline passes.
bool WaitForViewText(QPlainTextEdit* text, const std::function<bool()>& done) {
  if (done()) return true;
  QEventLoop loop;
  QObject::connect(text, &QPlainTextEdit::textChanged, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(kDeadlineMs * 3, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

TEST_F(RepliesTest, ADeviceThatNeverStopsKeepsTheViewBoundedAndMemoryFlat) {
  auto panel = ShowPanel("");
  panel->ShowReplies();
  TfmReplies* view = panel->fmReplies();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view, kDeadlineMs));
  auto* text = view->findChild<QPlainTextEdit*>("edReplies");
  const auto& lines = panel->ReplyLog().Lines();
  std::vector<long> heap;
  // Ten rounds, each as many bytes as the view's whole bound holds and a mark
  // at its end. A view or log that kept every line would grow by several
  // megabytes a round; a bounded one only breathes as its text is compacted.
  for (char end = '0'; end <= '9'; ++end) {
    const std::string round =
        std::string(TReplyLog::kMaxLines * TReplyLog::kLongestLine, 'x') + end;
    std::thread device([&] { WriteAtMaster(round); });
    const bool whole =
        WaitForViewText(text, [&] { return !lines.empty() && lines.back().Bytes.back() == end; });
    device.join();
    ASSERT_TRUE(whole);
    EXPECT_EQ(lines.size(), TReplyLog::kMaxLines);
    EXPECT_LE(text->blockCount(), static_cast<int>(TReplyLog::kMaxLines));
    heap.push_back(HeapInUseKilobytes());
  }
  for (const long used : heap) EXPECT_LT(used - heap.front(), 32 * 1024) << "kB in use";
}

}  // namespace
