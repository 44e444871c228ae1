// The main window's image list: 135 pictures of 16 by 16 pixels with transparency, painted once
// when the list is built. A button record keeps a picture's index, so the order lives in one table
// (icons/PictureTable.cpp) and never changes. Owned by the main window; user-interface thread only.
#pragma once

#include <QPixmap>
#include <QString>
#include <vector>

class TImageList {
 public:
  static constexpr int kPictureSize = 16;

  TImageList();

  int Count() const;
  // A null pixmap when the index names no picture (-1 means "no icon" to the callers).
  QPixmap Picture(int index) const;
  // The picture's name for pickers and tooltips; empty when the index names no picture.
  QString Name(int index) const;

 private:
  bool Contains(int index) const;

  std::vector<QPixmap> pictures_;
  std::vector<QString> names_;
};
