#include "graphics/file_bytes.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "core/hooks.h"

namespace kxgl {

int ReadFileBytes(const char* path, std::vector<uint8_t>* out) {
  out->clear();
  if (!path || !*path) return 0;
  std::string resolved = kxcore::ResolvePath(path);
  struct stat info;
  if (stat(resolved.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  if (info.st_size > kMaxFileBytes) return 0;
  std::FILE* file = std::fopen(resolved.c_str(), "rb");
  if (!file) return 0;
  out->resize(static_cast<size_t>(info.st_size));
  size_t got = out->empty() ? 0 : std::fread(out->data(), 1, out->size(), file);
  std::fclose(file);
  if (got != out->size()) {
    out->clear();
    return 0;
  }
  return 1;
}

int WriteFileBytes(const char* path, const void* data, size_t size) {
  if (!path || !*path) return 0;
  std::string target = kxcore::ResolvePath(path);
  std::string temporary = target + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return 0;
  size_t put = size ? std::fwrite(data, 1, size, file) : 0;
  int closed = std::fclose(file) == 0;
  if (put != size || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(temporary.c_str());
    return 0;
  }
  return 1;
}

long long FileTime(const char* path) {
  if (!path || !*path) return -1;
  std::string resolved = kxcore::ResolvePath(path);
  struct stat info;
  if (stat(resolved.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

long long FileLength(const char* path) {
  if (!path || !*path) return -1;
  std::string resolved = kxcore::ResolvePath(path);
  struct stat info;
  if (stat(resolved.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

}  // namespace kxgl
