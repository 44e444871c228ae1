#include "widgets/ColourSelector.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>

#include "widgets/ColourMapping.h"

namespace {

struct TNamedColour {
  const char* Name;
  TColour Value;
};

constexpr TColour System(uint8_t index) { return 0xFF000000u | index; }

// Values are 0x00BBGGRR. The system colours follow the window system's indices;
// index 25 has no meaning there and is not offered.
constexpr TNamedColour kColours[] = {
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
    {"Scroll bar", System(0)},
    {"Background", System(1)},
    {"Active caption", System(2)},
    {"Inactive caption", System(3)},
    {"Menu", System(4)},
    {"Window", System(5)},
    {"Window frame", System(6)},
    {"Menu text", System(7)},
    {"Window text", System(8)},
    {"Caption text", System(9)},
    {"Active border", System(10)},
    {"Inactive border", System(11)},
    {"Application workspace", System(12)},
    {"Highlight", System(13)},
    {"Highlight text", System(14)},
    {"Button face", System(15)},
    {"Button shadow", System(16)},
    {"Gray text", System(17)},
    {"Button text", System(18)},
    {"Inactive caption text", System(19)},
    {"Button highlight", System(20)},
    {"3D dark shadow", System(21)},
    {"3D light", System(22)},
    {"Info text", System(23)},
    {"Info background", System(24)},
    {"Hot light", System(26)},
    {"Gradient active caption", System(27)},
    {"Gradient inactive caption", System(28)},
    {"Menu highlight", System(29)},
    {"Menu bar", System(30)},
};

QPixmap Swatch(const QColor& colour, int size) {
  QPixmap swatch(size, size);
  swatch.fill(colour);
  QPainter painter(&swatch);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, size - 1, size - 1);
  return swatch;
}

}  // namespace

TColourSelector::TColourSelector(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  // The open list scrolls instead of filling the screen's height; styles that
  // open it as a menu over the field ignore the limit unless told otherwise.
  setMaxVisibleItems(kVisibleEntries);
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  for (const TNamedColour& colour : kColours)
    addItem(QString::fromLatin1(colour.Name), QVariant::fromValue(colour.Value));
  PaintSwatches();
  setCurrentIndex(0);
  connect(this, &QComboBox::activated, this,
          [this](int index) { emit ColourSelected(itemData(index).value<TColour>()); });
}

TColour TColourSelector::Colour() const {
  return currentIndex() >= 0 ? currentData().value<TColour>() : storedColour_;
}

void TColourSelector::SetColour(TColour colour) {
  storedColour_ = colour;
  setCurrentIndex(findData(QVariant::fromValue(colour)));
}

void TColourSelector::changeEvent(QEvent* event) {
  // System colours are drawn as the palette shows them, so follow its changes.
  if (event->type() == QEvent::PaletteChange) PaintSwatches();
  QComboBox::changeEvent(event);
}

void TColourSelector::PaintSwatches() {
  const int size = iconSize().height();
  for (int index = 0; index < count(); ++index)
    setItemIcon(index, Swatch(ToQColor(itemData(index).value<TColour>(), palette()), size));
}
