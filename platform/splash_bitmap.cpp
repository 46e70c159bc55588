#include "platform/splash_bitmap.h"

#include <cstddef>
#include <string>

#include "core/image_limits.h"
#include "platform/files.h"
#include "platform/log.h"

namespace kxsystem {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;  // width and height in 16 bits
constexpr uint32_t kInfoHeaderBytes = 40;  // and every later, longer header
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitfields = 3;

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<size_t>(i)];
  return v;
}

/* Why the bitmap may not be handed on; empty when it may. Only uncompressed
   rows are taken (plain or with bit masks): the rows of a run-length coded
   file cannot be measured against its bytes, and the program's own BMP
   reader refuses them as well. */
std::string Refusal(const std::vector<uint8_t>& b) {
  if (b.size() < kFileHeaderBytes + kCoreHeaderBytes || b[0] != 'B' || b[1] != 'M') return "not a bitmap";
  const uint32_t dataOffset = Le(b, 10, 4), headerBytes = Le(b, 14, 4);
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = kCompressionNone;
  if (headerBytes == kCoreHeaderBytes) {
    // Unsigned, as the window system reads them: 0xC000 is 49152 rows,
    // not 16384 stored top-down.
    width = Le(b, 18, 2);
    height = Le(b, 20, 2);
    bits = Le(b, 24, 2);
  } else {
    if (headerBytes < kInfoHeaderBytes || b.size() < kFileHeaderBytes + kInfoHeaderBytes) return "header unknown";
    width = static_cast<int32_t>(Le(b, 18, 4));
    height = static_cast<int32_t>(Le(b, 22, 4));
    bits = Le(b, 28, 2);
    compression = Le(b, 30, 4);
  }
  // A negative height stores the rows top-down and sizes the picture by its
  // magnitude; a negative width has no such meaning.
  if (width <= 0 || height == 0)
    return std::to_string(width) + "x" + std::to_string(height) + ", no picture: zero or negative size";
  if (height < 0) height = -height;
  if (!kxcore::ImageSizeAllowed(width, height))
    return std::to_string(width) + "x" + std::to_string(height) + ", larger than any picture may be";
  if (compression != kCompressionNone && compression != kCompressionBitfields) return "compressed rows";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return "bit depth unknown";
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  if (dataOffset > b.size() || rowBytes * static_cast<uint64_t>(height) > b.size() - dataOffset)
    return std::to_string(width) + "x" + std::to_string(height) + ", pixel rows truncated";
  return "";
}

}  // namespace

std::string SplashRefusal(const char* path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  const long size = GetFileSize(path);
  if (size > kxcore::kMaxImageFileBytes) return std::to_string(size) + " bytes, more than any picture takes";
  if (size >= 0) {
    bytes->resize(static_cast<size_t>(size));
    if (ReadWholeFile(path, bytes->data(), size) == size) return Refusal(*bytes);
  }
  return ReadProblemOr(path, "not read whole");
}

int ReadSplashBitmap(const char* path, std::vector<uint8_t>* bytes) {
  const std::string why = SplashRefusal(path, bytes);
  if (why.empty()) return 1;
  Log("kxsystem:  %s: %s; no splash\n", path, why.c_str());
  bytes->clear();
  return 0;
}

}  // namespace kxsystem
