#include "core/output.h"

#include "core/string.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace {

/* The C locale is installed for this thread only around each format call:
   setlocale would change it for the whole process, and a fixed "C" copy of
   each format is what std::to_chars gives only for numbers, not for "%s"
   and widths mixed in one format. */
locale_t CLocale() {
  static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

int kxout::Printf(const char* format, ...) {
  if (!format) return 0;
  locale_t c = CLocale();
  locale_t previous = c ? uselocale(c) : static_cast<locale_t>(0);

  size_t before = text_.size();
  va_list args;
  va_start(args, format);
  kxappendv(text_, format, args);
  va_end(args);
  int length = static_cast<int>(text_.size() - before);

  if (c) uselocale(previous);
  return length > 0 ? length : 0;
}

void kxout::PrintString(const char* text) {
  text_ += '"';
  for (const char* at = text ? text : ""; *at; ++at) {
    if (*at == '"' || *at == '\\') text_ += '\\';
    text_ += *at;
  }
  text_ += '"';
}
