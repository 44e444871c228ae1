// Where the main window goes at start-up: the stored outer rectangle, at least
// the minimum size and never larger than the screen that shows most of it, and
// centred on the primary screen when its title bar would lie off every screen.
// Rectangle arithmetic for any thread; MainWindowScreen reads the screens and
// belongs to the user-interface thread.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// How much of the title bar a screen must show for the stored place to be kept:
// this wide, and this high below the frame's top edge.
constexpr int kMinimumShownSide = 40;

// Stored values far outside any screen are clamped first, so that the
// rectangle's arithmetic cannot overflow.
QRect PlaceWindow(int left, int top, int width, int height, QSize minimumSize,
                  const QList<QRect>& screens, QRect primaryScreen);

// The screen of screens that shows the largest part of frame; primaryScreen
// when none shows any of it.
QRect ScreenShowingMost(QRect frame, const QList<QRect>& screens, QRect primaryScreen);

class QWidget;

// The available area of the screen that shows the largest part of window's frame.
QRect MainWindowScreen(const QWidget& window);

// frame moved, and shrunk where it is larger, so that it lies wholly on screen.
QRect FitOnScreen(QRect frame, QRect screen);
