#include "designer/new_wing_mesh.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "designer/new_components.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "dynamics/wings/wing.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"

namespace {

constexpr float kSemiSpan = 0.5f;    // m
constexpr float kChord = 0.2f;       // m, a new section's chord
constexpr float kThickness = 0.02f;  // m, a tenth of the chord
constexpr float kColour[3] = {0.85f, 0.85f, 0.85f};
constexpr float kAmbientShare = 0.3f;
constexpr float kShininess = 20.0f;

// The section about the quarter chord: leading edge, top, trailing edge,
// bottom. A diamond, not a box: its leading and trailing edges are single
// points, so the chord (and with it the incidence) the analysis finds
// between the section's extreme points is the panel's own.
constexpr int kCorners = 4;
constexpr float kSectionX[kCorners] = {0.25f * kChord, -0.25f * kChord, -0.75f * kChord, -0.25f * kChord};
constexpr float kSectionZ[kCorners] = {0.0f, 0.5f * kThickness, 0.0f, -0.5f * kThickness};

struct point {
  float x, y, z;
};

// Quads of four corners each (flat normals), appended in turn.
struct quadwriter {
  kxgeometry* el;
  int quads = 0;

  // Corners counter-clockwise seen from outside.
  void Add(const point& a, const point& b, const point& c, const point& d) {
    const point u = {b.x - a.x, b.y - a.y, b.z - a.z}, v = {d.x - a.x, d.y - a.y, d.z - a.z};
    point n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    n = {n.x / length, n.y / length, n.z / length};
    const point corners[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
      const float vertex[6] = {n.x, n.y, n.z, corners[i].x, corners[i].y, corners[i].z};
      std::memcpy(el->vertices + (4 * quads + i) * 6, vertex, sizeof vertex);
    }
    const uint32_t first = static_cast<uint32_t>(4 * quads);
    const uint32_t triangles[6] = {first, first + 1, first + 2, first, first + 2, first + 3};
    std::memcpy(el->triangles + 6 * quads, triangles, sizeof triangles);
    ++quads;
  }
};

// The four faces along the span and the two ends, about the root, in
// aircraft axes.
kxgeometry* PanelMesh(const kxvector4r& root, const char* name) {
  constexpr int kQuads = kCorners + 2;
  kxgeometry* el = kxgeometry::Create(GL_N3F_V3F, 4 * kQuads, 2 * kQuads);
  if (!el) return nullptr;
  std::snprintf(el->name, sizeof el->name, "%s", name);
  auto at = [&root](int k, float y) { return point{root.x + kSectionX[k], root.y + y, root.z + kSectionZ[k]}; };
  quadwriter quads{el};
  for (int k = 0; k < kCorners; ++k) {
    const int next = (k + 1) % kCorners;
    quads.Add(at(k, 0.0f), at(k, kSemiSpan), at(next, kSemiSpan), at(next, 0.0f));
  }
  quads.Add(at(0, 0.0f), at(1, 0.0f), at(2, 0.0f), at(3, 0.0f));                  // root end, facing -y
  quads.Add(at(0, kSemiSpan), at(3, kSemiSpan), at(2, kSemiSpan), at(1, kSemiSpan));  // tip end, facing +y
  for (int i = 0; i < 3; ++i) {
    el->diffuse[i] = kColour[i];
    el->ambient[i] = kAmbientShare * kColour[i];
  }
  el->diffuse[3] = el->ambient[3] = el->specular[3] = 1.0f;
  el->shininess = kShininess;
  if (!kxgeometry::Finish(el)) kxgeometry::Free(&el);
  return el;
}

}  // namespace

namespace svdesign {

void GiveNewWingMesh(kxdwing* wing, kxdaircraftinstance* aircraft) {
  kxgeometricobject* root = aircraft ? kxdgeometry::From(aircraft->GeometryTemplate) : nullptr;
  if (!wing || !root) return;
  char name[64];
  if (root->FindChild(wing->name.Text())) FreeName(root, wing->name.Text(), name, sizeof name);
  else std::snprintf(name, sizeof name, "%s", wing->name.Text());
  kxgeometry* mesh = PanelMesh(wing->RootR, name);
  if (!mesh) return;
  kxgeometricobject* object = new kxgeometricobject;
  object->name = name;
  root->AppendChild(object);
  object->SetMesh(mesh);
  // An aircraft read without a mesh file writes one from now on.
  if (!aircraft->Meshes) aircraft->Meshes = mesh;
  wing->Geometry = object;
  kxdgeometry::SetOwner(object, wing);
  wing->Analyse();
}

}  // namespace svdesign
