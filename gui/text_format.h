// Printing a number through a format text that comes from outside the code
// (a widget's value format): a format with exactly one floating-point
// conversion prints the number, one without any conversion is shown as the
// text it is, and anything else falls back to "%.2f", so a bad format can
// never read a missing argument.
#pragma once

#include "core/string.h"

namespace kxgui {

// 1 when format holds exactly one conversion of f, F, e, E, g or G (with
// flags, width and precision, no "*"), apart from "%%".
int IsRealFormat(const char* format);
kxstring FormatReal(const char* format, double value);

}  // namespace kxgui
