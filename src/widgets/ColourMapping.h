// Turns the 32-bit colour values of the button records into colours to paint
// with: system colours follow the application's palette, others are 0x00BBGGRR.
// Stateless; user-interface thread (it reads the application palette).
#pragma once

#include <QColor>
#include <QPalette>

#include "core/Colour.h"

QColor ToQColor(TColour colour, const QPalette& palette);
// The palette of the running application.
QColor ToQColor(TColour colour);
