#include "dynamics/set_record.h"

#include <zlib.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <utility>

#include "core/output.h"
#include "core/text_lines.h"
#include "platform/files.h"

namespace {

constexpr std::string_view kRecordStart = "// set file: ";

uint32_t Crc(uint32_t crc, const void* bytes, size_t size) {
  // zlib takes at most an unsigned int's worth at a time.
  const auto* p = static_cast<const Bytef*>(bytes);
  for (size_t done = 0; done < size;) {
    const uInt part = static_cast<uInt>(std::min<size_t>(size - done, 1u << 30));
    crc = static_cast<uint32_t>(crc32(crc, p + done, part));
    done += part;
  }
  return crc;
}

}  // namespace

namespace kxdsetrecord {

kxdsetfile Of(const std::string& name, std::string_view bytes) {
  return {name, bytes.size(), Crc(static_cast<uint32_t>(crc32(0, Z_NULL, 0)), bytes.data(), bytes.size())};
}

bool OfFile(const std::string& path, const std::string& name, kxdsetfile* out) {
  if (!out || !kxsystem::MayRead(path.c_str())) return false;
  FILE* stream = std::fopen(path.c_str(), "rb");
  if (!stream) return false;
  *out = {name, 0, static_cast<uint32_t>(crc32(0, Z_NULL, 0))};
  char block[1 << 16];
  for (size_t got; (got = std::fread(block, 1, sizeof block, stream)) > 0;) {
    out->size += got;
    out->checksum = Crc(out->checksum, block, got);
  }
  const bool ok = !std::ferror(stream);
  std::fclose(stream);
  return ok;
}

void Write(kxout& out, const kxdsetfile& file) {
  out.Printf("%.*s%s %llu %08" PRIx32 "\n", static_cast<int>(kRecordStart.size()), kRecordStart.data(),
             file.name.c_str(), file.size, file.checksum);
}

// The name may hold blanks; the size and the checksum are the last two words.
std::vector<kxdsetfile> Read(std::string_view text) {
  std::vector<kxdsetfile> files;
  kxtext::ForEachLine(text, [&files](std::string_view line, int) {
    if (!line.starts_with(kRecordStart)) return;
    const std::string rest(line.substr(kRecordStart.size()));
    const size_t checksumAt = rest.rfind(' ');
    const size_t sizeAt = checksumAt == std::string::npos || checksumAt == 0 ? std::string::npos
                                                                            : rest.rfind(' ', checksumAt - 1);
    if (sizeAt == std::string::npos || sizeAt == 0) return;
    unsigned long long size = 0;
    uint32_t checksum = 0;
    int sizeEnd = 0, checksumEnd = 0;
    const std::string sizeWord = rest.substr(sizeAt + 1, checksumAt - sizeAt - 1);
    const std::string checksumWord = rest.substr(checksumAt + 1);
    if (std::sscanf(sizeWord.c_str(), "%llu%n", &size, &sizeEnd) == 1 &&
        sizeEnd == static_cast<int>(sizeWord.size()) && checksumWord.size() == 8 &&
        std::sscanf(checksumWord.c_str(), "%8" SCNx32 "%n", &checksum, &checksumEnd) == 1 && checksumEnd == 8)
      if (std::string name = rest.substr(0, sizeAt); name.find('\0') == std::string::npos)
        files.push_back({std::move(name), size, checksum});
  });
  return files;
}

}  // namespace kxdsetrecord
