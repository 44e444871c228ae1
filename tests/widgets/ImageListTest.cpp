// Tests of the image list: its size and fixed order, the shape of every picture, that no two
// pictures look alike, the lamp colours, out-of-range lookups, and the program icon's sizes.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QStringList>
#include <climits>
#include <utility>

#include "widgets/ImageList.h"
#include "widgets/icons/AppIcon.h"

namespace {

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
  }
  return count;
}

int TransparentPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) == 0 ? 1 : 0;
  }
  return count;
}

int DifferingPixels(const QImage& first, const QImage& second) {
  int count = 0;
  for (int y = 0; y < first.height(); ++y) {
    for (int x = 0; x < first.width(); ++x)
      count += first.pixel(x, y) != second.pixel(x, y) ? 1 : 0;
  }
  return count;
}

int IndexOf(const TImageList& list, const QString& name) {
  for (int index = 0; index < list.Count(); ++index) {
    if (list.Name(index) == name) return index;
  }
  return -1;
}

QImage PictureImage(const TImageList& list, int index) {
  return list.Picture(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

class ImageListTest : public testing::Test {
 protected:
  const TImageList list_;
};

TEST_F(ImageListTest, HoldsOneHundredThirtyFivePicturesWithUniqueNames) {
  ASSERT_EQ(list_.Count(), 135);
  QSet<QString> names;
  for (int index = 0; index < list_.Count(); ++index) {
    const QString name = list_.Name(index);
    EXPECT_FALSE(name.isEmpty()) << "picture " << index;
    EXPECT_FALSE(names.contains(name)) << "picture " << index << " repeats " << name.toStdString();
    names.insert(name);
  }
}

// Stored panels keep picture indices, so the order must match the published list exactly.
TEST_F(ImageListTest, OrderMatchesThePublishedList) {
  QFile file(QStringLiteral(TOVRANA_RESOURCES_DIR "/image-list.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), list_.Count());
  for (int index = 0; index < list_.Count(); ++index) {
    EXPECT_EQ(lines[index].toStdString(),
              (QString::number(index) + '\t' + list_.Name(index)).toStdString());
  }
}

TEST_F(ImageListTest, EveryPictureIsSixteenSquareWithArtAndTransparency) {
  for (int index = 0; index < list_.Count(); ++index) {
    const QPixmap picture = list_.Picture(index);
    ASSERT_FALSE(picture.isNull()) << "picture " << index;
    EXPECT_EQ(picture.size(), QSize(16, 16)) << "picture " << index;
    EXPECT_TRUE(picture.hasAlphaChannel()) << "picture " << index;
    const QImage image = PictureImage(list_, index);
    EXPECT_GE(OpaquePixels(image), 20) << "picture " << index << " is nearly empty";
    EXPECT_GE(TransparentPixels(image), 1) << "picture " << index << " has no transparent pixel";
  }
}

// Pictures must tell apart at a glance. Digit key caps differ least: a 0 and an 8 only by the
// 8's middle bar, which is four pixels.
TEST_F(ImageListTest, NoTwoPicturesLookAlike) {
  constexpr int kMinimumDifference = 4;
  std::vector<QImage> images;
  for (int index = 0; index < list_.Count(); ++index) images.push_back(PictureImage(list_, index));
  for (size_t first = 0; first < images.size(); ++first) {
    for (size_t second = first + 1; second < images.size(); ++second) {
      EXPECT_GE(DifferingPixels(images[first], images[second]), kMinimumDifference)
          << "pictures " << first << " and " << second;
    }
  }
}

TEST_F(ImageListTest, PaintingIsDeterministic) {
  const TImageList again;
  for (int index = 0; index < list_.Count(); ++index) {
    EXPECT_EQ(PictureImage(list_, index), PictureImage(again, index)) << "picture " << index;
  }
}

TEST_F(ImageListTest, IndicesThatNameNoPictureGiveNothing) {
  for (const int index : {-1, -2, 135, 136, INT_MIN, INT_MAX}) {
    EXPECT_TRUE(list_.Picture(index).isNull()) << index;
    EXPECT_TRUE(list_.Name(index).isEmpty()) << index;
  }
}

enum class TLampColour { Grey, Red, Green, Yellow };

bool LooksLike(const QColor& colour, TLampColour expected) {
  const int hue = colour.hsvHue();
  const bool saturated = colour.hsvSaturation() >= 150 && colour.value() >= 120;
  switch (expected) {
    case TLampColour::Grey:
      return colour.hsvSaturation() <= 30 && colour.value() >= 80 && colour.value() <= 220;
    case TLampColour::Red:
      return saturated && (hue <= 12 || hue >= 348);
    case TLampColour::Green:
      return saturated && hue >= 100 && hue <= 140;
    case TLampColour::Yellow:
      return saturated && hue >= 45 && hue <= 65;
  }
  return false;
}

TEST_F(ImageListTest, LampsShowTheColourTheirNameSays) {
  const std::pair<const char*, TLampColour> kColours[] = {{"grey", TLampColour::Grey},
                                                          {"red", TLampColour::Red},
                                                          {"green", TLampColour::Green},
                                                          {"yellow", TLampColour::Yellow}};
  const char* const kVariants[] = {"", ", small", ", bezel", ", glowing"};
  for (const auto& [colourName, colour] : kColours) {
    for (const char* variant : kVariants) {
      const QString name = QStringLiteral("Lamp %1%2").arg(colourName, variant);
      const int index = IndexOf(list_, name);
      ASSERT_GE(index, 0) << name.toStdString();
      const QColor centre = PictureImage(list_, index).pixelColor(8, 8);
      EXPECT_EQ(centre.alpha(), 255) << name.toStdString();
      EXPECT_TRUE(LooksLike(centre, colour))
          << name.toStdString() << " shows " << centre.name().toStdString();
    }
  }
}

TEST(AppIconTest, OffersEveryDesktopSize) {
  const QIcon icon = AppIcon();
  for (const int size : kAppIconSizes) {
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image.size(), QSize(size, size)) << size;
    EXPECT_GE(OpaquePixels(image), size * size / 3) << size;
    EXPECT_GE(TransparentPixels(image), 1) << size;
  }
}

// The desktop entry installs this file, which the art generator writes from the same painting.
TEST(AppIconTest, PublishedPictureIsFullSizeWithTransparency) {
  const QImage published(QStringLiteral(TOVRANA_RESOURCES_DIR "/tovrana.png"));
  ASSERT_EQ(published.size(), QSize(256, 256));
  EXPECT_TRUE(published.hasAlphaChannel());
  EXPECT_GE(OpaquePixels(published), 256 * 256 / 3);
}

}  // namespace
