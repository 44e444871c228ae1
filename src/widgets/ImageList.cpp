// Paints every picture of the table into a 16 by 16 transparent pixmap when the list is built, so
// the executable carries its art as code and a lookup costs nothing but an index check.
#include "widgets/ImageList.h"

#include <QImage>
#include <QPainter>

#include "widgets/icons/PictureTable.h"

TImageList::TImageList() {
  const auto table = PictureTable();
  pictures_.reserve(table.size());
  names_.reserve(table.size());
  for (const TPictureEntry& entry : table) {
    pictures_.push_back(QPixmap::fromImage(PaintPicture(entry, kPictureSize)));
    names_.push_back(QString::fromLatin1(entry.name));
  }
}

int TImageList::Count() const { return static_cast<int>(pictures_.size()); }

bool TImageList::Contains(int index) const { return index >= 0 && index < Count(); }

QPixmap TImageList::Picture(int index) const {
  return Contains(index) ? pictures_[static_cast<size_t>(index)] : QPixmap();
}

QString TImageList::Name(int index) const {
  return Contains(index) ? names_[static_cast<size_t>(index)] : QString();
}
