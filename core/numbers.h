// kxnumber: number text written and read independently of the process
// locale, for every file the system writes and reads back.
#pragma once

#include <cstddef>
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

// 1 when the word is written as a number that no real of the type holds:
// "nan", "inf" or "infinity" in any case, signed or not, or digits beyond
// the type's range ("1e39" for a float, "1e400" for a double). Readers
// refuse such a word as a number instead of taking it for a name or a
// remark.
bool IsNonFiniteText(std::string_view word);
bool IsNonFiniteFloatText(std::string_view word);

// The number at the start of a text, as the line readers take it (the
// scenery, the settings, the old-format models, a typed field): the longest
// front of the text in the grammar above, an "e" counted only when digits
// follow it; whatever comes after is left. Each returns the characters it
// read, or 0 - out untouched - for a text that starts with no number or
// with one out of the type's range (not finite, for the reals).
size_t ReadLeading(std::string_view text, double& out);
size_t ReadLeading(std::string_view text, float& out);
// An optional sign and decimal digits.
size_t ReadLeadingInt(std::string_view text, long long& out);

// Blanks (as isspace counts them) at the front of a text; a reader that
// lets blanks stand before a number skips these first.
size_t LeadingBlanks(std::string_view text);
// The whole number after any blanks at the front, for the fields and system
// files read as the C library's atoi reads them: 0 when no number starts
// there, and digits beyond the range of long long give its nearest end.
long long LeadingWholeNumber(std::string_view text);
// The same for a real number; 0 when none (or none finite) starts there.
double LeadingReal(std::string_view text);

}  // namespace kxnumber
