// Binary mesh files (.tgo): "KXTGO1\0\0", u32 element count, then per element
// its names, format, vertices, triangles, strips, material, texture name and
// hull. Everything read is checked against the bytes left and the counts it
// refers to; one bad value rejects the file.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "graphics/byte_reader.h"
#include "graphics/file_bytes.h"
#include "graphics/mesh.h"

namespace {

constexpr char kMagic[8] = {'K', 'X', 'T', 'G', 'O', '1', 0, 0};
// Fixed part of an element: lengths, counts, material.
constexpr uint64_t kMinElementBytes = 2 + 2 + 4 + 4 + 4 + 4 + 13 * 4 + 4 + 2 + 4;

void ReadName(kxbytereader& r, char* out, size_t capacity) {
  uint16_t length = r.U16();
  size_t keep = length < capacity - 1 ? length : capacity - 1;  // longer names are cut
  r.Bytes(out, keep);
  r.Skip(length - keep);
  out[r.ok() ? keep : 0] = 0;
}

void WriteName(kxbytewriter& w, const char* name) {
  size_t length = strnlen(name, 127);
  w.U16(static_cast<uint16_t>(length));
  w.Bytes(name, length);
}

bool ReadFloats(kxbytereader& r, float* out, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    out[i] = r.F32();
    if (!std::isfinite(out[i])) return false;
  }
  return r.ok();
}

int Reject(const char* why, uint32_t element) {
  kxcore::Log("gl:  tgo element %u: %s\n", element, why);
  return 0;
}

int ReadElement(kxbytereader& r, uint32_t index, kxgeometry** out) {
  char name[128], group[128];
  ReadName(r, name, sizeof name);
  ReadName(r, group, sizeof group);
  uint32_t format = r.U32();
  uint32_t vertexCount = r.U32();
  int floats = kxgeometry::FloatsPerVertex(format);
  if (!r.ok()) return Reject("truncated", index);
  if (!floats) return Reject("vertex format unknown", index);
  if (!r.Fits(vertexCount, static_cast<uint64_t>(floats) * 4)) return Reject("vertex count exceeds file", index);
  std::vector<float> vertices(static_cast<size_t>(vertexCount) * floats);
  if (!ReadFloats(r, vertices.data(), vertices.size())) return Reject("vertex not finite", index);
  uint32_t triangleCount = r.U32();
  if (!r.Fits(triangleCount, 12)) return Reject("triangle count exceeds file", index);
  kxgeometry* el = kxgeometry::Create(format, static_cast<int>(vertexCount), static_cast<int>(triangleCount));
  if (!el) return Reject("out of memory", index);
  *out = el;
  std::memcpy(el->name, name, sizeof name);
  std::memcpy(el->group, group, sizeof group);
  if (!vertices.empty()) std::memcpy(el->vertices, vertices.data(), vertices.size() * sizeof(float));
  for (uint32_t i = 0; i < triangleCount * 3; ++i) {
    el->triangles[i] = r.U32();
    if (el->triangles[i] >= vertexCount) return Reject("triangle index out of range", index);
  }
  uint32_t stripWords = r.U32();
  if (!r.Fits(stripWords, 4) || stripWords == 0) return Reject("strip list invalid", index);
  el->strips = static_cast<uint32_t*>(std::calloc(stripWords, sizeof(uint32_t)));
  if (!el->strips) return Reject("out of memory", index);
  el->stripWords = static_cast<int32_t>(stripWords);
  for (uint32_t i = 0; i < stripWords; ++i) el->strips[i] = r.U32();
  // Runs must stay inside the list, index real vertices and end with 0 last.
  for (uint32_t at = 0;;) {
    uint32_t run = el->strips[at];
    if (run == 0) {
      if (at != stripWords - 1) return Reject("strip list not ended", index);
      break;
    }
    // The run and the final 0 must both fit after this word.
    if (run < 3 || static_cast<uint64_t>(at) + run + 1 >= stripWords) return Reject("strip run out of range", index);
    for (uint32_t k = 1; k <= run; ++k)
      if (el->strips[at + k] >= vertexCount) return Reject("strip index out of range", index);
    at += run + 1;
  }
  if (!ReadFloats(r, el->ambient, 4) || !ReadFloats(r, el->diffuse, 4) || !ReadFloats(r, el->specular, 4) ||
      !ReadFloats(r, &el->shininess, 1))
    return Reject("material invalid", index);
  el->transparent = r.I32() ? 1 : 0;
  ReadName(r, el->textureName, sizeof el->textureName);
  uint32_t hullCount = r.U32();
  if (!r.Fits(hullCount, 24)) return Reject("hull count exceeds file", index);
  if (hullCount) {
    el->hull = static_cast<double*>(std::calloc(hullCount * 3, sizeof(double)));
    el->hullStored = static_cast<double*>(std::calloc(hullCount * 3, sizeof(double)));
    el->hull4 = static_cast<float*>(std::calloc(hullCount * 4, sizeof(float)));
    el->hull4Stored = static_cast<float*>(std::calloc(hullCount * 4, sizeof(float)));
    if (!el->hull || !el->hullStored || !el->hull4 || !el->hull4Stored) return Reject("out of memory", index);
    el->hullCount = static_cast<int32_t>(hullCount);
    for (uint32_t i = 0; i < hullCount * 3; ++i) {
      el->hull[i] = r.F64();
      if (!std::isfinite(el->hull[i]) || std::fabs(el->hull[i]) > 3.0e38) return Reject("hull not finite", index);
    }
    for (uint32_t i = 0; i < hullCount; ++i) {
      for (int k = 0; k < 3; ++k) el->hull4[i * 4 + k] = static_cast<float>(el->hull[i * 3 + k]);
      el->hull4[i * 4 + 3] = 1.0f;
    }
  }
  if (!r.ok()) return Reject("truncated", index);
  kxgeometry::UpdateBounds(el);
  kxgeometry::Store(el);
  return 1;
}

}  // namespace

