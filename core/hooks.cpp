#include "core/hooks.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kxcore {
namespace {

void DefaultLog(const char* text) { std::fputs(text, stderr); }

LogHandler logHandler = DefaultLog;
FatalHandler fatalHandler = nullptr;
PathResolver pathResolver = nullptr;

}  // namespace

void SetLogHandler(LogHandler handler) { logHandler = handler ? handler : DefaultLog; }
void SetFatalHandler(FatalHandler handler) { fatalHandler = handler; }
void SetPathResolver(PathResolver resolver) { pathResolver = resolver; }

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    va_end(args);
    return;
  }
  std::string text(static_cast<size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  logHandler(text.c_str());
}

void Fatal(int code) {
  if (fatalHandler) fatalHandler(code);
  std::fprintf(stderr, "kxcore:  fatal error %d\n", code);
  std::exit(code);
}

std::string ResolvePath(const char* path) {
  if (!path) return std::string();
  return pathResolver ? pathResolver(path) : std::string(path);
}

}  // namespace kxcore

void kxempty() {}
void kxempty(const char*, ...) {}
