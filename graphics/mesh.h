// Meshes: a mesh is a list of material groups ("elements") linked by next.
// Each element holds interleaved vertices in one of the eight OpenGL
// interleaved formats, triangles, the triangle strips it is drawn with, its
// material and texture, its convex hull and the rest copy of its vertices
// that edits are undone from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/vector.h"

struct kxtexture;

// The textures a loaded mesh holds references to; kept on the first element.
struct kxgeometryinfo {
  int32_t textureCount;
  kxtexture** textures;
};

struct kxgeometry {
  char name[128];          // material group name; may be rewritten by its user
  char group[128];         // object path below the mesh root; "" = the root
  uint32_t format;         // GL_V3F ... GL_T2F_C4F_N3F_V3F
  int32_t vertexCount;
  float* vertices;         // vertexCount * FloatsPerVertex(format)
  int32_t triangleCount;
  uint32_t* triangles;     // 3 per triangle, each < vertexCount
  int32_t stripWords;
  uint32_t* strips;        // runs {n, n indices}, ended by n = 0
  kxtexture* texture;      // null without a texture
  char textureName[128];   // file named by the mesh file; "" for none
  float ambient[4];
  float diffuse[4];
  float specular[4];
  float shininess;
  int32_t transparent;     // 1: drawn in the transparent pass only
  float roughness;         // surface roughness for the ground contact; 0 = smooth
  float* stored;           // rest copy: normal xyz then position xyz per vertex
  int32_t hullCount;       // points of the convex hull
  double* hull;            // hullCount * 3
  float* hull4;            // hullCount * 4 (x, y, z, 1): the same points for single precision users
  double* hullStored;      // rest copies of both hull arrays
  float* hull4Stored;
  float boundsMin[3];      // of the live positions
  float boundsMax[3];
  kxgeometryinfo* info;    // first element only: the mesh's texture references
  kxgeometry* next;

  // Floats per vertex of a format, 0 for an unknown one. The position is
  // always the last three floats.
  static int FloatsPerVertex(uint32_t format);
  static int HasNormals(uint32_t format);      // the four N3F formats
  static int TexCoordFloats(uint32_t format);  // 2 or 0
  static int ColorFloats(uint32_t format);     // 4, 3 or 0
  static int NormalOffset(uint32_t format);    // float offset of the normal, -1 without

  // Index outside 0..vertexCount-1: 0 and no access.
  static int GetVertexPosition(const kxgeometry* el, int i, float out[3]);
  static int SetVertexPosition(kxgeometry* el, int i, const float v[3]);
  // Formats without normals give (0, 0, 0, 0) or write nothing; w is 0.
  static int GetVertexNormal(const kxgeometry* el, int i, kxvector4r* out);
  static int SetVertexNormal(kxgeometry* el, int i, kxvector4r n);

  // A zeroed element with room for the given vertices and triangles; null on
  // an unknown format or a failed allocation.
  static kxgeometry* Create(uint32_t format, int vertexCount, int triangleCount);
  // Frees the whole list, its arrays and its texture references; nulls *list.
  static void Free(kxgeometry** list);
  // After vertices and triangles are set: bounds, rest copy, strips and hull.
  static int Finish(kxgeometry* el);
  static void UpdateBounds(kxgeometry* el);
  // Live positions and normals (and hulls) back from the rest copies.
  static void Restore(kxgeometry* el);
  // Live positions, normals and hulls become the new rest copies.
  static void Store(kxgeometry* el);
  // Greedy triangle strips from the triangle list (ours: replaces strips).
  static int BuildStrips(kxgeometry* el);
  // Convex hull of the positions (replaces hull arrays and their copies).
  static int BuildHull(kxgeometry* el);

  // Writers emit each element's rest copy. 1, or 0 when the file could not be written.
  static int WriteText(const char* path, const kxgeometry* list);
  static int WriteBinary(const char* path, const kxgeometry* list);
  // The bytes those writers put in a file.
  static std::string TextBytes(const kxgeometry* list);
  static std::string BinaryBytes(const kxgeometry* list);
};

namespace kxgl {

// Mesh file readers: a list of finished elements, or null after a log line.
// Texture names are kept but no texture is loaded.
kxgeometry* ReadBinaryMesh(const uint8_t* data, size_t size);
kxgeometry* ReadTextMesh(const char* text, size_t size);

}  // namespace kxgl
