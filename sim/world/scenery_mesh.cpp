// Sections: placing objects; volume and centre of volume; the panorama
// sphere; bounds and shadow quad; moving collision objects.
#include "sim/world/scenery_mesh.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "core/maths.h"
#include "graphics/collision_world.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr double kDegrees = kxmaths::kRadiansPerDegreeDouble;
// A volume below this share of the box's cube counts as none: the mesh is
// flat or open and has no centre of volume.
constexpr double kFlatVolumeShare = 1e-6;
// Start of an empty box; any vertex replaces both ends.
constexpr float kBoxStart = 100000.0f;

// A 3 x 3 rotation acting on column vectors.
struct rotation3 {
  double m[3][3];
};

rotation3 Multiply(const rotation3& a, const rotation3& b) {
  rotation3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
  return r;
}

// Right-handed rotation by degrees about axis 0 (x), 1 (y) or 2 (z).
rotation3 AxisRotation(int axis, double degrees) {
  double c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees);
  int i = (axis + 1) % 3, j = (axis + 2) % 3;
  rotation3 r{};
  r.m[axis][axis] = 1.0;
  r.m[i][i] = c;
  r.m[i][j] = -s;
  r.m[j][i] = s;
  r.m[j][j] = c;
  return r;
}

struct box3 {
  double min[3] = {kBoxStart, kBoxStart, kBoxStart};
  double max[3] = {-kBoxStart, -kBoxStart, -kBoxStart};
  bool any = false;

  void Add(const float p[3]) {
    for (int k = 0; k < 3; ++k) {
      min[k] = std::min(min[k], static_cast<double>(p[k]));
      max[k] = std::max(max[k], static_cast<double>(p[k]));
    }
    any = true;
  }
  void AddElement(const kxgeometry* el) {
    float p[3];
    for (int i = 0; i < el->vertexCount; ++i)
      if (kxgeometry::GetVertexPosition(el, i, p)) Add(p);
  }
  double Extent() const {
    return any ? std::max({max[0] - min[0], max[1] - min[1], max[2] - min[2]}) : 0.0;
  }
};

// Volume (times 6) and first moments (times 24) of one element, summed in doubles.
void VolumeSums(const kxgeometry* el, double* six, double moments[3]) {
  *six = 0.0;
  moments[0] = moments[1] = moments[2] = 0.0;
  for (int t = 0; t < el->triangleCount; ++t) {
    float f[3][3];
    bool ok = true;
    for (int k = 0; k < 3; ++k) ok = ok && kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[3 * t + k]), f[k]);
    if (!ok) continue;
    double p[3][3];
    for (int a = 0; a < 3; ++a)
      for (int k = 0; k < 3; ++k) p[a][k] = f[a][k];
    double e1[3], e2[3];
    for (int k = 0; k < 3; ++k) {
      e1[k] = p[1][k] - p[0][k];
      e2[k] = p[2][k] - p[0][k];
    }
    double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    *six += (p[0][0] + p[1][0] + p[2][0]) * n[0];
    for (int k = 0; k < 3; ++k) {
      double a = p[0][k], b = p[1][k], c = p[2][k];
      moments[k] += n[k] * (a * a + a * b + a * c + b * b + b * c + c * c);
    }
  }
}

bool IsFlat(double volume, const box3& box) {
  double extent = box.Extent();
  return !(std::fabs(volume) > kFlatVolumeShare * extent * extent * extent);
}

void BoxCentre(const box3& box, float centre[3]) {
  for (int k = 0; k < 3; ++k) centre[k] = box.any ? static_cast<float>(0.5 * (box.min[k] + box.max[k])) : 0.0f;
}

