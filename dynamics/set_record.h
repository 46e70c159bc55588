// What a save's component file records of the other files of its set (the
// geometry script, the mesh), so that a save cut short is put in place only
// with the very files it wrote: one comment line each before the writer's
// last line, "// set file: <name> <bytes> <checksum>", which the reader
// skips as it skips every comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class kxout;

struct kxdsetfile {
  std::string name;         // the file's name in the aircraft's folder
  unsigned long long size;  // bytes
  uint32_t checksum;        // CRC-32 of the bytes

  bool operator==(const kxdsetfile&) const = default;
};

namespace kxdsetrecord {

kxdsetfile Of(const std::string& name, std::string_view bytes);
// The record of the file at path under name; false when it cannot be read.
bool OfFile(const std::string& path, const std::string& name, kxdsetfile* out);
// The record's line.
void Write(kxout& out, const kxdsetfile& file);
// The records a component file's text holds, in order.
std::vector<kxdsetfile> Read(std::string_view text);

}  // namespace kxdsetrecord
