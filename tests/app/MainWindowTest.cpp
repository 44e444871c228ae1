// The main window on the offscreen platform: start-up from a settings file, the
// grid, its layout, the close step and the window restrictions.
#include "app/MainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "widgets/ImageButton.h"

namespace {

constexpr int kDeadlineMs = 10000;

class MainWindowTest : public testing::Test {
 protected:
  std::filesystem::path SettingsFile() const {
    return std::filesystem::path(folder_.path().toStdString()) / "tovrana.ini";
  }

  void WriteSettings(const std::string& text) const {
    std::ofstream(SettingsFile(), std::ios::binary) << text;
  }

  std::string ReadSettings() const {
    std::ifstream in(SettingsFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::vector<std::string> Sections() const {
    std::vector<std::string> sections;
    std::istringstream lines(ReadSettings());
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.front() == '[') sections.push_back(line.substr(1, line.find(']') - 1));
    }
    return sections;
  }

  std::unique_ptr<TfmMain> ShowPanel(std::filesystem::path file = {}) const {
    auto panel = std::make_unique<TfmMain>(file.empty() ? SettingsFile() : file);
    panel->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panel.get(), kDeadlineMs));
    return panel;
  }

  static TImageButton* Button(const TfmMain& panel, int number) {
    return panel.findChild<TImageButton*>(QStringLiteral("BtTx%1").arg(number),
                                          Qt::FindDirectChildrenOnly);
  }

  static QList<TImageButton*> Buttons(const TfmMain& panel) {
    return panel.findChildren<TImageButton*>(Qt::FindDirectChildrenOnly);
  }

  QTemporaryDir folder_;
};

TEST_F(MainWindowTest, WithoutSettingsFileShowsNumberedFiveByThreeGridAndCloseWritesFile) {
  auto panel = ShowPanel();
  EXPECT_EQ(panel->windowTitle(), "Tovrana");
  const QList<TImageButton*> buttons = Buttons(*panel);
  ASSERT_EQ(buttons.size(), 15);
  for (int number = 1; number <= 15; ++number) {
    const TImageButton* button = buttons[number - 1];
    EXPECT_EQ(button->objectName(), QStringLiteral("BtTx%1").arg(number));
    EXPECT_EQ(button->property("Tag").toInt(), number);
    EXPECT_EQ(button->text(), QString::number(number));
    EXPECT_FALSE(button->Bold());
  }
  ASSERT_TRUE(panel->close());
  std::vector<std::string> expected = {"Windows", "General", "Output 1", "Output 2", "Output 3",
                                       "Output 4"};
  for (int number = 1; number <= 15; ++number) expected.push_back("Button " + std::to_string(number));
  EXPECT_EQ(Sections(), expected);
}

TEST_F(MainWindowTest, LayoutSnapsClientAreaToEqualButtons) {
  auto panel = ShowPanel();
  panel->resize(400, 300);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->size() == QSize(399, 300); }, kDeadlineMs));
  EXPECT_EQ(Button(*panel, 7)->geometry(), QRect(133, 60, 133, 60));
  for (const TImageButton* button : Buttons(*panel)) EXPECT_EQ(button->size(), QSize(133, 60));
}

TEST_F(MainWindowTest, TenByTenCountsColumnByColumn) {
  WriteSettings("[General]\r\nButton Rows=10\r\nButton Cols=10\r\n");
  auto panel = ShowPanel();
  panel->resize(700, 500);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->size() == QSize(700, 500); }, kDeadlineMs));
  EXPECT_EQ(Buttons(*panel).size(), 100);
  EXPECT_EQ(Button(*panel, 11)->geometry(), QRect(70, 0, 70, 50));
  EXPECT_EQ(Button(*panel, 100)->geometry().bottomRight(), panel->rect().bottomRight());
}

