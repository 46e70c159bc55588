// Puts a fuzz input into a file, for targets whose code under test reads
// files by name rather than from memory.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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

// A private folder made from `pattern` (mkdtemp form, edited in place, so it
// must live as long as the run) with the blank-separated subfolders, entered
// and removed at exit. 1, or 0 when it cannot be made or entered.
inline int EnterScratchFolder(char* pattern, const char* subfolders) {
  if (!mkdtemp(pattern) || chdir(pattern) != 0) return 0;
  static std::string remove;
  remove = std::string("rm -rf '") + pattern + "'";
  std::atexit([] { std::system(remove.c_str()); });
  return std::system((std::string("mkdir -p ") + subfolders).c_str()) == 0;
}

}  // namespace fuzzinput
