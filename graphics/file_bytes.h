// Whole-file reads and atomic whole-file writes for the graphics readers and
// writers (through the platform's files), and file times for choosing
// between a mesh and its binary twin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kxgl {

// Files beyond this are refused rather than read into memory.
constexpr long kMaxFileBytes = 1L << 30;

// 1 and the bytes, or 0 when the file cannot be opened or read.
int ReadFileBytes(const char* path, std::vector<uint8_t>* out);
// Writes a temporary file beside the target and renames it over the target,
// so a failed write leaves the old file intact. 1 when all bytes were written.
int WriteFileBytes(const char* path, const void* data, size_t size);
// Nanoseconds since the epoch of the last change, or -1 when there is no file.
long long FileTime(const char* path);
// Bytes in the file, or -1 when there is no regular file.
long long FileLength(const char* path);

}  // namespace kxgl
