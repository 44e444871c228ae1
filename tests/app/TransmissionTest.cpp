// Clicks that send, on the offscreen platform: every port number the panel
// uses is mapped to a pseudo-terminal or to a path that does not exist. Covers
// the bytes at the master, outputs that send nothing, the error box and its
// switch, the start-up messages, unplugging and replugging, and the open flag.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BoxCollector.h"
#include "Pty.h"
#include "app/MainWindow.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kDeadlineMs = 10000;
constexpr const char* kAbsentPort = "/nonexistent/tovrana-test-port";
constexpr int kPtyPortNumber = 9;

const std::string kHelloOnOutput2 = "[Button 1]\r\nData=[Hello],13,10\r\nOutput=2\r\n";

class TransmissionTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.Valid()); }

  std::filesystem::path SettingsFile() const {
    return std::filesystem::path(folder_.path().toStdString()) / "tovrana.ini";
  }

  // Outputs 1 to 4 on ports 1 to 4, all absent, except ptyOutput on the pty;
  // the outputs in openFlags are flagged open.
  void WriteSettings(const std::string& buttons, bool showErrors = true, int ptyOutput = 2,
                     const std::vector<int>& openFlags = {}) const {
    std::ostringstream text;
    text << "[General]\r\nShow Com Port Errors=" << (showErrors ? 1 : 0) << "\r\n";
    for (int output = 1; output <= 4; ++output) {
      text << "[Output " << output
           << "]\r\nPort Number=" << (output == ptyOutput ? kPtyPortNumber : output) << "\r\nOpen="
           << (std::find(openFlags.begin(), openFlags.end(), output) != openFlags.end() ? 1 : 0)
           << "\r\n";
    }
    text << "[Ports]\r\n";
    for (int number = 1; number <= 4; ++number)
      text << "COM" << number << "=" << kAbsentPort << "\r\n";
    text << "COM" << kPtyPortNumber << "=" << pty_.SlavePath() << "\r\n" << buttons;
    std::ofstream(SettingsFile(), std::ios::binary) << text.str();
  }

  std::unique_ptr<TfmMain> ShowPanel() const {
    auto panel = std::make_unique<TfmMain>(SettingsFile());
    panel->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panel.get(), kDeadlineMs));
    // The opening step is queued behind the showing; wait until it has run.
    bool opened = false;
    QMetaObject::invokeMethod(
        panel.get(), [&] { opened = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened; }, kDeadlineMs));
    return panel;
  }

  // Button 1 sends "Hello\r\n" on output 2, the pty; once a click has been
  // served there, the pty's master is closed, as an adapter is unplugged.
  void ShowPanelThenUnplug(std::unique_ptr<TfmMain>& panel) {
    WriteSettings(kHelloOnOutput2);
    panel = ShowPanel();
    QTest::mouseClick(Button(*panel, 1), Qt::LeftButton);
    ASSERT_EQ(pty_.Read(7), "Hello\r\n");
    pty_.CloseMaster();
  }

  static TImageButton* Button(const TfmMain& panel, int number) {
    return panel.findChild<TImageButton*>(QStringLiteral("BtTx%1").arg(number),
                                          Qt::FindDirectChildrenOnly);
  }

  std::string ReadSettings() const {
    std::ifstream in(SettingsFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  QTemporaryDir folder_;
  TPty pty_;
  // No test can hang on a box it did not expect.
  TBoxCollector boxes_;
};

// What the window system delivers for a double click: press, release, then
// a double-click event in place of the second press, and its release.
void DoubleClick(QWidget* widget) {
  const QPointF at = widget->rect().center();
  const QPointF global = widget->mapToGlobal(at);
  auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  };
  for (const QEvent::Type press : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
    send(press, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
  }
}

TEST_F(TransmissionTest, AClickSendsTheButtonsBytesAndADoubleClickSendsThemTwice) {
  WriteSettings(kHelloOnOutput2);
  auto panel = ShowPanel();
  QTest::mouseClick(Button(*panel, 1), Qt::LeftButton);
  EXPECT_EQ(pty_.Read(7), "\x48\x65\x6C\x6C\x6F\x0D\x0A");
  DoubleClick(Button(*panel, 1));
  EXPECT_EQ(pty_.Read(14), "Hello\r\nHello\r\n");
  // The port stays open, the open flag stays off, and the file says so.
  EXPECT_TRUE(panel->OutputPorts()[1]->Open());
  ASSERT_TRUE(panel->close());
  EXPECT_NE(ReadSettings().find("[Output 2]\r\nPort Number=9\r\n"), std::string::npos);
  const std::string saved = ReadSettings();
  const size_t section = saved.find("[Output 2]");
  EXPECT_NE(saved.find("Open=0", section), std::string::npos);
  EXPECT_LT(saved.find("Open=0", section), saved.find("[Output 3]"));
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(pty_.ReadWaiting(), "");
}

// Space, Return and Enter on the focused button each send its bytes once.
TEST_F(TransmissionTest, AKeyOnTheFocusedButtonSendsItsBytes) {
  WriteSettings(kHelloOnOutput2);
  auto panel = ShowPanel();
  TImageButton* button = Button(*panel, 1);
  panel->activateWindow();
  button->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, kDeadlineMs));
  for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
    SCOPED_TRACE(key);
    QTest::keyClick(button, key);
    EXPECT_EQ(pty_.Read(7), "Hello\r\n");
  }
  EXPECT_EQ(pty_.ReadWaiting(), "");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

