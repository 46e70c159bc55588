#include "platform/text.h"

#include <cstring>

namespace kxsystem {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int StrEqual(const char* a, const char* b) {
  if (!a || !b) return 0;
  return std::strcmp(a, b) == 0 ? 1 : 0;
}

int StrEqualNoCase(const char* a, const char* b) {
  if (!a || !b) return 0;
  for (; *a && *b; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return 0;
  return *a == *b ? 1 : 0;
}

int StrStartsNoCase(const char* text, const char* prefix) {
  if (!prefix || !*prefix) return 1;
  if (!text) return 0;
  for (; *prefix; ++text, ++prefix)
    if (!*text || Lower(*text) != Lower(*prefix)) return 0;
  return 1;
}

}  // namespace kxsystem
