#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// The window system's coordinates are 16-bit signed.
constexpr int kCoordinateLimit = 32767;

int Clamped(int value, int low) { return std::clamp(value, low, kCoordinateLimit); }

// The title bar runs along the frame's top edge: the screen must hold that edge
// with room below it to take hold of the bar.
bool ShowsTitleBar(QRect screen, QRect frame) {
  const int shownWidth =
      std::min(frame.right(), screen.right()) - std::max(frame.left(), screen.left()) + 1;
  return shownWidth >= kMinimumShownSide && frame.top() >= screen.top() &&
         frame.top() + kMinimumShownSide <= screen.bottom() + 1;
}

}  // namespace

QRect ScreenShowingMost(QRect frame, const QList<QRect>& screens, QRect primaryScreen) {
  QRect best = primaryScreen;
  long long bestArea = 0;
  for (const QRect& screen : screens) {
    const QRect shown = screen.intersected(frame);
    const long long area = static_cast<long long>(shown.width()) * shown.height();
    if (area > bestArea) {
      bestArea = area;
      best = screen;
    }
  }
  return best;
}

QRect FitOnScreen(QRect frame, QRect screen) {
  if (screen.isEmpty()) return frame;
  frame.setSize(frame.size().boundedTo(screen.size()));
  frame.moveLeft(std::clamp(frame.left(), screen.left(), screen.right() + 1 - frame.width()));
  frame.moveTop(std::clamp(frame.top(), screen.top(), screen.bottom() + 1 - frame.height()));
  return frame;
}

QRect PlaceWindow(int left, int top, int width, int height, QSize minimumSize,
                  const QList<QRect>& screens, QRect primaryScreen) {
  QRect placed(Clamped(left, -kCoordinateLimit), Clamped(top, -kCoordinateLimit),
               Clamped(width, minimumSize.width()), Clamped(height, minimumSize.height()));
  // A window is never larger than the screen that shows it.
  const QRect home = ScreenShowingMost(placed, screens, primaryScreen);
  if (!home.isEmpty()) placed.setSize(placed.size().boundedTo(home.size()));
  const bool titleShown = std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
    return ShowsTitleBar(screen, placed);
  });
  if (titleShown || primaryScreen.isEmpty()) return placed;
  placed.setSize(placed.size().boundedTo(primaryScreen.size()));
  placed.moveTopLeft({primaryScreen.left() + (primaryScreen.width() - placed.width()) / 2,
                      primaryScreen.top() + (primaryScreen.height() - placed.height()) / 2});
  return placed;
}

QRect MainWindowScreen(const QWidget& window) {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  const QScreen* primary = QGuiApplication::primaryScreen();
  return ScreenShowingMost(window.frameGeometry(), screens,
                           primary != nullptr ? primary->availableGeometry() : QRect());
}