void MoveElement(kxgeometry* el, const float d[3]) {
  float p[3];
  for (int i = 0; i < el->vertexCount; ++i) {
    if (!kxgeometry::GetVertexPosition(el, i, p)) continue;
    for (int k = 0; k < 3; ++k) p[k] += d[k];
    kxgeometry::SetVertexPosition(el, i, p);
    // The rest copy holds the normal, then the position.
    if (el->stored)
      for (int k = 0; k < 3; ++k) el->stored[6 * i + 3 + k] += d[k];
  }
  for (int h = 0; h < el->hullCount; ++h) {
    for (int k = 0; k < 3; ++k) {
      if (el->hull) el->hull[3 * h + k] += d[k];
      if (el->hullStored) el->hullStored[3 * h + k] += d[k];
      if (el->hull4) el->hull4[4 * h + k] += d[k];
      if (el->hull4Stored) el->hull4Stored[4 * h + k] += d[k];
    }
  }
  kxgeometry::UpdateBounds(el);
}

}  // namespace

// ---- placing objects

void TransformObject(kxgeometryobject* object, const float position[3], const float rotation[3],
                     const float scale[3]) {
  if (!object) return;
  rotation3 r = AxisRotation(0, 0.0);
  if (rotation) {
    r = Multiply(AxisRotation(2, -rotation[2]), Multiply(AxisRotation(1, -rotation[1]), AxisRotation(0, -rotation[0])));
  }
  for (kxgeometry* el = object->mesh; el; el = el->next) {
    float v[3];
    for (int i = 0; i < el->vertexCount; ++i) {
      if (!kxgeometry::GetVertexPosition(el, i, v)) continue;
      float out[3];
      for (int k = 0; k < 3; ++k) {
        double turned = r.m[k][0] * v[0] + r.m[k][1] * v[1] + r.m[k][2] * v[2];
        out[k] = static_cast<float>((turned + position[k]) * scale[k]);
      }
      kxgeometry::SetVertexPosition(el, i, out);
    }
    kxgeometry::UpdateBounds(el);
  }
}

// ---- volume and centre of volume

void ElementVolume(const kxgeometry* el, float* volume, float centre[3]) {
  double six = 0.0, moments[3] = {};
  box3 box;
  if (el) {
    VolumeSums(el, &six, moments);
    box.AddElement(el);
  }
  double v = six / 6.0;
  if (IsFlat(v, box)) {
    *volume = 0.0f;
    BoxCentre(box, centre);
    return;
  }
  *volume = static_cast<float>(v);
  for (int k = 0; k < 3; ++k) centre[k] = static_cast<float>(moments[k] / (24.0 * v));
}

int CenterOfVolume(kxgeometry* first, int recentre, float centre[3], float* volume) {
  double total = 0.0, weighted[3] = {};
  box3 box;
  for (const kxgeometry* el = first; el; el = el->next) {
    double six = 0.0, moments[3] = {};
    VolumeSums(el, &six, moments);
    total += six / 6.0;
    // centre x volume = moments / 24
    for (int k = 0; k < 3; ++k) weighted[k] += moments[k] / 24.0;
    box.AddElement(el);
  }
  if (IsFlat(total, box)) {
    *volume = 0.0f;
    BoxCentre(box, centre);
    return 0;
  }
  *volume = static_cast<float>(total);
  for (int k = 0; k < 3; ++k) centre[k] = static_cast<float>(weighted[k] / total);
  if (!recentre) return 0;
  const float back[3] = {-centre[0], -centre[1], -centre[2]};
  for (kxgeometry* el = first; el; el = el->next) MoveElement(el, back);
  return 1;
}

// ---- the panorama sphere

