// The order of this table is the image index that stored panels keep: append, never reorder.
#include "widgets/icons/PictureTable.h"

#include "widgets/icons/Pictures.h"

#include <QPainter>

#include <array>

namespace {

using namespace pictures;

constexpr std::array kTable{
    TPictureEntry{"Lamp grey", LampGrey},
    TPictureEntry{"Lamp red", LampRed},
    TPictureEntry{"Lamp green", LampGreen},
    TPictureEntry{"Lamp yellow", LampYellow},
    TPictureEntry{"Lamp grey, small", LampGreySmall},
    TPictureEntry{"Lamp red, small", LampRedSmall},
    TPictureEntry{"Lamp green, small", LampGreenSmall},
    TPictureEntry{"Lamp yellow, small", LampYellowSmall},
    TPictureEntry{"Lamp grey, bezel", LampGreyBezel},
    TPictureEntry{"Lamp red, bezel", LampRedBezel},
    TPictureEntry{"Lamp green, bezel", LampGreenBezel},
    TPictureEntry{"Lamp yellow, bezel", LampYellowBezel},
    TPictureEntry{"Lamp grey, glowing", LampGreyGlowing},
    TPictureEntry{"Lamp red, glowing", LampRedGlowing},
    TPictureEntry{"Lamp green, glowing", LampGreenGlowing},
    TPictureEntry{"Lamp yellow, glowing", LampYellowGlowing},
};

}  // namespace

std::span<const TPictureEntry> PictureTable() { return kTable; }

QImage PaintPicture(const TPictureEntry& entry, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  entry.paint(painter);
  return image;
}
