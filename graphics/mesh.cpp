// Mesh elements: vertex formats, accessors, allocation, bounds and the rest copy.
#include "graphics/mesh.h"

#include <GL/gl.h>

#include <cfloat>
#include <cstdlib>
#include <cstring>

#include "graphics/texture_table.h"

namespace {

struct FormatLayout {
  uint32_t format;
  int floats;
  int texCoords;
  int colors;
  int normal;  // offset, -1 without
};

// Interleaved layouts as OpenGL defines them; the position is always last.
constexpr FormatLayout kLayouts[] = {
    {GL_V3F, 3, 0, 0, -1},
    {GL_C3F_V3F, 6, 0, 3, -1},
    {GL_N3F_V3F, 6, 0, 0, 0},
    {GL_C4F_N3F_V3F, 10, 0, 4, 4},
    {GL_T2F_V3F, 5, 2, 0, -1},
    {GL_T2F_C3F_V3F, 8, 2, 3, -1},
    {GL_T2F_N3F_V3F, 8, 2, 0, 2},
    {GL_T2F_C4F_N3F_V3F, 12, 2, 4, 6},
};

const FormatLayout* Layout(uint32_t format) {
  for (const FormatLayout& l : kLayouts)
    if (l.format == format) return &l;
  return nullptr;
}

template <typename T>
T* AllocArray(size_t count) {
  return static_cast<T*>(std::calloc(count ? count : 1, sizeof(T)));
}

}  // namespace

int kxgeometry::FloatsPerVertex(uint32_t format) {
  const FormatLayout* l = Layout(format);
  return l ? l->floats : 0;
}
int kxgeometry::HasNormals(uint32_t format) {
  const FormatLayout* l = Layout(format);
  return l && l->normal >= 0;
}
int kxgeometry::TexCoordFloats(uint32_t format) {
  const FormatLayout* l = Layout(format);
  return l ? l->texCoords : 0;
}
int kxgeometry::ColorFloats(uint32_t format) {
  const FormatLayout* l = Layout(format);
  return l ? l->colors : 0;
}
int kxgeometry::NormalOffset(uint32_t format) {
  const FormatLayout* l = Layout(format);
  return l ? l->normal : -1;
}

int kxgeometry::GetVertexPosition(const kxgeometry* el, int i, float out[3]) {
  if (!el || !el->vertices || i < 0 || i >= el->vertexCount) return 0;
  int n = FloatsPerVertex(el->format);
  if (!n) return 0;
  std::memcpy(out, el->vertices + static_cast<size_t>(i) * n + n - 3, 3 * sizeof(float));
  return 1;
}

int kxgeometry::SetVertexPosition(kxgeometry* el, int i, const float v[3]) {
  if (!el || !el->vertices || i < 0 || i >= el->vertexCount) return 0;
  int n = FloatsPerVertex(el->format);
  if (!n) return 0;
  std::memcpy(el->vertices + static_cast<size_t>(i) * n + n - 3, v, 3 * sizeof(float));
  return 1;
}

int kxgeometry::GetVertexNormal(const kxgeometry* el, int i, kxvector4r* out) {
  *out = kxvector4r{0.0f, 0.0f, 0.0f, 0.0f};
  if (!el || !el->vertices || i < 0 || i >= el->vertexCount) return 0;
  int offset = NormalOffset(el->format);
  if (offset < 0) return 0;
  const float* n = el->vertices + static_cast<size_t>(i) * FloatsPerVertex(el->format) + offset;
  *out = kxvector4r{n[0], n[1], n[2], 0.0f};
  return 1;
}

int kxgeometry::SetVertexNormal(kxgeometry* el, int i, kxvector4r n) {
  if (!el || !el->vertices || i < 0 || i >= el->vertexCount) return 0;
  int offset = NormalOffset(el->format);
  if (offset < 0) return 0;
  float* out = el->vertices + static_cast<size_t>(i) * FloatsPerVertex(el->format) + offset;
  out[0] = n.x;
  out[1] = n.y;
  out[2] = n.z;
  return 1;
}

