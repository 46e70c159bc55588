#include "gui/text_format.h"

#include <cstring>

namespace kxgui {

namespace {
const char* const kFallback = "%.2f";
}

int IsRealFormat(const char* format) {
  if (!format) return 0;
  int conversions = 0;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    while (*p >= '0' && *p <= '9') ++p;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') ++p;
    }
    if (!*p || !std::strchr("fFeEgG", *p)) return 0;
    ++conversions;
  }
  return conversions == 1 ? 1 : 0;
}

kxstring FormatReal(const char* format, double value) {
  kxstring out;
  if (IsRealFormat(format)) {
    out.Format(format, value);
  } else {
    out.Format(kFallback, value);
  }
  return out;
}

}  // namespace kxgui
