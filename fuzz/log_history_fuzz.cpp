// Feeds arbitrary pieces into the log history: lines must stay within the
// history, whole, and reachable from the oldest to the newest.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxsystem::ClearLogHistory();
  // Byte 0x01 splits the input into pieces; a long input is repeated to push
  // the history past its size.
  std::string text(reinterpret_cast<const char*>(data), size);
  int repeats = size > 0 ? 1 + data[0] % 8 : 1;
  for (int r = 0; r < repeats; ++r) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\x01', start);
      if (end == std::string::npos) end = text.size();
      std::string piece = text.substr(start, end - start);
      kxsystem::LogText(piece.c_str());
      start = end + 1;
    }
  }
  const char* oldest = kxsystem::GetLogLine(1 << 20);
  const char* newest = kxsystem::GetLogLine(1);
  if (!oldest || !newest || newest < oldest) std::abort();
  if (static_cast<size_t>(newest - oldest) + std::strlen(newest) >= kxsystem::kLogHistoryBytes) std::abort();
  const char* p = oldest;
  int count = 0;
  while (p < newest) {
    p += std::strlen(p) + 1;
    ++count;
  }
  if (p != newest) std::abort();
  if (count > 0 && kxsystem::GetLogLine(count + 1) != oldest) std::abort();
  return 0;
}
