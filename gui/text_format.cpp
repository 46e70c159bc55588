#include "gui/text_format.h"

#include <cstring>
#include <string>

namespace kxgui {

namespace {

const char* const kFallback = "%.2f";

// The floating-point conversions of a format, or -1 when it holds any other
// conversion (or a "*", or a "%" at its end). "%%" counts as none.
int RealConversions(const char* format) {
  if (!format) return -1;
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
    if (!*p || !std::strchr("fFeEgG", *p)) return -1;
    ++conversions;
  }
  return conversions;
}

}  // namespace

int IsRealFormat(const char* format) { return RealConversions(format) == 1 ? 1 : 0; }

kxstring FormatReal(const char* format, double value) {
  kxstring out;
  switch (RealConversions(format)) {
    case 1: out.Format(format, value); break;
    // A word in place of the number ("high" beside a volume slider): the
    // text as it stands, with "%%" as "%".
    case 0: {
      std::string text;
      for (const char* p = format; *p; ++p) {
        text += *p;
        if (*p == '%') ++p;  // the second of "%%"
      }
      out = text.c_str();
      break;
    }
    default: out.Format(kFallback, value); break;
  }
  return out;
}

}  // namespace kxgui
