// Where the main window goes at start-up: the stored outer rectangle, at least
// the minimum size, and centred on the primary screen when no screen would show
// enough of it to take hold of. Plain rectangle arithmetic; any thread.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// How much of the window a screen must show for the stored place to be kept.
constexpr int kMinimumShownSide = 40;

// Stored values far outside any screen are clamped first, so that the
// rectangle's arithmetic cannot overflow.
QRect PlaceWindow(int left, int top, int width, int height, QSize minimumSize,
                  const QList<QRect>& screens, QRect primaryScreen);
