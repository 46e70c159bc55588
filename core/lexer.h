// Tokens of the command language: blanks, quoted strings with escaped quotes
// and backslashes, bare runs (names, paths and numbers), punctuation; and the split of
// a line into statements at ";" outside quotes, parentheses and braces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kxlex {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
// Bytes that end a bare run: blanks and ; ( ) { } , = "
bool IsBareByte(char c);

class cursor {
 public:
  explicit cursor(std::string_view text) : text_(text) {}
  void SkipBlanks();
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  bool StartsWith(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
  // Skips blanks, then takes c when it is next.
  bool Accept(char c);
  // At '"': the string without quotes, escapes resolved; false when unterminated.
  bool ReadString(std::string& out);
  // A bare run; empty when the next byte cannot start one.
  std::string_view ReadBare();

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// Statements of one line; a statement starting with "//" ends the line.
std::vector<std::string_view> SplitStatements(std::string_view line);

// A token that is entirely a number: an int when it has neither "." nor an
// exponent and fits 32 bits, else a real; "-0" is the real negative zero.
// Non-finite results are no numbers.
enum class number_kind { none, integer, real };
number_kind ReadNumber(std::string_view token, int& integer, double& real);

}  // namespace kxlex