struct TSilentCase {
  const char* name;
  std::string buttons;
};

void PrintTo(const TSilentCase& silent, std::ostream* out) { *out << silent.name; }

class TransmissionSilentTest : public TransmissionTest,
                               public testing::WithParamInterface<TSilentCase> {};

// Nothing to send, or no port to send it to: no byte, no box, switch on.
TEST_P(TransmissionSilentTest, AClickDoesNothingVisible) {
  WriteSettings(GetParam().buttons);
  auto panel = ShowPanel();
  QTest::mouseClick(Button(*panel, 1), Qt::LeftButton);
  EXPECT_TRUE(boxes_.Boxes().empty());
  for (const TVrlComPort* port : panel->OutputPorts()) EXPECT_FALSE(port->Open());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransmissionSilentTest,
    testing::Values(TSilentCase{"OutputZero", "[Button 1]\r\nData=65\r\nOutput=0\r\n"},
                    TSilentCase{"OutputFive", "[Button 1]\r\nData=65\r\nOutput=5\r\n"},
                    TSilentCase{"EmptyDataOnAbsentPort", "[Button 1]\r\nData=\r\nOutput=1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransmissionTest, AnAbsentPortShowsTheBoxAtTheButtonOnlyWhileTheSwitchIsOn) {
  for (const bool showErrors : {true, false}) {
    WriteSettings("[Button 7]\r\nData=1,2,3\r\nOutput=1\r\n", showErrors);
    boxes_.Clear();
    auto panel = ShowPanel();
    TImageButton* button = Button(*panel, 7);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    if (!showErrors) {
      EXPECT_TRUE(boxes_.Boxes().empty());
      continue;
    }
    ASSERT_EQ(boxes_.Boxes().size(), 2u);
    const TBoxSeen& box = boxes_.Boxes().front();
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.text, "Com port error.\r\n(Data not sent)");
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.topLeft, button->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(box.cause,
              QStringLiteral("Output 1 (COM1, %1): ie_BadId - Specified comport doesn't exist")
                  .arg(kAbsentPort));
    EXPECT_FALSE(panel->OutputPorts()[0]->Open());
  }
}

// With its details shown, the box is still closed by Return or Enter, as OK
// keeps the focus and stays the default button.
TEST_F(TransmissionTest, EnterClosesThePortErrorBoxAfterItsDetailsAreShown) {
  WriteSettings("[Button 7]\r\nData=1,2,3\r\nOutput=1\r\n");
  auto panel = ShowPanel();
  boxes_.Pause();
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    SCOPED_TRACE(key);
    bool detailsShown = false;
    bool closedByKey = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      // The shown box, even when the platform names no active modal widget.
      QMessageBox* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (box == nullptr && top->isVisible()) box = qobject_cast<QMessageBox*>(top);
      }
      if (box == nullptr || !box->isVisible()) return;
      answer.stop();
      for (QPushButton* other : box->findChildren<QPushButton*>()) {
        if (other != box->button(QMessageBox::Ok)) QTest::mouseClick(other, Qt::LeftButton);
      }
      const auto* details = box->findChild<QTextEdit*>();
      detailsShown = details != nullptr && details->isVisible();
      // The box's own focus: the platform may not have activated it yet, and a
      // key sent to the panel would press the grid button instead.
      QWidget* focused = box->focusWidget();
      QTest::keyClick(focused != nullptr ? focused : box, key);
      closedByKey = !box->isVisible() && box->clickedButton() == box->button(QMessageBox::Ok);
      if (box->isVisible()) box->done(QMessageBox::Ok);
    });
    answer.start(5);
    QTest::mouseClick(Button(*panel, 7), Qt::LeftButton);
    EXPECT_TRUE(detailsShown);
    EXPECT_TRUE(closedByKey);
  }
}

