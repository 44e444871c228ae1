// Which of a button's texts goes out at each moment of a press: down, each
// repeat while held, and up. Pure functions over a record; any thread.
#pragma once

#include <string>

#include "core/CommandList.h"

// A button that sends when it goes down and may repeat and release while held:
// one with press data or a repeat interval. Any other button sends its data
// text on a click, as a plain button always has.
bool HoldsWhilePressed(const TCommand& record);
// Sent on the way down and again at every repeat: the press data, or the data
// text of a button without press data.
const std::string& DownText(const TCommand& record);
// Sent on the way up: the data text of a button with press data, else nothing.
const std::string* UpText(const TCommand& record);
