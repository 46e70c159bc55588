// Our own texture file: "KXT1", u32 width, height, channels, flags, then the
// texels, rows top-down, no padding.
#include <cstring>

#include "core/hooks.h"
#include "graphics/byte_reader.h"
#include "graphics/file_bytes.h"
#include "graphics/image.h"

namespace kxgl {

namespace {
constexpr char kKxtMagic[4] = {'K', 'X', 'T', '1'};
}

int ReadKxt(const uint8_t* data, size_t size, kximage* out) {
  kxbytereader r(data, size);
  char magic[4];
  r.Bytes(magic, 4);
  uint32_t width = r.U32(), height = r.U32(), channels = r.U32(), flags = r.U32();
  if (!r.ok() || std::memcmp(magic, kKxtMagic, 4) != 0) {
    kxcore::Log("gl:  kxt header invalid\n");
    return 0;
  }
  if (!ImageSizeAllowed(width, height) || (channels != 1 && channels != 3 && channels != 4)) {
    kxcore::Log("gl:  kxt size %ux%ux%u invalid\n", width, height, channels);
    return 0;
  }
  uint64_t bytes = static_cast<uint64_t>(width) * height * channels;
  if (bytes > r.left()) {
    kxcore::Log("gl:  kxt texels truncated\n");
    return 0;
  }
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->channels = static_cast<int>(channels);
  out->flags = static_cast<int>(flags);
  out->pixels.resize(static_cast<size_t>(bytes));
  r.Bytes(out->pixels.data(), out->pixels.size());
  return 1;
}

std::vector<uint8_t> EncodeKxt(const kximage& image) {
  kxbytewriter w;
  w.Bytes(kKxtMagic, 4);
  w.U32(static_cast<uint32_t>(image.width));
  w.U32(static_cast<uint32_t>(image.height));
  w.U32(static_cast<uint32_t>(image.channels));
  w.U32(static_cast<uint32_t>(image.flags));
  w.Bytes(image.pixels.data(), image.pixels.size());
  return w.bytes;
}

int WriteKxt(const char* path, const kximage& image) {
  size_t expected = static_cast<size_t>(image.width) * image.height * image.channels;
  if (image.width <= 0 || image.height <= 0 || image.pixels.size() != expected) return 0;
  std::vector<uint8_t> bytes = EncodeKxt(image);
  return WriteFileBytes(path, bytes.data(), bytes.size());
}

int ReadImage(const uint8_t* data, size_t size, kximage* out) {
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return ReadBmp(data, size, out);
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) return ReadJpeg(data, size, out);
  if (size >= 4 && std::memcmp(data, kKxtMagic, 4) == 0) return ReadKxt(data, size, out);
  kxcore::Log("gl:  picture format unknown\n");
  return 0;
}

int ReadImageFile(const char* path, kximage* out) {
  const long long length = FileLength(path);
  if (length > kMaxImageFileBytes) {
    kxcore::Log("gl:  %s: %lld bytes, more than any picture takes; not read\n", path, length);
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes)) return 0;
  return ReadImage(bytes.data(), bytes.size(), out);
}

}  // namespace kxgl
