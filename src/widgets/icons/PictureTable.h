// The one table of the image list: index -> name -> painting function. Entries are only ever
// appended; stored panels refer to pictures by index. Pure data, safe to read from any thread.
#pragma once

#include <QImage>
#include <span>

class QPainter;

struct TPictureEntry {
  const char* name;
  // Paints in a 16 by 16 unit square on a transparent, antialiased painter.
  void (*paint)(QPainter&);
};

std::span<const TPictureEntry> PictureTable();

// Renders one entry into a transparent square image of size by size pixels.
QImage PaintPicture(const TPictureEntry& entry, int size);
