#include "widgets/ColourMapping.h"

#include <QApplication>

#include <array>
#include <optional>

namespace {

// What a system colour index is drawn with: the palette role that plays the same
// part, or a fixed colour where Qt has no such role (title bars, borders, desktop).
struct TSystemColour {
  std::optional<QPalette::ColorRole> Role;
  QPalette::ColorGroup Group = QPalette::Active;
  QRgb Fixed = 0;
};

constexpr QRgb kBlack = 0xFF000000;

const std::array<TSystemColour, 31> kSystemColours = {{
    {std::nullopt, QPalette::Active, 0xFFC8C8C8},  // 0 scroll bar
    {std::nullopt, QPalette::Active, kBlack},      // 1 desktop
    {std::nullopt, QPalette::Active, 0xFF99B4D1},  // 2 active title bar
    {std::nullopt, QPalette::Active, 0xFFBFCDDB},  // 3 inactive title bar
    {QPalette::Window},                            // 4 menu
    {QPalette::Base},                              // 5 window background
    {std::nullopt, QPalette::Active, 0xFF646464},  // 6 window frame
    {QPalette::WindowText},                        // 7 menu text
    {QPalette::Text},                              // 8 window text
    {std::nullopt, QPalette::Active, kBlack},      // 9 title bar text
    {std::nullopt, QPalette::Active, 0xFFB4B4B4},  // 10 active border
    {std::nullopt, QPalette::Active, 0xFFF4F7FC},  // 11 inactive border
    {std::nullopt, QPalette::Active, 0xFFABABAB},  // 12 application workspace
    {QPalette::Highlight},                         // 13 selection
    {QPalette::HighlightedText},                   // 14 selected text
    {QPalette::Button},                            // 15 button face
    {QPalette::Dark},                              // 16 button shadow
    {QPalette::Text, QPalette::Disabled},          // 17 grey text
    {QPalette::ButtonText},                        // 18 button text
    {std::nullopt, QPalette::Active, 0xFF373737},  // 19 inactive title bar text
    {QPalette::Light},                             // 20 button highlight
    {QPalette::Shadow},                            // 21 3D dark shadow
    {QPalette::Midlight},                          // 22 3D light
    {QPalette::ToolTipText},                       // 23 tooltip text
    {QPalette::ToolTipBase},                       // 24 tooltip background
    {std::nullopt, QPalette::Active, kBlack},      // 25 unused
    {QPalette::Link},                              // 26 hot-tracked item
    {std::nullopt, QPalette::Active, 0xFFB9D1EA},  // 27 active title bar gradient
    {std::nullopt, QPalette::Active, 0xFFD7E4F2},  // 28 inactive title bar gradient
    {QPalette::Highlight},                         // 29 menu selection
    {QPalette::Window},                            // 30 menu bar
}};

}  // namespace

QColor ToQColor(TColour colour, const QPalette& palette) {
  if (!IsSystemColour(colour)) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  }
  const unsigned index = colour & 0xFF;
  // An index the window system does not know reads as black, as it does there.
  if (index >= kSystemColours.size()) return QColor(kBlack);
  const TSystemColour& system = kSystemColours[index];
  if (system.Role) return palette.color(system.Group, *system.Role);
  return QColor::fromRgb(system.Fixed);
}

QColor ToQColor(TColour colour) { return ToQColor(colour, QApplication::palette()); }