namespace kxgl {

kxgeometry* ReadBinaryMesh(const uint8_t* data, size_t size) {
  kxbytereader r(data, size);
  char magic[8];
  r.Bytes(magic, 8);
  uint32_t count = r.U32();
  if (!r.ok() || std::memcmp(magic, kMagic, 8) != 0) {
    kxcore::Log("gl:  tgo header invalid\n");
    return nullptr;
  }
  if (!r.Fits(count, kMinElementBytes)) {
    kxcore::Log("gl:  tgo element count %u exceeds file\n", count);
    return nullptr;
  }
  kxgeometry* first = nullptr;
  kxgeometry** tail = &first;
  for (uint32_t i = 0; i < count; ++i) {
    kxgeometry* el = nullptr;
    int ok = ReadElement(r, i, &el);
    *tail = el;
    if (el) tail = &el->next;
    if (!ok) {
      kxgeometry::Free(&first);
      return nullptr;
    }
  }
  return first;
}

}  // namespace kxgl

std::string kxgeometry::BinaryBytes(const kxgeometry* list) {
  kxbytewriter w;
  w.Bytes(kMagic, 8);
  uint32_t count = 0;
  for (const kxgeometry* el = list; el; el = el->next) ++count;
  w.U32(count);
  for (const kxgeometry* el = list; el; el = el->next) {
    WriteName(w, el->name);
    WriteName(w, el->group);
    w.U32(el->format);
    w.U32(static_cast<uint32_t>(el->vertexCount));
    int floats = FloatsPerVertex(el->format);
    int normal = NormalOffset(el->format);
    for (int i = 0; i < el->vertexCount; ++i) {
      // The live vertices may sit in a moved frame; the rest copy is the shape.
      const float* v = el->vertices + static_cast<size_t>(i) * floats;
      const float* rest = el->stored + static_cast<size_t>(i) * 6;
      for (int k = 0; k < floats; ++k) {
        float value = v[k];
        if (normal >= 0 && k >= normal && k < normal + 3) value = rest[k - normal];
        if (k >= floats - 3) value = rest[3 + k - (floats - 3)];
        w.F32(value);
      }
    }
    w.U32(static_cast<uint32_t>(el->triangleCount));
    for (int i = 0; i < el->triangleCount * 3; ++i) w.U32(el->triangles[i]);
    if (el->strips && el->stripWords > 0) {
      w.U32(static_cast<uint32_t>(el->stripWords));
      for (int i = 0; i < el->stripWords; ++i) w.U32(el->strips[i]);
    } else {
      w.U32(1);
      w.U32(0);
    }
    for (float f : el->ambient) w.F32(f);
    for (float f : el->diffuse) w.F32(f);
    for (float f : el->specular) w.F32(f);
    w.F32(el->shininess);
    w.I32(el->transparent);
    WriteName(w, el->textureName);
    w.U32(static_cast<uint32_t>(el->hullCount));
    const double* hull = el->hullStored ? el->hullStored : el->hull;
    for (int i = 0; i < el->hullCount * 3; ++i) w.F64(hull[i]);
  }
  return std::string(w.bytes.begin(), w.bytes.end());
}

int kxgeometry::WriteBinary(const char* path, const kxgeometry* list) {
  const std::string bytes = BinaryBytes(list);
  return kxgl::WriteFileBytes(path, bytes.data(), bytes.size());
}