int BuildPhotoSphere(int columns, int rows, float radius, float tileWidth, float tileHeight, float stepX,
                     float stepY, float (*vertices)[5], int capacity) {
  if (columns < 2 || columns % 2 || rows < 2 || !(tileWidth > 0.0f) || !(tileHeight > 0.0f) || !vertices) return 0;
  // Tile counts are taken once rather than by stepping angles, so rounding
  // in the steps can neither drop nor add a tile.
  long tilesX = std::lround(360.0 / tileWidth), tilesY = std::lround(180.0 / tileHeight);
  long perTile = 2L * columns * rows;
  if (tilesX < 1 || tilesY < 1 || tilesX * tilesY * perTile > capacity) return 0;
  int n = 0;
  auto emit = [&](double u, double v, double phi, double theta) {
    double st = std::sin(theta * kDegrees);
    float* out = vertices[n++];
    out[0] = static_cast<float>(u);
    out[1] = static_cast<float>(v);
    out[2] = static_cast<float>(radius * st * std::cos(phi * kDegrees));
    out[3] = static_cast<float>(radius * st * std::sin(phi * kDegrees));
    out[4] = static_cast<float>(radius * std::cos(theta * kDegrees));
  };
  const double du = 1.0 / columns, dv = 1.0 / (rows - 1);
  for (long tx = 0; tx < tilesX; ++tx) {
    double phi0 = 360.0 - tileWidth * static_cast<double>(tx + 1);
    for (long ty = 0; ty < tilesY; ++ty) {
      double theta0 = tileHeight * static_cast<double>(ty);
      double phi = phi0, u = 1.0;
      for (int pair = 0; pair < columns / 2; ++pair) {
        for (int r = 0; r < rows; ++r) {
          double theta = theta0 + r * static_cast<double>(stepY);
          emit(u, r * dv, phi, theta);
          emit(u - du, r * dv, phi + stepX, theta);
        }
        for (int r = rows - 1; r >= 0; --r) {
          double theta = theta0 + r * static_cast<double>(stepY);
          emit(u - 2.0 * du, r * dv, phi + 2.0 * stepX, theta);
          emit(u - du, r * dv, phi + stepX, theta);
        }
        phi += 2.0 * stepX;
        u -= 2.0 * du;
      }
    }
  }
  return n;
}

// ---- bounds and shadow quad

namespace {

// The walk keeps its frames on a growable stack instead of a fixed one, so
// no depth of object tree is refused.
void BoundsWalk(const kxgeometricobject* root, box3* box) {
  struct pending {
    const kxgeometricobject* object;
    kxmatrix parent;
  };
  std::vector<pending> stack;
  stack.push_back({root, kxmatrix::Identity()});
  while (!stack.empty()) {
    pending p = stack.back();
    stack.pop_back();
    kxmatrix current;
    kxmatrix::Multiply4x4(&current, &p.parent, &p.object->Matrix);
    for (kxnode* c = p.object->firstChild; c; c = c->nextSibling) {
      if (const kxgeometricobject* child = kxnode::As<kxgeometricobject>(c)) stack.push_back({child, current});
    }
    for (const kxgeometry* el = p.object->mesh; el; el = el->next) {
      float v[3];
      for (int i = 0; i < el->vertexCount; ++i) {
        if (!kxgeometry::GetVertexPosition(el, i, v)) continue;
        float in[4] = {v[0], v[1], v[2], 1.0f}, out[4];
        kxmatrix::TransformVector4(out, &current, in);
        box->Add(out);
      }
    }
  }
}

}  // namespace

void CollectBounds(const kxgeometricobject* object, const kxgeometry* list, shadowquad* quad) {
  if (!quad) return;
  box3 box;
  if (object) {
    BoundsWalk(object, &box);
  } else if (list) {
    for (const kxgeometry* el = list; el; el = el->next) box.AddElement(el);
  } else {
    for (const kxgeometryobject* o = TheWorld()->objects; o; o = o->next)
      for (const kxgeometry* el = o->mesh; el; el = el->next) box.AddElement(el);
  }
  float lo[3] = {}, hi[3] = {};
  if (box.any) {
    for (int k = 0; k < 3; ++k) {
      lo[k] = static_cast<float>(box.min[k]);
      hi[k] = static_cast<float>(box.max[k]);
    }
  }
  const float corners[4][5] = {{0, 0, lo[0], lo[1], 0}, {1, 0, hi[0], lo[1], 0}, {1, 1, hi[0], hi[1], 0},
                               {0, 1, lo[0], hi[1], 0}};
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 5; ++k) quad->corners[c][k] = corners[c][k];
  quad->size = std::max(hi[0] - lo[0], hi[1] - lo[1]);
  for (int k = 0; k < 3; ++k) {
    quad->min[k] = lo[k];
    quad->max[k] = hi[k];
  }
}

// ---- moving collision objects

void NearObjectPass(kxcollision* w) { kxcollision::NearObjectPass(w); }

void FreeDynamicObjects(kxcollision* w) { kxcolldynamic::Free(w); }

}  // namespace sim