TEST_F(TransmissionTest, OutputsFlaggedOpenOnAbsentPortsReportInOrderOnlyWhileTheSwitchIsOn) {
  for (const bool showErrors : {true, false}) {
    // The pty is on output 3, unflagged: it stays closed.
    WriteSettings("", showErrors, 3, {2, 4});
    boxes_.Clear();
    auto panel = ShowPanel();
    std::vector<QString> texts;
    for (const TBoxSeen& box : boxes_.Boxes()) texts.push_back(box.text);
    if (showErrors) {
      EXPECT_EQ(texts,
                (std::vector<QString>{"The com port specified for output 2 could not be opened.",
                                      "The com port specified for output 4 could not be opened."}));
    } else {
      EXPECT_TRUE(texts.empty());
    }
    EXPECT_FALSE(panel->OutputPorts()[2]->Open());
    EXPECT_TRUE(panel->State().OpenFlags[1]);
  }
}

// Absent and busy ports give the same box; its details tell them apart.
TEST_F(TransmissionTest, StartUpBoxesNameOutputPortDeviceAndCauseInTheirDetails) {
  // Output 2 is on the pty, which another program holds locked; output 4's
  // port does not exist.
  const int holder = ::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  WriteSettings("", true, 2, {2, 4});
  auto panel = ShowPanel();
  ::close(holder);
  ASSERT_EQ(boxes_.Boxes().size(), 2u);
  const TBoxSeen& busy = boxes_.Boxes()[0];
  const TBoxSeen& absent = boxes_.Boxes()[1];
  EXPECT_EQ(busy.title, panel->windowTitle());
  EXPECT_EQ(busy.text, "The com port specified for output 2 could not be opened.");
  EXPECT_EQ(busy.cause, QStringLiteral("Output 2 (COM%1, %2): ie_Open - device already open")
                            .arg(kPtyPortNumber)
                            .arg(pty_.SlavePath().c_str()));
  EXPECT_EQ(absent.title, panel->windowTitle());
  EXPECT_EQ(absent.cause,
            QStringLiteral("Output 4 (COM4, %1): ie_BadId - Specified comport doesn't exist")
                .arg(kAbsentPort));
}

TEST_F(TransmissionTest, AFlaggedOutputOnAPresentPortOpensAtStartUp) {
  WriteSettings("", true, 2, {2});
  auto panel = ShowPanel();
  EXPECT_TRUE(panel->OutputPorts()[1]->Open());
  EXPECT_TRUE(HoldsDescriptorOn(pty_.SlavePath()));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(TransmissionTest, AReplugIsServedByTheNextClick) {
  std::unique_ptr<TfmMain> panel;
  ASSERT_NO_FATAL_FAILURE(ShowPanelThenUnplug(panel));
  TImageButton* button = Button(*panel, 1);
  // Unplugged: the click fails with a box or is lost, but it never hangs.
  QTest::mouseClick(button, Qt::LeftButton);
  TPty replugged;
  ASSERT_TRUE(replugged.Valid());
  TPortMap map;
  map.Assign(kPtyPortNumber, replugged.SlavePath());
  panel->OutputPorts()[1]->SetPortMap(map);
  // The dead port is noticed by its workers; until then a click may still be
  // queued on it, so click until the bytes come through the new device.
  std::string received;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        received += replugged.ReadWaiting();
        return received.find("Hello\r\n") != std::string::npos;
      },
      kDeadlineMs));
}

TEST_F(TransmissionTest, AnUnplugAndAClickShowOneBoxNamingOutputPortAndDevice) {
  std::unique_ptr<TfmMain> panel;
  ASSERT_NO_FATAL_FAILURE(ShowPanelThenUnplug(panel));
  TImageButton* button = Button(*panel, 1);
  const auto disconnectBoxes = [&] {
    QList<QMessageBox*> shown;
    for (QMessageBox* box : panel->findChildren<QMessageBox*>()) {
      if (box->isVisible()) shown << box;
    }
    return shown;
  };
  // The worker notices the hang-up unprompted, or the click finds the device gone.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (disconnectBoxes().isEmpty()) QTest::mouseClick(button, Qt::LeftButton);
        return !disconnectBoxes().isEmpty();
      },
      kDeadlineMs));
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::mouseClick(button, Qt::LeftButton);
  QCoreApplication::processEvents();
  const QList<QMessageBox*> shown = disconnectBoxes();
  ASSERT_EQ(shown.size(), 1);
  const QString named = QStringLiteral("Output 2 (COM%1, %2)")
                            .arg(kPtyPortNumber)
                            .arg(QString::fromStdString(pty_.SlavePath()));
  EXPECT_EQ(shown[0]->text(), named + " was disconnected. Click again after plugging it back in.");
  EXPECT_EQ(shown[0]->windowTitle(), panel->windowTitle());
  EXPECT_TRUE(shown[0]->detailedText().startsWith(named + ": "));
  // No anonymous box stacked on it.
  EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
