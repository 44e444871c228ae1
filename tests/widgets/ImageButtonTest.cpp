// The grid button's behaviour and drawing: clicks, signals, and pixel facts of
// the face, frame, caption and picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "widgets/ImageButton.h"

namespace {

const QColor kFace(40, 160, 60);
const QColor kText(200, 0, 0);
const QColor kPictureColour(0, 0, 255);

QImage Render(TImageButton& button) {
  return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels that the caption's ink covers: the red channel wins over the face.
bool IsInk(QRgb pixel) { return qRed(pixel) > 120 && qGreen(pixel) < 110; }

int CountInk(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += IsInk(image.pixel(x, y));
  return count;
}

// Separate horizontal bands of rows that hold caption ink: one per text line.
int CountInkBands(const QImage& image) {
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < image.height(); ++y) {
    bool rowHasInk = false;
    for (int x = 0; x < image.width() && !rowHasInk; ++x) rowHasInk = IsInk(image.pixel(x, y));
    if (rowHasInk && !inBand) ++bands;
    inBand = rowHasInk;
  }
  return bands;
}

std::unique_ptr<TImageButton> MakeButton(const QString& caption, QSize size = {160, 60}) {
  auto button = std::make_unique<TImageButton>();
  button->resize(size);
  button->SetButtonColour(kFace);
  button->SetTextColour(kText);
  button->SetCaption(caption);
  return button;
}

enum class TMouse { Press, Release, DoubleClick };

struct TClickCase {
  const char* Name;
  std::vector<TMouse> Events;
  int Clicks;
};

class ImageButtonClicks : public testing::TestWithParam<TClickCase> {};

TEST_P(ImageButtonClicks, DoubleClickCountsAsTwoClicks) {
  auto button = MakeButton("x");
  QSignalSpy clicks(button.get(), &QAbstractButton::clicked);
  const QPointF at(10, 10);
  for (TMouse kind : GetParam().Events) {
    const QEvent::Type type = kind == TMouse::Press     ? QEvent::MouseButtonPress
                              : kind == TMouse::Release ? QEvent::MouseButtonRelease
                                                        : QEvent::MouseButtonDblClick;
    const Qt::MouseButtons held = kind == TMouse::Release ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(button.get(), &event);
  }
  EXPECT_EQ(clicks.count(), GetParam().Clicks);
}

using enum TMouse;
INSTANTIATE_TEST_SUITE_P(
    Sequences, ImageButtonClicks,
    testing::Values(
        TClickCase{"Single", {Press, Release}, 1},
        // Qt delivers the second press and then a double-click event.
        TClickCase{"PressThenDoubleClick", {Press, Release, Press, DoubleClick, Release}, 2},
        // Other window systems replace the second press by the double click.
        TClickCase{"DoubleClickInsteadOfPress", {Press, Release, DoubleClick, Release}, 2}),
    [](const testing::TestParamInfo<TClickCase>& info) { return info.param.Name; });

TEST(ImageButton, ReportsFocusAndContextMenuRequests) {
  auto button = MakeButton("x");
  QSignalSpy focus(button.get(), &TImageButton::FocusEntered);
  QSignalSpy menu(button.get(), &QWidget::customContextMenuRequested);
  button->show();
  button->activateWindow();
  button->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return focus.count() == 1; }, 10000));
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                          button->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(button.get(), &event);
  ASSERT_EQ(menu.count(), 1);
  EXPECT_EQ(menu.at(0).at(0).toPoint(), QPoint(5, 5));
}

TEST(ImageButton, FaceFillsTheButtonInsideItsFrame) {
  struct TCase {
    const char* Name;
    bool Flat;
    bool CornerIsFace;
  };
  for (const TCase& c : {TCase{"Raised", false, false}, TCase{"FlatAtRest", true, true}}) {
    SCOPED_TRACE(c.Name);
    auto button = MakeButton("");
    button->SetFlat(c.Flat);
    const QImage image = Render(*button);
    EXPECT_EQ(QColor(image.pixel(20, 30)), kFace);
    EXPECT_EQ(QColor(image.pixel(0, 0)) == kFace, c.CornerIsFace);
    EXPECT_EQ(QColor(image.pixel(159, 59)) == kFace, c.CornerIsFace);
  }
}

TEST(ImageButton, FlatButtonShowsFrameWhileFocused) {
  auto button = MakeButton("");
  button->SetFlat(true);
  button->show();
  button->activateWindow();
  button->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, 10000));
  EXPECT_NE(QColor(Render(*button).pixel(0, 0)), kFace);
}

