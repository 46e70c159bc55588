#include "graphics/file_bytes.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "core/hooks.h"
#include "platform/files.h"

namespace kxgl {

int ReadFileBytes(const char* path, std::vector<uint8_t>* out) {
  out->clear();
  long size = kxsystem::GetFileSize(path);
  if (size < 0 || size > kMaxFileBytes) return 0;
  out->resize(static_cast<size_t>(size));
  long got = kxsystem::ReadWholeFile(path, out->data(), size);
  if (got != size) {
    out->clear();
    return 0;
  }
  return 1;
}

int WriteFileBytes(const char* path, const void* data, size_t size) {
  return kxsystem::WriteWholeFile(path, data, static_cast<long>(size));
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
