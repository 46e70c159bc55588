// kxnumber: number text written and read independently of the process
// locale, for every file the system writes and reads back.
#pragma once

#include <string>
#include <string_view>

namespace kxnumber {

// As "%g" in the C locale: 0.75 -> "0.75", 1 -> "1", 0.00001 -> "1e-05".
std::string FormatG(double value);
// As "%<width>.<precision>f" in the C locale, e.g. (8, 4) -> "  0.7500".
std::string FormatFixed(double value, int width, int precision);

// Reads the whole text as [+|-] (digits ["." [digits]] | "." digits)
// [(e|E) [+|-] digits]; no blanks, "nan", "inf" or hex. Returns 1 and sets
// out only for a finite result; a result outside the type's range fails.
bool Parse(std::string_view text, double& out);
bool Parse(std::string_view text, float& out);
// Optional sign and decimal digits only; 0 when out of range.
bool ParseInt(std::string_view text, long long& out);

// 1 when the text matches the number grammar above (used by the lexer).
bool IsNumberText(std::string_view text);

}  // namespace kxnumber
