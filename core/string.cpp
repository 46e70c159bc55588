#include "core/string.h"

#include <cstdarg>
#include <cstdio>

void kxstring::Set(const char* text, size_t capacity) {
  text_ = text ? text : "";
  if (capacity > text_.size()) text_.reserve(capacity);
}

void kxstring::SetInt(int value) { text_ = std::to_string(value); }

void kxstring::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    text_.clear();
  } else {
    text_.assign(static_cast<size_t>(length), '\0');
    std::vsnprintf(text_.data(), text_.size() + 1, format, args);
  }
  va_end(args);
}
