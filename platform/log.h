// The program's log: every piece of text goes to "kx.log" and to an in-memory
// history of the newest lines that the program can show on screen. Lines may
// be written in pieces; a line ends with the piece that ends in "\n".
#pragma once

#include <cstddef>

namespace kxsystem {

constexpr size_t kLogHistoryBytes = 20000;

// printf-style; appends to the log file and the history.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Appends text as it is (no formatting); core's log handler.
void LogText(const char* text);

// Truncates the file at path and logs into it from now on; text logged before
// is written first. 1 when the file could be opened, else 0.
int OpenLog(const char* path);
// Flushes and closes the log file; the history stays.
void CloseLog();
void FlushLog();

// Start of the n-th most recent line in the history (1 = newest). Younger
// lines follow it, each after the zero byte ending the one before. With fewer
// lines than n: the start of the history. Never null.
const char* GetLogLine(int n);

// Empties the history and the text waiting for a file (tests, start-up).
void ClearLogHistory();

// Installs the log, the fatal exit and the file name resolution into core.
// cleanup runs on a fatal exit after the log is flushed (may be null).
void InstallCoreHandlers(void (*cleanup)());

}  // namespace kxsystem