// The focus frame runs inside the button's own frame, in black or white,
// whichever stands out from the face, raised or flat.
TEST(ImageButton, FocusFrameStandsOutFromEveryFace) {
  struct TCase {
    const char* Name;
    QColor Face;
    bool Flat;
    QColor Frame;
  };
  for (const TCase& c : {TCase{"LightRaised", QColor(255, 255, 160), false, Qt::black},
                         TCase{"LightFlat", QColor(200, 220, 255), true, Qt::black},
                         TCase{"DarkRaised", QColor(20, 20, 120), false, Qt::white},
                         TCase{"DarkFlat", QColor(120, 0, 0), true, Qt::white}}) {
    SCOPED_TRACE(c.Name);
    auto button = MakeButton("");
    button->SetButtonColour(c.Face);
    button->SetFlat(c.Flat);
    button->show();
    const QImage unfocused = Render(*button);
    button->activateWindow();
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, 10000));
    const QImage focused = Render(*button);
    for (const QPoint at : {QPoint(3, 30), QPoint(4, 30), QPoint(80, 3), QPoint(80, 4),
                            QPoint(156, 30), QPoint(155, 30), QPoint(80, 56), QPoint(80, 55)}) {
      EXPECT_EQ(QColor(unfocused.pixel(at)), c.Face) << at.x() << "," << at.y();
      EXPECT_EQ(QColor(focused.pixel(at)), c.Frame) << at.x() << "," << at.y();
    }
    EXPECT_EQ(QColor(focused.pixel(80, 30)), c.Face);
  }
}

TEST(ImageButton, OutcomeFrameRunsRoundTheEdgeUntilItsTimeIsUp) {
  auto button = MakeButton("");
  const QColor green(0x1E, 0xA0, 0x3C);
  button->ShowOutcomeFrame(green, std::chrono::milliseconds(50));
  const QImage framed = Render(*button);
  for (const QPoint at : {QPoint(0, 0), QPoint(159, 59), QPoint(2, 30), QPoint(80, 57)}) {
    EXPECT_EQ(QColor(framed.pixel(at)), green) << at.x() << "," << at.y();
  }
  EXPECT_EQ(QColor(framed.pixel(20, 30)), kFace);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !button->OutcomeFrame().isValid(); }, 10000));
  EXPECT_NE(QColor(Render(*button).pixel(2, 30)), green);
  // Cleared at once by the next send.
  button->ShowOutcomeFrame(green, std::chrono::seconds(60));
  button->ClearOutcomeFrame();
  EXPECT_FALSE(button->OutcomeFrame().isValid());
}

TEST(ImageButton, BoldCaptionCoversMoreInk) {
  auto regular = MakeButton("Bold Test");
  auto bold = MakeButton("Bold Test");
  bold->SetBold(true);
  const int regularInk = CountInk(Render(*regular));
  ASSERT_GT(regularInk, 0);
  EXPECT_GT(CountInk(Render(*bold)), regularInk);
}

TEST(ImageButton, CaptionLines) {
  struct TCase {
    const char* Caption;
    int Lines;
  };
  for (const TCase& c : {TCase{"Line1 Line2", 1}, TCase{"Line1\\nLine2", 2}, TCase{"A\\nB\\nC", 3},
                         TCase{"Backslash\\alone", 1}}) {
    SCOPED_TRACE(c.Caption);
    auto button = MakeButton(c.Caption, {160, 80});
    EXPECT_EQ(CountInkBands(Render(*button)), c.Lines);
  }
}

TEST(ImageButton, LongCaptionWrapsAtWords) {
  auto button = MakeButton("alpha beta gamma delta", {60, 80});
  EXPECT_GE(CountInkBands(Render(*button)), 2);
}

TEST(ImageButton, PictureStandsLeftOfCaptionWithGap) {
  auto button = MakeButton("Text");
  QPixmap picture(16, 16);
  picture.fill(kPictureColour);
  button->SetPicture(picture);
  const QImage image = Render(*button);
  int pictureRight = -1;
  int inkLeft = image.width();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (QColor(image.pixel(x, y)) == kPictureColour) pictureRight = std::max(pictureRight, x);
      if (IsInk(image.pixel(x, y))) inkLeft = std::min(inkLeft, x);
    }
  }
  ASSERT_GE(pictureRight, 15);
  const int gap = inkLeft - pictureRight - 1;
  EXPECT_GE(gap, TImageButton::kPictureGap);
  EXPECT_LE(gap, TImageButton::kPictureGap + 2);  // the first glyph's side bearing
}

TEST(ImageButton, NullPictureDrawsNothing) {
  auto button = MakeButton("");
  button->SetPicture(QPixmap());
  const QImage image = Render(*button);
  for (int x = 4; x < 156; ++x) ASSERT_EQ(QColor(image.pixel(x, 30)), kFace);
}

TEST(ImageButton, ACaptionThatDoesNotFitIsCutWithAnEllipsisAndIsTheTooltip) {
  TImageButton button;
  button.resize(60, 21);
  button.SetCaption("Camera Preset 12");
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  EXPECT_TRUE(button.ShownCaption().endsWith(QChar(0x2026))) << button.ShownCaption().toStdString();
  EXPECT_EQ(button.toolTip(), "Camera Preset 12");
  button.resize(400, 60);
  EXPECT_EQ(button.ShownCaption(), "Camera Preset 12");
}

TEST(ImageButton, AMultiMegabyteCaptionPaintsAndHoversPromptly) {
  TImageButton button;
  button.resize(120, 40);
  button.SetCaption(QString(10 * 1024 * 1024, QLatin1Char('W')));
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  // Painting and hovering come back; the test's deadline is the only clock.
  EXPECT_FALSE(button.grab().isNull());
  QTest::mouseMove(&button, button.rect().center());
  EXPECT_FALSE(button.grab().isNull());
  EXPECT_LE(button.ShownCaption().size(), 2 * 120);
  EXPECT_LE(button.toolTip().size(), 1003);
}

}  // namespace