TEST_F(MainWindowTest, GrowingFromSixToNineRecordsAppendsNumberedRecordsAndMovesButtons) {
  WriteSettings("[General]\r\nButton Rows=2\r\nButton Cols=3\r\n");
  auto panel = ShowPanel();
  panel->SetButtonCount(6);
  ASSERT_EQ(panel->Commands().Count(), 6);
  const QSize cell = Button(*panel, 1)->size();
  EXPECT_EQ(Button(*panel, 3)->pos(), QPoint(cell.width(), 0));
  EXPECT_EQ(Button(*panel, 4)->pos(), QPoint(cell.width(), cell.height()));

  panel->State().Rows = 3;
  panel->SetButtonCount(9);
  ASSERT_EQ(panel->Commands().Count(), 9);
  for (int number = 7; number <= 9; ++number) {
    EXPECT_EQ(panel->Commands().Get(number - 1).Caption, std::to_string(number));
    EXPECT_EQ(Button(*panel, number)->text(), QString::number(number));
  }
  const QSize newCell = Button(*panel, 1)->size();
  EXPECT_EQ(Button(*panel, 3)->pos(), QPoint(0, 2 * newCell.height()));
  EXPECT_EQ(Button(*panel, 4)->pos(), QPoint(newCell.width(), 0));
}

TEST_F(MainWindowTest, SameCountInNewShapeRebuildsAtOnce) {
  WriteSettings("[General]\r\nButton Rows=3\r\nButton Cols=5\r\n");
  auto panel = ShowPanel();
  panel->SetButtonCount(15);
  EXPECT_EQ(Button(*panel, 4)->pos(), QPoint(Button(*panel, 1)->width(), 0));
  panel->State().Rows = 5;
  panel->State().Cols = 3;
  panel->SetButtonCount(15);
  const QSize cell = Button(*panel, 1)->size();
  EXPECT_EQ(Button(*panel, 4)->pos(), QPoint(0, 3 * cell.height()));
  EXPECT_EQ(Button(*panel, 7)->pos(), QPoint(cell.width(), cell.height()));
}

TEST_F(MainWindowTest, RefreshShowsDataAsBoldAndLineBreaks) {
  auto panel = ShowPanel();
  panel->Commands().Get(0).Data = "65";
  panel->Commands().Get(1).Caption = "Line1\\nLine2";
  panel->RefreshGrid();
  EXPECT_TRUE(Button(*panel, 1)->Bold());
  EXPECT_FALSE(Button(*panel, 2)->Bold());
  EXPECT_EQ(Button(*panel, 2)->text(), "Line1\nLine2");
}

TEST_F(MainWindowTest, FocusSetsCurrentButton) {
  auto panel = ShowPanel();
  panel->activateWindow();
  Button(*panel, 9)->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->State().CurrentButton == 9; }, kDeadlineMs));
}

// Ink of a caption drawn in pure blue on a grey face.
int CountBlueInk(const QImage& image, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      count += qBlue(pixel) > 150 && qRed(pixel) < 100 && qGreen(pixel) < 100;
    }
  return count;
}

TEST_F(MainWindowTest, RendersFacesPicturesAndBoldCaptionsToPng) {
  auto panel = ShowPanel();
  panel->resize(450, 300);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->size() == QSize(450, 300); }, kDeadlineMs));
  int pictureIndex = 0;
  while (panel->ImageList().Picture(pictureIndex).isNull()) ++pictureIndex;
  ASSERT_LT(pictureIndex, panel->ImageList().Count());
  constexpr TColour kRed = 0x000000FF;
  constexpr TColour kGrey = 0x00C0C0C0;
  constexpr TColour kBlue = 0x00FF0000;
  TCommandList& commands = panel->Commands();
  commands.Get(0).ButtonColour = kRed;
  commands.Get(1).ImageIndex = pictureIndex;
  for (int index : {2, 3}) {
    commands.Get(index).Caption = "Caption";
    commands.Get(index).ButtonColour = kGrey;
    commands.Get(index).TextColour = kBlue;
  }
  commands.Get(3).Data = "1";
  panel->RefreshGrid();

  const QImage image = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QString png = QStringLiteral(TOVRANA_TEST_OUTPUT_DIR "/main_window.png");
  ASSERT_TRUE(image.save(png)) << png.toStdString();

  const QRect first = Button(*panel, 1)->geometry();
  EXPECT_EQ(QColor(image.pixel(first.left() + 8, first.top() + 8)), QColor(255, 0, 0));

  const QRect second = Button(*panel, 2)->geometry();
  const QImage picture = panel->ImageList().Picture(pictureIndex).toImage();
  const QColor face = QColor(image.pixel(second.left() + 5, second.top() + 5));
  int pictureInk = 0;
  for (int y = second.top() + 3; y < second.bottom() - 3; ++y)
    for (int x = second.left() + 3; x < second.left() + second.width() / 2; ++x)
      pictureInk += QColor(image.pixel(x, y)) != face;
  EXPECT_GT(pictureInk, 16) << "no picture left of the caption";

  const int regularInk = CountBlueInk(image, Button(*panel, 3)->geometry());
  const int boldInk = CountBlueInk(image, Button(*panel, 4)->geometry());
  EXPECT_GT(regularInk, 0);
  EXPECT_GT(boldInk, regularInk);
}

