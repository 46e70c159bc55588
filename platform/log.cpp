#include "platform/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "core/hooks.h"
#include "core/string.h"
#include "platform/files.h"

namespace kxsystem {
namespace {

// Text logged before the file is opened is kept up to this size.
constexpr size_t kMaxPendingBytes = 1 << 20;

/*
 * The history is one zero-filled block: complete lines one after the other,
 * each ended by a zero byte, then the unfinished line, then zeros. A line that
 * does not fit pushes out whole oldest lines and the rest moves to the front,
 * so a pointer from GetLogLine always sees its younger lines after it. A
 * single line too long for the block keeps its start.
 */
struct History {
  char bytes[kLogHistoryBytes] = {};
  size_t complete = 0;  // bytes of complete lines, terminators included
  size_t partial = 0;   // bytes of the unfinished line after them

  void DropOldestLine() {
    const void* zero = std::memchr(bytes, 0, complete);
    size_t length = static_cast<const char*>(zero) - bytes + 1;
    size_t used = complete + partial;
    std::memmove(bytes, bytes + length, used - length);
    std::memset(bytes + used - length, 0, kLogHistoryBytes - (used - length));
    complete -= length;
  }

  void AppendChars(const char* text, size_t count) {
    // The unfinished line always keeps one zero byte after it.
    while (complete > 0 && complete + partial + count + 1 > kLogHistoryBytes) DropOldestLine();
    size_t room = kLogHistoryBytes - 1 - complete - partial;
    if (complete + partial >= kLogHistoryBytes) room = 0;
    if (count > room) count = room;
    std::memcpy(bytes + complete + partial, text, count);
    partial += count;
  }

  void EndLine() {
    if (complete + partial >= kLogHistoryBytes) {
      // Only possible for a line that filled the block: keep its start.
      partial = kLogHistoryBytes - 1 - complete;
    }
    bytes[complete + partial] = 0;
    complete += partial + 1;
    partial = 0;
  }

  void Append(const char* text) {
    while (*text) {
      const char* newline = std::strchr(text, '\n');
      size_t count = newline ? static_cast<size_t>(newline - text) : std::strlen(text);
      AppendChars(text, count);
      if (!newline) return;
      if (complete == kLogHistoryBytes && partial == 0) DropOldestLine();
      EndLine();
      text = newline + 1;
    }
  }

  const char* Line(int n) const {
    if (complete + partial == 0) return bytes;
    // Walk back over line starts from the end of the newest line; with fewer
    // lines than n the walk stops at the first.
    size_t begin = partial > 0 ? complete + partial : complete - 1;
    for (int found = 1;; ++found) {
      while (begin > 0 && bytes[begin - 1] != 0) --begin;
      if (found >= n || begin == 0) return bytes + begin;
      --begin;  // onto the zero ending the line before
    }
  }
};

std::mutex logMutex;
History history;
FILE* logFile = nullptr;
std::string pending;
void (*fatalCleanup)() = nullptr;

void AppendLocked(const char* text) {
  history.Append(text);
  if (logFile) {
    std::fputs(text, logFile);
    if (std::strchr(text, '\n')) std::fflush(logFile);
  } else if (pending.size() < kMaxPendingBytes) {
    pending += text;
  }
}

void FatalHandler(int code) {
  Log("kxsystem:  fatal error %d\n", code);
  FlushLog();
  if (fatalCleanup) fatalCleanup();
}

std::string ResolveForCore(const char* path) { return ResolveReadPath(path); }
bool CheckForCore(const char* resolved) { return MayRead(resolved) != 0; }

}  // namespace

void Log(const char* format, ...) {
  std::string text;
  va_list args;
  va_start(args, format);
  kxappendv(text, format, args);
  va_end(args);
  LogText(text.c_str());
}

void LogText(const char* text) {
  if (!text || !*text) return;
  std::lock_guard<std::mutex> lock(logMutex);
  AppendLocked(text);
}

int OpenLog(const char* path) {
  std::lock_guard<std::mutex> lock(logMutex);
  if (logFile) std::fclose(logFile);
  logFile = path && *path ? std::fopen(path, "w") : nullptr;
  if (!logFile) return 0;
  std::fputs(pending.c_str(), logFile);
  std::fflush(logFile);
  pending.clear();
  return 1;
}

void CloseLog() {
  std::lock_guard<std::mutex> lock(logMutex);
  if (logFile) std::fclose(logFile);
  logFile = nullptr;
}

void FlushLog() {
  std::lock_guard<std::mutex> lock(logMutex);
  if (logFile) std::fflush(logFile);
}

const char* GetLogLine(int n) {
  std::lock_guard<std::mutex> lock(logMutex);
  return history.Line(n);
}

void ClearLogHistory() {
  std::lock_guard<std::mutex> lock(logMutex);
  history = History();
  pending.clear();
}

void InstallCoreHandlers(void (*cleanup)()) {
  fatalCleanup = cleanup;
  kxcore::SetLogHandler(LogText);
  kxcore::SetFatalHandler(FatalHandler);
  kxcore::SetPathResolver(ResolveForCore);
  kxcore::SetReadCheck(CheckForCore);
}

}  // namespace kxsystem
