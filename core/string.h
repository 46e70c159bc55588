// kxstring: the engine's owned text. Never null; the capacity only reserves,
// the whole text is always kept.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

// Appends printf-formatted text to out, however long; the one place the
// system turns a format and its arguments into text.
void kxappendv(std::string& out, const char* format, va_list args);

// Characters of input a log line quotes at most: enough to find the place,
// and a line of a hostile file stays a line of the log.
constexpr size_t kExcerptChars = 200;
// The text itself, or its first kExcerptChars characters and "...".
std::string kxexcerpt(std::string_view text);

class kxstring {
 public:
  kxstring() = default;
  kxstring(const char* text) : text_(text ? text : "") {}  // NOLINT: implicit on purpose
  kxstring(const std::string& text) : text_(text) {}      // NOLINT
  kxstring(const kxstring&) = default;
  kxstring(kxstring&&) noexcept = default;
  ~kxstring() = default;

  kxstring& operator=(const kxstring&) = default;
  kxstring& operator=(kxstring&&) noexcept = default;
  kxstring& operator=(const char* text);
  kxstring& operator=(const std::string& text) {
    text_ = text;
    return *this;
  }

  // Replaces the text; capacity is a hint, a longer text is kept whole.
  void Set(const char* text, size_t capacity = 0);
  void SetInt(int value);
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // 1 when both hold the same bytes, case-sensitive, else 0.
  int Equal(const kxstring& other) const { return text_ == other.text_ ? 1 : 0; }
  int Equal(const char* other) const { return text_ == (other ? other : "") ? 1 : 0; }

  const char* Text() const { return text_.c_str(); }
  size_t Length() const { return text_.size(); }
  bool Empty() const { return text_.empty(); }
  const std::string& Str() const { return text_; }
  std::string& Str() { return text_; }

  bool operator==(const kxstring& other) const { return text_ == other.text_; }
  bool operator==(const char* other) const { return text_ == (other ? other : ""); }

 private:
  std::string text_;
};