struct TMoveCase {
  const char* Name;
  bool AllowEditing;
  bool AllowWindowMoving;
  bool AllowEditingLater;  // switched on after start-up, before the move
  bool Moves;
};

class MoveLock : public MainWindowTest, public testing::WithParamInterface<TMoveCase> {};

TEST_P(MoveLock, PutsTheWindowBackOnlyWhileBothSwitchesAreOff) {
  const TMoveCase& c = GetParam();
  WriteSettings("[Windows]\r\nMain Left=20\r\nMain Top=30\r\nMain Width=300\r\nMain Height=200\r\n"
                "[General]\r\nAllow Editing=" + std::to_string(c.AllowEditing) +
                "\r\nAllow Window Moving=" + std::to_string(c.AllowWindowMoving) + "\r\n");
  auto panel = ShowPanel();
  ASSERT_EQ(panel->pos(), QPoint(20, 30));
  panel->State().AllowEditing = c.AllowEditingLater || c.AllowEditing;
  panel->move(120, 90);
  const QPoint expected = c.Moves ? QPoint(120, 90) : QPoint(20, 30);
  EXPECT_TRUE(QTest::qWaitFor([&] { return panel->pos() == expected; }, kDeadlineMs))
      << "at " << panel->pos().x() << "," << panel->pos().y();
}

INSTANTIATE_TEST_SUITE_P(
    Switches, MoveLock,
    testing::Values(TMoveCase{"BothOn", true, true, false, true},
                    TMoveCase{"OnlyMoving", false, true, false, true},
                    TMoveCase{"EditingOverridesMoving", true, false, false, true},
                    TMoveCase{"BothOff", false, false, false, false},
                    TMoveCase{"EditingSwitchedOnLater", false, false, true, true}),
    [](const testing::TestParamInfo<TMoveCase>& info) { return info.param.Name; });

struct TBoundsCase {
  const char* Name;
  const char* Windows;
  QRect Expected;  // outer rectangle; a null position means centred on the primary screen
};

// The offscreen platform frames a window with 2 pixels on each side; these
// stored sizes leave a client area that a 5 by 3 grid divides exactly.

class StoredBounds : public MainWindowTest, public testing::WithParamInterface<TBoundsCase> {};

TEST_P(StoredBounds, PlaceTheWindow) {
  WriteSettings(std::string("[Windows]\r\n") + GetParam().Windows);
  auto panel = ShowPanel();
  QRect expected = GetParam().Expected;
  if (expected.topLeft().isNull()) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    expected.moveTopLeft(screen.topLeft() + QPoint((screen.width() - expected.width()) / 2,
                                                   (screen.height() - expected.height()) / 2));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return panel->frameGeometry() == expected; }, kDeadlineMs))
      << "outer " << panel->frameGeometry().x() << "," << panel->frameGeometry().y() << " "
      << panel->frameGeometry().width() << "x" << panel->frameGeometry().height();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredBounds,
    testing::Values(
        TBoundsCase{"Honoured", "Main Left=40\r\nMain Top=50\r\nMain Width=304\r\nMain Height=204\r\n",
                    QRect(40, 50, 304, 204)},
        TBoundsCase{"OffEveryScreenIsCentred",
                    "Main Left=5000\r\nMain Top=-3000\r\nMain Width=304\r\nMain Height=204\r\n",
                    QRect(0, 0, 304, 204)},
        TBoundsCase{"TooSmallGrowsToMinimum",
                    "Main Left=10\r\nMain Top=10\r\nMain Width=100\r\nMain Height=60\r\n",
                    QRect(10, 10, 250, 150)}),
    [](const testing::TestParamInfo<TBoundsCase>& info) { return info.param.Name; });

