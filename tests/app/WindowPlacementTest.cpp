// Where the main window goes for a stored rectangle.
#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

#include <climits>

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
    {"PartlyShown", -700, -500, 800, 600, QRect(-700, -500, 800, 600)},
    {"BelowMinimum", 10, 10, 100, -5, QRect(10, 10, 250, 150)},
    {"RightOfAllScreens", 3300, 0, 800, 600, QRect(560, 240, 800, 600)},
    {"SliverShown", 1900, 1070, 800, 600, QRect(560, 240, 800, 600)},
    {"LargerThanScreen", 9000, 9000, 3000, 2000, QRect(0, 0, 3000, 2000)},
    {"ExtremeValues", INT_MAX, INT_MIN, INT_MAX, INT_MAX, QRect(0, 0, 32767, 32767)},
};

TEST(WindowPlacement, KeepsShownRectanglesAndCentresTheRest) {
  for (const TPlacementCase& c : kCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(PlaceWindow(c.Left, c.Top, c.Width, c.Height, kMinimum, {kLeftScreen, kRightScreen},
                          kLeftScreen),
              c.Expected);
  }
}

}  // namespace
