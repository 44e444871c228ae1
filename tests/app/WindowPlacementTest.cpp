// Where the main window goes for a stored rectangle.
#include <gtest/gtest.h>

#include <climits>

#include "app/WindowPlacement.h"

namespace {

const QRect kLeftScreen(0, 0, 1920, 1080);
const QRect kRightScreen(1920, 0, 1280, 1024);
const QSize kMinimum(250, 150);

struct TPlacementCase {
  const char* Name;
  int Left, Top, Width, Height;
  QRect Expected;
};

const TPlacementCase kCases[] = {
    {"OnPrimary", 100, 80, 800, 600, QRect(100, 80, 800, 600)},
    {"OnSecondScreen", 2000, 100, 800, 600, QRect(2000, 100, 800, 600)},
    {"LeftPartOffScreen", -700, 100, 800, 600, QRect(-700, 100, 800, 600)},
    {"TitleBarAboveScreen", -700, -500, 800, 600, QRect(560, 240, 800, 600)},
    {"TitleBarOnePixelAbove", 100, -1, 800, 600, QRect(560, 240, 800, 600)},
    {"BelowMinimum", 10, 10, 100, -5, QRect(10, 10, 250, 150)},
    {"RightOfAllScreens", 3300, 0, 800, 600, QRect(560, 240, 800, 600)},
    {"SliverShown", 1900, 1070, 800, 600, QRect(560, 240, 800, 600)},
    {"HugeFitsTheScreenShowingIt", 1920, 0, 40000, 40000, QRect(1920, 0, 1280, 1024)},
    {"LargerThanScreenOffScreen", 9000, 9000, 3000, 2000, QRect(0, 0, 1920, 1080)},
    {"ExtremeValues", INT_MAX, INT_MIN, INT_MAX, INT_MAX, QRect(0, 0, 1920, 1080)},
};

TEST(WindowPlacement, KeepsShownRectanglesAndCentresTheRest) {
  for (const TPlacementCase& c : kCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(PlaceWindow(c.Left, c.Top, c.Width, c.Height, kMinimum, {kLeftScreen, kRightScreen},
                          kLeftScreen),
              c.Expected);
  }
}

struct TFitCase {
  const char* Name;
  QRect Frame;
  QRect Expected;
};

const TFitCase kFitCases[] = {
    {"Inside", QRect(100, 100, 400, 300), QRect(100, 100, 400, 300)},
    {"AboveAndLeft", QRect(-50, -30, 400, 300), QRect(0, 0, 400, 300)},
    {"BelowAndRight", QRect(1800, 1000, 400, 300), QRect(1520, 780, 400, 300)},
    {"Larger", QRect(10, 10, 2500, 1500), QRect(0, 0, 1920, 1080)},
};

TEST(WindowPlacement, FitOnScreenMovesOnlyAsFarAsItTakes) {
  for (const TFitCase& c : kFitCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(FitOnScreen(c.Frame, kLeftScreen), c.Expected);
  }
}

TEST(WindowPlacement, TheScreenShowingMostWinsAndThePrimaryWhenNoneShowsAny) {
  const QList<QRect> screens{kLeftScreen, kRightScreen};
  EXPECT_EQ(ScreenShowingMost(QRect(1800, 0, 400, 300), screens, kLeftScreen), kRightScreen);
  EXPECT_EQ(ScreenShowingMost(QRect(1600, 0, 400, 300), screens, kRightScreen), kLeftScreen);
  EXPECT_EQ(ScreenShowingMost(QRect(9000, 0, 400, 300), screens, kRightScreen), kRightScreen);
}

}  // namespace
