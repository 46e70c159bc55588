// kxout: the growing text buffer that writers of aircraft, configuration and
// recording files fill before saving. Numbers are formatted in the C locale
// whatever locale the process runs in, so files read back the same anywhere.
#pragma once

#include <string>

class kxout {
 public:
  // printf conventions; returns the characters appended (0 on a bad format).
  int Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The text in double quotes, with '"' and '\' escaped by a backslash, so
  // user text can never end the string early. Null writes "".
  void PrintString(const char* text);

  const std::string& Text() const { return text_; }
  void Clear() { text_.clear(); }

 private:
  std::string text_;
};
