#include "core/hooks.h"

#include "core/string.h"

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
ReadCheck readCheck = nullptr;

}  // namespace

void SetLogHandler(LogHandler handler) { logHandler = handler ? handler : DefaultLog; }
void SetFatalHandler(FatalHandler handler) { fatalHandler = handler; }
PathResolver SetPathResolver(PathResolver resolver) {
  PathResolver previous = pathResolver;
  pathResolver = resolver;
  return previous;
}

ReadCheck SetReadCheck(ReadCheck check) {
  ReadCheck previous = readCheck;
  readCheck = check;
  return previous;
}

void Log(const char* format, ...) {
  std::string text;
  va_list args;
  va_start(args, format);
  kxappendv(text, format, args);
  va_end(args);
  if (!text.empty()) logHandler(text.c_str());
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

bool MayRead(const char* resolved) { return !readCheck || readCheck(resolved); }

}  // namespace kxcore

void kxempty() {}
void kxempty(const char*, ...) {}
