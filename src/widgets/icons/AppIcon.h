// The program's own icon: a small panel of coloured push buttons with a serial plug on its cable.
// Painted on demand; call from the user-interface thread (QIcon holds pixmaps).
#pragma once

#include <QIcon>
#include <QImage>
#include <array>

// The sizes the icon is painted at, from the window frame's 16 up to the desktop's 256.
inline constexpr std::array<int, 6> kAppIconSizes{16, 32, 48, 64, 128, 256};

// Paints the icon into a transparent square image of size by size pixels.
QImage PaintAppIcon(int size);

// The icon with one pixmap for every size of kAppIconSizes.
QIcon AppIcon();
