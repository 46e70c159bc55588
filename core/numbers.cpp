#include "core/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace kxnumber {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from `at`; returns how many.
size_t SkipDigits(std::string_view text, size_t& at) {
  size_t first = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - first;
}

// The length of the number grammar's longest match at the front; 0 for none.
size_t LeadingLength(std::string_view text) {
  size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  size_t whole = SkipDigits(text, at);
  size_t fraction = 0;
  if (at < text.size() && text[at] == '.') {
    size_t point = at++;
    fraction = SkipDigits(text, at);
    if (whole == 0 && fraction == 0) at = point;
  }
  if (whole == 0 && fraction == 0) return 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (SkipDigits(text, exponent) > 0) at = exponent;
  }
  return at;
}

/* from_chars accepts "inf" and "nan" yet refuses a leading "+", so the
   grammar is checked here first and from_chars only converts. */
template <class T>
bool ParseReal(std::string_view text, T& out) {
  if (!IsNumberText(text)) return false;
  if (text.front() == '+') text.remove_prefix(1);
  T value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::general);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

}  // namespace

bool IsNumberText(std::string_view text) {
  size_t length = LeadingLength(text);
  return length > 0 && length == text.size();
}

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if ((text[i] >= 'A' && text[i] <= 'Z' ? text[i] - 'A' + 'a' : text[i]) != lower[i]) return false;
  return true;
}

template <class T>
bool NamesNoReal(std::string_view word) {
  T value;
  if (IsNumberText(word)) return !ParseReal(word, value);
  if (!word.empty() && (word.front() == '+' || word.front() == '-')) word.remove_prefix(1);
  return EqualsIgnoringCase(word, "nan") || EqualsIgnoringCase(word, "inf") || EqualsIgnoringCase(word, "infinity");
}

}  // namespace

bool IsNonFiniteText(std::string_view word) { return NamesNoReal<double>(word); }
bool IsNonFiniteFloatText(std::string_view word) { return NamesNoReal<float>(word); }

std::string FormatG(double value) {
  // to_chars in general format with precision 6 is specified as "%g" in the
  // C locale, without touching the process locale.
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

std::string FormatFixed(double value, int width, int precision) {
  constexpr int kMaxPrecision = 60;
  if (precision < 0) precision = 0;
  if (precision > kMaxPrecision) precision = kMaxPrecision;
  char buffer[400];  // DBL_MAX has 309 integer digits
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              std::chars_format::fixed, precision);
  std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
  if (width > 0 && text.size() < static_cast<size_t>(width)) {
    text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
  }
  return text;
}

bool Parse(std::string_view text, double& out) { return ParseReal(text, out); }
bool Parse(std::string_view text, float& out) { return ParseReal(text, out); }

bool ParseInt(std::string_view text, long long& out) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  if (text.empty()) return false;
  long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  out = value;
  return true;
}

namespace {

template <class T>
size_t ReadLeadingReal(std::string_view text, T& out) {
  size_t length = LeadingLength(text);
  return length && ParseReal(text.substr(0, length), out) ? length : 0;
}

}  // namespace

size_t ReadLeading(std::string_view text, double& out) { return ReadLeadingReal(text, out); }
size_t ReadLeading(std::string_view text, float& out) { return ReadLeadingReal(text, out); }

size_t ReadLeadingInt(std::string_view text, long long& out) {
  size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  if (SkipDigits(text, at) == 0) return 0;
  return ParseInt(text.substr(0, at), out) ? at : 0;
}

size_t LeadingBlanks(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  return at;
}

long long LeadingWholeNumber(std::string_view text) {
  text.remove_prefix(LeadingBlanks(text));
  long long value = 0;
  if (ReadLeadingInt(text, value)) return value;
  // Digits that failed could only be out of range.
  size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (at < text.size() && IsDigit(text[at])) return text[0] == '-' ? LLONG_MIN : LLONG_MAX;
  return 0;
}

double LeadingReal(std::string_view text) {
  double value = 0.0;
  return ReadLeading(text.substr(LeadingBlanks(text)), value) ? value : 0.0;
}

}  // namespace kxnumber
