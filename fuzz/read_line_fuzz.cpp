// Reads arbitrary bytes line by line: every line must be cut at CR/LF, stay
// within the line limit, and the reader must reach the end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/input_file.h"
#include "platform/codes.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::file input("lines.txt", data, size);
  if (!input.Path()) return 0;
  kxfile* file = kxsystem::OpenFile(input.Path(), kxcode::kFileReadBinary);
  if (!file) std::abort();
  size_t lines = 0;
  while (!kxsystem::IsEof(file)) {
    const char* line = kxsystem::ReadLine(file);
    size_t length = std::strlen(line);
    if (length > static_cast<size_t>(kxsystem::kMaxLineChars)) std::abort();
    if (std::strpbrk(line, "\r\n")) std::abort();
    if (++lines > size + 2) std::abort();  // each call must make progress
  }
  kxsystem::CloseFile(file);
  return 0;
}
