// The colour selector: its named entries and their values, swatches drawn in
// the entry's colour, colours without an entry kept unchanged, and the signal
// that only a user's pick emits.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <set>

#include "widgets/ColourMapping.h"
#include "widgets/ColourSelector.h"

namespace {

struct TNamedColourCase {
  const char* Name;
  TColour Value;
};

// Values are 0x00BBGGRR; system colours are 0xFF0000 plus their index.
const TNamedColourCase kNamedColours[] = {
    {"Black", 0x000000},
    {"Maroon", 0x000080},
    {"Green", 0x008000},
    {"Olive", 0x008080},
    {"Navy", 0x800000},
    {"Purple", 0x800080},
    {"Teal", 0x808000},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},
    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
    {"Money green", 0xC0DCC0},
    {"Sky blue", 0xF0CAA6},
    {"Cream", 0xF0FBFF},
    {"Medium gray", 0xA4A0A0},
    {"Button face", kColourButtonFace},
    {"Window text", kColourWindowText},
};

TEST(ColourSelector, NamesEachColour) {
  TColourSelector selector;
  for (const TNamedColourCase& named : kNamedColours) {
    selector.SetColour(named.Value);
    EXPECT_EQ(selector.currentText().toStdString(), named.Name);
    EXPECT_EQ(selector.Colour(), named.Value) << named.Name;
  }
}

TEST(ColourSelector, EveryEntryRoundTripsWithItsSwatch) {
  TColourSelector selector;
  // 16 standard, 4 extended, and the 30 system colour indices 0 to 30 but 25.
  ASSERT_EQ(selector.count(), 50);
  std::set<TColour> values;
  std::set<QString> names;
  for (int index = 0; index < selector.count(); ++index) {
    const TColour value = selector.itemData(index).value<TColour>();
    values.insert(value);
    names.insert(selector.itemText(index));
    selector.SetColour(value);
    EXPECT_EQ(selector.currentIndex(), index);
    EXPECT_EQ(selector.Colour(), value) << selector.itemText(index).toStdString();

    const QImage swatch = selector.itemIcon(index).pixmap(selector.iconSize()).toImage();
    ASSERT_FALSE(swatch.isNull());
    EXPECT_EQ(swatch.pixel(swatch.width() / 2, swatch.height() / 2),
              ToQColor(value, selector.palette()).rgb())
        << selector.itemText(index).toStdString();
  }
  EXPECT_EQ(values.size(), 50u);
  EXPECT_EQ(names.size(), 50u);
}

TEST(ColourSelector, AColourWithoutAnEntryShowsNoneAndIsKept) {
  const TColour unlisted[] = {0x123456, 0x00C0C0C1, 0xFF000019, 0xFF000040, 0x01000000};
  TColourSelector selector;
  for (const TColour colour : unlisted) {
    selector.SetColour(0x0000FF);
    selector.SetColour(colour);
    EXPECT_EQ(selector.currentIndex(), -1) << colour;
    EXPECT_EQ(selector.currentText().toStdString(), "") << colour;
    EXPECT_EQ(selector.Colour(), colour);
  }
}

TEST(ColourSelector, OnlyAUsersPickIsSignalled) {
  TColourSelector selector;
  QSignalSpy selected(&selector, &TColourSelector::ColourSelected);
  selector.SetColour(0x008000);  // "Green"
  EXPECT_EQ(selected.count(), 0);

  QTest::keyClick(&selector, Qt::Key_Down);  // to "Olive"
  ASSERT_EQ(selected.count(), 1);
  EXPECT_EQ(selected.at(0).at(0).value<TColour>(), 0x008080u);
  EXPECT_EQ(selector.Colour(), 0x008080u);

  selector.SetColour(0x123456);
  QTest::keyClick(&selector, Qt::Key_Home);
  ASSERT_EQ(selected.count(), 2);
  EXPECT_EQ(selected.at(1).at(0).value<TColour>(), 0x000000u);
  EXPECT_EQ(selector.Colour(), 0x000000u);
}

TEST(ColourSelector, TheOpenListShowsAtMostTwelveEntriesAndScrolls) {
  TColourSelector selector;
  selector.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&selector));
  selector.showPopup();
  QAbstractItemView* list = selector.view();
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }));
  const int row = list->sizeHintForRow(0);
  ASSERT_GT(row, 0);
  EXPECT_LE(list->viewport()->height(), TColourSelector::kVisibleEntries * row);
  EXPECT_GT(list->viewport()->height(), (TColourSelector::kVisibleEntries - 1) * row);
  EXPECT_TRUE(list->verticalScrollBar()->isVisible());
  selector.hidePopup();
}

}  // namespace
