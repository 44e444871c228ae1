// Every dialog and box of a panel in a screen's corner opens wholly on that
// screen, keeping its place where it fits; on the offscreen platform, where no
// window manager frames anything.
#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/RepliesWindow.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Configuration.h"
#include "editing/Properties.h"

namespace {

constexpr int kDeadlineMs = 10000;

class DialogPlacementTest : public testing::Test {
 protected:
  // The panel at its smallest, in the corner of the screen that corner names.
  void ShowPanelAt(Qt::Corner corner) {
    panel_ = std::make_unique<TfmMain>(std::filesystem::path(folder_.path().toStdString()) /
                                       "tovrana.ini");
    panel_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_.get(), kDeadlineMs));
    panel_->resize(TfmMain::kMinimumOuterSize);
    const QRect panel(QPoint(), panel_->frameGeometry().size());
    QPoint at = screen_.topLeft();
    if (corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner)
      at.setX(screen_.right() + 1 - panel.width());
    if (corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner)
      at.setY(screen_.bottom() + 1 - panel.height());
    panel_->move(at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->pos() == at; }, kDeadlineMs));
  }

  // Where the dialog that show() puts up stood when it was shown; it is then
  // closed again.
  QRect FrameOfShown(const std::function<void()>& show) {
    QRect frame;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(top);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        frame = dialog->frameGeometry();
        dialog->reject();
      }
    });
    answer.start(5);
    show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame.isNull(); }, kDeadlineMs));
    return frame;
  }

  QTemporaryDir folder_;
  const QRect screen_ = QGuiApplication::primaryScreen()->availableGeometry();
  std::unique_ptr<TfmMain> panel_;
};

TEST_F(DialogPlacementTest, EveryDialogOfAPanelInACornerLiesWhollyOnTheScreen) {
  for (const Qt::Corner corner : {Qt::TopLeftCorner, Qt::TopRightCorner, Qt::BottomLeftCorner,
                                  Qt::BottomRightCorner}) {
    SCOPED_TRACE(corner);
    ShowPanelAt(corner);
    auto* about = new TAboutBox(panel_.get());
    auto* properties = new TfmProperties(panel_.get());
    auto* configuration = new TfmConfiguration(panel_.get());
    panel_->SetDialogs(about, properties, configuration);
    const std::pair<const char*, std::function<void()>> shows[] = {
        {"About", [&] { about->exec(); }},
        {"Properties", [&] { properties->exec(); }},
        {"Configuration", [&] { configuration->exec(); }},
        {"ErrorReport", [&] { ShowErrorReport(panel_.get(), std::runtime_error("Disk full")); }},
        {"NotModal",
         [&] {
           auto* box = new QMessageBox(QMessageBox::Warning, "Tovrana", "Unplugged",
                                       QMessageBox::Ok, panel_.get());
           box->setAttribute(Qt::WA_DeleteOnClose);
           box->show();
         }},
        {"ReplyViewBox",
         [&] {
           // The reply view in the same corner: its own box goes on its screen.
           TfmReplies* replies = panel_->fmReplies();
           panel_->ShowReplies();
           replies->move(panel_->pos());
           QMessageBox::critical(replies, "Replies", "The replies could not be saved.");
         }},
    };
    for (const auto& [name, show] : shows) {
      SCOPED_TRACE(name);
      const QRect frame = FrameOfShown(show);
      EXPECT_TRUE(screen_.contains(frame))
          << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    }
  }
}

// Shown again after the panel moved, a reused dialog is centred on it afresh.
TEST_F(DialogPlacementTest, AReusedDialogFollowsThePanel) {
  ShowPanelAt(Qt::TopLeftCorner);
  auto* about = new TAboutBox(panel_.get());
  const QRect first = FrameOfShown([&] { about->exec(); });
  const QPoint moved = screen_.center() - QPoint(60, 40);
  panel_->move(moved);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->pos() == moved; }, kDeadlineMs));
  const QRect second = FrameOfShown([&] { about->exec(); });
  EXPECT_EQ(second.center(), panel_->frameGeometry().center());
  EXPECT_NE(second.topLeft(), first.topLeft());
}

}  // namespace
