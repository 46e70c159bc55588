// Reads arbitrary bytes as the header of an aircraft component file, and as
// the record of a save's set at its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/output.h"
#include "dynamics/header.h"
#include "dynamics/set_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxdheader header;
  header.Parse(reinterpret_cast<const char*>(data), size);
  // Single digits, and a type that never overflowed into a negative number.
  if (header.major < 0 || header.major > 9 || header.minor < 0 || header.minor > 9 || header.type < 0) std::abort();
  // Every record read is written back as the line it came from reads.
  const std::vector<kxdsetfile> records = kxdsetrecord::Read(std::string_view(reinterpret_cast<const char*>(data), size));
  kxout out;
  for (const kxdsetfile& record : records) kxdsetrecord::Write(out, record);
  if (kxdsetrecord::Read(out.Text()) != records) std::abort();
  return 0;
}