kxgeometry* kxgeometry::Create(uint32_t format, int vertexCount, int triangleCount) {
  int n = FloatsPerVertex(format);
  if (!n || vertexCount < 0 || triangleCount < 0) return nullptr;
  kxgeometry* el = AllocArray<kxgeometry>(1);
  if (!el) return nullptr;
  el->format = format;
  el->vertexCount = vertexCount;
  el->triangleCount = triangleCount;
  el->vertices = AllocArray<float>(static_cast<size_t>(vertexCount) * n);
  el->triangles = AllocArray<uint32_t>(static_cast<size_t>(triangleCount) * 3);
  el->stored = AllocArray<float>(static_cast<size_t>(vertexCount) * 6);
  if (!el->vertices || !el->triangles || !el->stored) {
    Free(&el);
    return nullptr;
  }
  // OpenGL's default material, so an element without material lines draws
  // as it would without one.
  const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  std::memcpy(el->ambient, ambient, sizeof ambient);
  std::memcpy(el->diffuse, diffuse, sizeof diffuse);
  el->specular[3] = 1.0f;
  return el;
}

void kxgeometry::Free(kxgeometry** list) {
  if (!list) return;
  kxgeometry* el = *list;
  *list = nullptr;
  while (el) {
    kxgeometry* next = el->next;
    if (el->info) {
      for (int i = 0; i < el->info->textureCount; ++i) kxgl::FreeTexture(el->info->textures[i]);
      std::free(el->info->textures);
      std::free(el->info);
    }
    std::free(el->vertices);
    std::free(el->triangles);
    std::free(el->strips);
    std::free(el->stored);
    std::free(el->hull);
    std::free(el->hull4);
    std::free(el->hullStored);
    std::free(el->hull4Stored);
    std::free(el);
    el = next;
  }
}

void kxgeometry::UpdateBounds(kxgeometry* el) {
  float lo[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, hi[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
  for (int i = 0; i < el->vertexCount; ++i) {
    float p[3];
    GetVertexPosition(el, i, p);
    for (int k = 0; k < 3; ++k) {
      if (p[k] < lo[k]) lo[k] = p[k];
      if (p[k] > hi[k]) hi[k] = p[k];
    }
  }
  if (el->vertexCount == 0) {
    for (int k = 0; k < 3; ++k) lo[k] = hi[k] = 0.0f;
  }
  std::memcpy(el->boundsMin, lo, sizeof lo);
  std::memcpy(el->boundsMax, hi, sizeof hi);
}

void kxgeometry::Store(kxgeometry* el) {
  for (int i = 0; i < el->vertexCount; ++i) {
    kxvector4r n;
    GetVertexNormal(el, i, &n);
    float* rest = el->stored + static_cast<size_t>(i) * 6;
    rest[0] = n.x;
    rest[1] = n.y;
    rest[2] = n.z;
    GetVertexPosition(el, i, el->stored + static_cast<size_t>(i) * 6 + 3);
  }
  if (el->hullCount) {
    std::memcpy(el->hullStored, el->hull, sizeof(double) * 3 * el->hullCount);
    std::memcpy(el->hull4Stored, el->hull4, sizeof(float) * 4 * el->hullCount);
  }
}

void kxgeometry::Restore(kxgeometry* el) {
  for (int i = 0; i < el->vertexCount; ++i) {
    const float* rest = el->stored + static_cast<size_t>(i) * 6;
    SetVertexNormal(el, i, kxvector4r{rest[0], rest[1], rest[2], 0.0f});
    SetVertexPosition(el, i, el->stored + static_cast<size_t>(i) * 6 + 3);
  }
  if (el->hullCount) {
    std::memcpy(el->hull, el->hullStored, sizeof(double) * 3 * el->hullCount);
    std::memcpy(el->hull4, el->hull4Stored, sizeof(float) * 4 * el->hullCount);
  }
  UpdateBounds(el);
}

int kxgeometry::Finish(kxgeometry* el) {
  if (!el) return 0;
  UpdateBounds(el);
  if (!BuildStrips(el) || !BuildHull(el)) return 0;
  Store(el);
  return 1;
}
