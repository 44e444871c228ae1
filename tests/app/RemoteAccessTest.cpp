// Remote control as the window shows it, on the offscreen platform: the status
// line while a listener is up, the configuration dialog's line, the start-up
// message when the section is refused or a port is taken, and that nothing
// opens a socket unless the section asks for one.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "app/MainWindow.h"
#include "dialogs/Configuration.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kDeadlineMs = 10000;

// The TCP sockets this process holds, from the kernel's tables.
int OwnTcpSockets() {
  std::set<std::string> inodes;
  for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream lines(table);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
      std::istringstream fields(line);
      std::string field;
      for (int column = 0; column < 10 && fields >> field; ++column) {
      }
      inodes.insert(field);
    }
  }
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (target.rfind("socket:[", 0) == 0 &&
        inodes.count(target.substr(8, target.size() - 9)) != 0) {
      ++count;
    }
  }
  return count;
}

quint16 FreePort() {
  QTcpServer probe;
  EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  return probe.serverPort();
}

struct TRemoteCase {
  const char* Name;
  std::string Section;  // %1 stands for a free port
  bool Taken;           // another listener holds that port first
  QString Description;
  bool StatusLine;
  QString Message;  // the start of the start-up box's text, or empty for none
};

const TRemoteCase kRemoteCases[] = {
    {"AbsentSection", "", false, "Remote control: off", false, ""},
    {"Disabled", "[Remote]\r\nEnabled=0\r\nHTTP Port=%1\r\n", false, "Remote control: off", false,
     ""},
    {"LoopbackHttp", "[Remote]\r\nEnabled=1\r\nHTTP Port=%1\r\n", false,
     "Remote control: HTTP 127.0.0.1:%1, line protocol off", true, ""},
    {"LoopbackLineProtocol", "[Remote]\r\nEnabled=1\r\nTCP Port=%1\r\nBind=localhost\r\n", false,
     "Remote control: HTTP off, line protocol 127.0.0.1:%1", true, ""},
    {"NetworkWithoutToken", "[Remote]\r\nEnabled=1\r\nHTTP Port=%1\r\nBind=0.0.0.0\r\n", false,
     "Remote control: off (binding 0.0.0.0 needs a token)", false,
     "Remote control stays off: binding 0.0.0.0 needs a token. Without a token anyone"},
    {"PortTaken", "[Remote]\r\nEnabled=1\r\nHTTP Port=%1\r\n", true,
     "Remote control: HTTP 127.0.0.1:%1 could not be opened, line protocol off", false,
     "Remote control: the HTTP port %1 on 127.0.0.1 could not be opened: "},
};

void PrintTo(const TRemoteCase& c, std::ostream* out) { *out << c.Name; }

class RemoteAccessTest : public testing::TestWithParam<TRemoteCase> {};

TEST_P(RemoteAccessTest, ShowsWhatRemoteControlDoes) {
  const TRemoteCase& c = GetParam();
  QTcpServer holder;
  if (c.Taken) {
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost, 0));
  }
  const quint16 port = c.Taken ? holder.serverPort() : FreePort();
  const QString section = QString::fromStdString(c.Section).arg(port);
  QTemporaryDir folder;
  const std::filesystem::path file = std::filesystem::path(folder.path().toStdString()) / "t.ini";
  std::ofstream(file, std::ios::binary) << "[Ports]\r\nCOM1=/nonexistent/port\r\n"
                                        << section.toStdString();

  QString message;
  QTimer dismiss;
  QObject::connect(&dismiss, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      message = box->text();
      box->done(QMessageBox::Ok);
    }
  });
  dismiss.start(5);

  TfmMain panel(file);
  auto* dialog = new TfmConfiguration(&panel);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel, kDeadlineMs));
  // Remote control starts behind the showing; wait until it has, box included.
  bool started = false;
  QMetaObject::invokeMethod(
      &panel, [&] { started = true; }, Qt::QueuedConnection);
  ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, kDeadlineMs));
  if (!c.Message.isEmpty()) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !message.isEmpty(); }));
  }

  const QString description = QString(c.Description).arg(port);
  if (c.Message.isEmpty()) {
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
  } else {
    EXPECT_TRUE(message.startsWith(c.Message.arg(port))) << message.toStdString();
  }
  auto* status = panel.findChild<QLabel*>(QStringLiteral("lbRemote"));
  ASSERT_EQ(status != nullptr, c.StatusLine);
  if (status != nullptr) {
    EXPECT_EQ(status->text(), description);
    EXPECT_TRUE(status->isVisible());
    // The grid stands above the status line, which runs to the window's foot.
    for (const TImageButton* button : panel.findChildren<TImageButton*>()) {
      EXPECT_LE(button->geometry().bottom(), status->geometry().top());
    }
    EXPECT_EQ(status->geometry().bottom(), panel.height() - 1);
  }
  if (!c.Taken) {
    EXPECT_EQ(OwnTcpSockets() > 0, c.StatusLine);
  }

  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog, kDeadlineMs));
  auto* line = dialog->findChild<QLabel*>(QStringLiteral("lbRemoteControl"));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), description);
  dialog->close();
}

INSTANTIATE_TEST_SUITE_P(Cases, RemoteAccessTest, testing::ValuesIn(kRemoteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
