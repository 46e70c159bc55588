#include "core/lexer.h"

#include <climits>
#include <cmath>

#include "core/numbers.h"

namespace kxlex {

bool IsBareByte(char c) {
  switch (c) {
    case ';': case '(': case ')': case '{': case '}': case ',': case '=': case '"': case '\0':
    case '\n':
      return false;
    default:
      return !IsBlank(c);
  }
}

void cursor::SkipBlanks() {
  while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
}

bool cursor::Accept(char c) {
  SkipBlanks();
  if (Peek() != c) return false;
  ++pos_;
  return true;
}

bool cursor::ReadString(std::string& out) {
  out.clear();
  if (Peek() != '"') return false;
  ++pos_;
  while (!AtEnd()) {
    char c = text_[pos_++];
    if (c == '"') return true;
    if (c == '\\' && !AtEnd() && (text_[pos_] == '"' || text_[pos_] == '\\')) c = text_[pos_++];
    out.push_back(c);
  }
  return false;
}

std::string_view cursor::ReadBare() {
  size_t start = pos_;
  while (!AtEnd() && IsBareByte(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

std::vector<std::string_view> SplitStatements(std::string_view line) {
  std::vector<std::string_view> out;
  size_t start = 0;
  int depth = 0;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
        ++i;
      } else if (c == '"') {
        quoted = false;
      }
      continue;
    }
    if (depth == 0 && c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
      // A comment at the start of a statement takes the rest of the line.
      size_t first = start;
      while (first < i && IsBlank(line[first])) ++first;
      if (first == i) {
        out.push_back(line.substr(start, i - start));
        return out;
      }
    }
    switch (c) {
      case '"': quoted = true; break;
      case '(': case '{': ++depth; break;
      case ')': case '}': if (depth > 0) --depth; break;
      case ';':
        if (depth == 0) {
          out.push_back(line.substr(start, i - start));
          start = i + 1;
        }
        break;
      default: break;
    }
  }
  out.push_back(line.substr(start));
  return out;
}

number_kind ReadNumber(std::string_view token, int& integer, double& real) {
  if (token.empty()) return number_kind::none;
  long long whole;
  if (kxnumber::ParseInt(token, whole)) {
    // "%g" writes a real's negative zero as "-0"; read as the int 0 it would
    // come back positive, losing a sign kept in a zero (a servo's sense).
    if (whole == 0 && token.front() == '-') {
      real = -0.0;
      return number_kind::real;
    }
    if (whole >= INT_MIN && whole <= INT_MAX) {
      integer = static_cast<int>(whole);
      return number_kind::integer;
    }
    real = static_cast<double>(whole);
    return number_kind::real;
  }
  if (kxnumber::Parse(token, real) && std::isfinite(real)) return number_kind::real;
  return number_kind::none;
}

}  // namespace kxlex