TEST_F(MainWindowTest, ResizeLockFixesTheSizeYetTheLayoutStillSnaps) {
  // A client area of 401 by 302 inside the offscreen platform's frame.
  WriteSettings("[Windows]\r\nMain Width=405\r\nMain Height=306\r\n"
                "[General]\r\nAllow Window Resizing=0\r\n");
  auto panel = ShowPanel();
  EXPECT_EQ(panel->size(), QSize(399, 300));
  EXPECT_EQ(panel->minimumSize(), panel->maximumSize());
}

TEST_F(MainWindowTest, CloseWritesCurrentBoundsAndCaption) {
  auto panel = ShowPanel();
  panel->setWindowTitle("Rack 3");
  panel->move(60, 70);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->pos() == QPoint(60, 70); }, kDeadlineMs));
  ASSERT_TRUE(panel->close());
  const std::string text = ReadSettings();
  EXPECT_NE(text.find("Main Top=70\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Main Left=60\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Caption=Rack 3\r\n"), std::string::npos) << text;
}

// A folder that is a plain file makes the settings file unwritable for anyone.
std::filesystem::path UnwritableSettingsFile(const QTemporaryDir& folder) {
  const std::filesystem::path notAFolder = folder.path().toStdString() + "/plain-file";
  std::ofstream(notAFolder) << "x";
  return notAFolder / "tovrana.ini";
}

TEST_F(MainWindowTest, FailedSaveAsksToRetryOrCloseWithoutSaving) {
  const std::filesystem::path file = UnwritableSettingsFile(folder_);
  auto panel = ShowPanel(file);
  int boxesSeen = 0;
  QString boxText;
  // Answers the box when it appears: once with Retry, then without saving.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    boxText = box->text() + "\n" + box->informativeText();
    ++boxesSeen;
    for (QAbstractButton* button : box->buttons()) {
      const bool retry = box->buttonRole(button) == QMessageBox::AcceptRole;
      if (retry == (boxesSeen == 1)) {
        button->click();
        return;
      }
    }
  });
  answer.start(20);
  QTimer::singleShot(kDeadlineMs, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  EXPECT_TRUE(panel->close());
  answer.stop();
  EXPECT_EQ(boxesSeen, 2);
  EXPECT_TRUE(boxText.contains(QString::fromStdString(file.string()))) << boxText.toStdString();
  EXPECT_EQ(panel->ExitStatus(), 0);
}

TEST_F(MainWindowTest, UnattendedCloseDismissesModalDialogAndSaves) {
  auto panel = ShowPanel();
  QDialog dialog(panel.get());
  QTimer::singleShot(0, panel.get(), &TfmMain::RequestUnattendedClose);
  dialog.exec();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->isVisible(); }, kDeadlineMs));
  EXPECT_EQ(Sections().front(), "Windows");
  EXPECT_EQ(panel->ExitStatus(), 0);
}

TEST_F(MainWindowTest, QuittingRunsTheCloseStepOnce) {
  auto panel = ShowPanel();
  panel->CloseBeforeQuit();
  ASSERT_EQ(Sections().front(), "Windows");
  std::filesystem::remove(SettingsFile());
  EXPECT_TRUE(panel->close());
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(MainWindowTest, UnattendedCloseThatCannotSaveEndsWithFailureStatus) {
  auto panel = ShowPanel(UnwritableSettingsFile(folder_));
  panel->RequestUnattendedClose();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(panel->ExitStatus(), 1);
}

}  // namespace
