// Puts a fuzz input into a file, for targets whose code under test reads
// files by name rather than from memory.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzinput {

// Writes the bytes to `path`, replacing it. 1, or 0 when it cannot be opened.
inline int WriteInput(const char* path, const uint8_t* data, size_t size) {
  FILE* out = std::fopen(path, "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);
  return 1;
}

// A private file made once from `pattern` (mkstemp form, edited in place,
// so it must live as long as the run) and removed at exit: its path, or null
// when it cannot be made. Later calls return the first file.
inline const char* scratchPath = nullptr;
inline const char* ScratchFile(char* pattern) {
  static bool made = [pattern] {
    if (mkstemp(pattern) < 0) return false;
    scratchPath = pattern;
    std::atexit([] { unlink(scratchPath); });
    return true;
  }();
  return made ? scratchPath : nullptr;
}

}  // namespace fuzzinput
