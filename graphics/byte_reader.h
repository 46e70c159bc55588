// Bounds-checked little-endian reading and writing of binary files. Every
// read fails (and stays failed) instead of passing the end, so a parser can
// read a whole record and test ok() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class kxbytereader {
 public:
  kxbytereader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }
  size_t left() const { return ok_ ? size_ - pos_ : 0; }
  size_t position() const { return pos_; }

  bool Bytes(void* out, size_t n) {
    if (!ok_ || n > size_ - pos_) {
      ok_ = false;
      if (out && n) std::memset(out, 0, n);
      return false;
    }
    if (n) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }
  bool Skip(size_t n) {
    if (!ok_ || n > size_ - pos_) return ok_ = false;
    pos_ += n;
    return true;
  }
  uint8_t U8() { uint8_t v = 0; Bytes(&v, 1); return v; }
  uint16_t U16() { uint8_t b[2]; Bytes(b, 2); return static_cast<uint16_t>(b[0] | b[1] << 8); }
  uint32_t U32() {
    uint8_t b[4];
    Bytes(b, 4);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
  }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  float F32() { uint32_t u = U32(); float f; std::memcpy(&f, &u, 4); return f; }
  double F64() {
    uint64_t lo = U32();
    uint64_t hi = U32();
    uint64_t u = lo | hi << 32;
    double d;
    std::memcpy(&d, &u, 8);
    return d;
  }
  // True when n records of the given size can still follow.
  bool Fits(uint64_t n, uint64_t recordBytes) const {
    if (!ok_) return false;
    if (recordBytes == 0) return true;
    return n <= (size_ - pos_) / recordBytes;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class kxbytewriter {
 public:
  std::vector<uint8_t> bytes;

  void Bytes(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
  void U8(uint8_t v) { bytes.push_back(v); }
  void U16(uint16_t v) { U8(static_cast<uint8_t>(v)); U8(static_cast<uint8_t>(v >> 8)); }
  void U32(uint32_t v) { U16(static_cast<uint16_t>(v)); U16(static_cast<uint16_t>(v >> 16)); }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float f) { uint32_t u; std::memcpy(&u, &f, 4); U32(u); }
  void F64(double d) {
    uint64_t u;
    std::memcpy(&u, &d, 8);
    U32(static_cast<uint32_t>(u));
    U32(static_cast<uint32_t>(u >> 32));
  }
};
