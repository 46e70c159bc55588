#include "core/string.h"

#include <cstdarg>
#include <cstdio>

// Out of line on purpose: inlined at a call with a literal, gcc 12 reports a
// false overlap inside std::string's copy (-Wrestrict).
kxstring& kxstring::operator=(const char* text) {
  text_ = text ? text : "";
  return *this;
}

void kxstring::Set(const char* text, size_t capacity) {
  text_ = text ? text : "";
  if (capacity > text_.size()) text_.reserve(capacity);
}

void kxstring::SetInt(int value) { text_ = std::to_string(value); }

std::string kxexcerpt(std::string_view text) {
  if (text.size() <= kExcerptChars) return std::string(text);
  return std::string(text.substr(0, kExcerptChars)) + "...";
}

void kxappendv(std::string& out, const char* format, va_list args) {
  if (!format) return;
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return;
  size_t at = out.size();
  out.resize(at + static_cast<size_t>(length));
  // vsnprintf writes a terminator one past the text: the string's own.
  std::vsnprintf(out.data() + at, static_cast<size_t>(length) + 1, format, args);
}

void kxstring::Format(const char* format, ...) {
  text_.clear();
  va_list args;
  va_start(args, format);
  kxappendv(text_, format, args);
  va_end(args);
}
