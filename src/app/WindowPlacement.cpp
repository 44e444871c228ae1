#include "app/WindowPlacement.h"

#include <algorithm>

namespace {

// The window system's coordinates are 16-bit signed.
constexpr int kCoordinateLimit = 32767;

int Clamped(int value, int low) { return std::clamp(value, low, kCoordinateLimit); }

}  // namespace

QRect PlaceWindow(int left, int top, int width, int height, QSize minimumSize,
                  const QList<QRect>& screens, QRect primaryScreen) {
  QRect placed(Clamped(left, -kCoordinateLimit), Clamped(top, -kCoordinateLimit),
               Clamped(width, minimumSize.width()), Clamped(height, minimumSize.height()));
  const bool shown = std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
    const QRect visible = screen.intersected(placed);
    return visible.width() >= kMinimumShownSide && visible.height() >= kMinimumShownSide;
  });
  if (shown || primaryScreen.isEmpty()) return placed;
  // A window larger than the screen keeps its size and shows its top-left corner.
  placed.moveTopLeft(
      {primaryScreen.left() + std::max(0, (primaryScreen.width() - placed.width()) / 2),
       primaryScreen.top() + std::max(0, (primaryScreen.height() - placed.height()) / 2)});
  return placed;
}
