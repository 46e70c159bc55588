// The core's only ways out: the log and the fatal exit. The platform installs
// its own handlers at start; until then the log goes to stderr and a fatal
// error exits directly. Core includes no platform header.
#pragma once

#include <string>

namespace kxcore {

using LogHandler = void (*)(const char* text);
using FatalHandler = void (*)(int code);
// Maps a data-relative path to the one the platform would open (for example
// its case-insensitive fallback); by default the path is used unchanged.
using PathResolver = std::string (*)(const char* path);
// Whether the file at a resolved path may be read: the platform refuses one
// outside its data folder, with the log line; by default every file may.
using ReadCheck = bool (*)(const char* resolved);

void SetLogHandler(LogHandler handler);      // null restores the default
void SetFatalHandler(FatalHandler handler);  // null restores the default
// Null restores the default; returns the resolver it replaces.
PathResolver SetPathResolver(PathResolver resolver);
// Null restores the default; returns the check it replaces.
ReadCheck SetReadCheck(ReadCheck check);

// printf-style; the text goes to the handler as one piece.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Hands the code to the fatal handler, then exits with it. Never returns.
[[noreturn]] void Fatal(int code);

std::string ResolvePath(const char* path);
bool MayRead(const char* resolved);

}  // namespace kxcore

// The empty function: bound to commands that do nothing, and the trace sink of
// the geometry analyses (formats nothing).
void kxempty();
void kxempty(const char* format, ...);
