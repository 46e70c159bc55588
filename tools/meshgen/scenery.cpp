// Scenery shapes of the mesh generator: terrain, houses, billboard trees and
// wind wheels.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"
#include "tools/meshgen/meshgen_grid.h"

namespace meshgen {

namespace {
constexpr float kPi = std::numbers::pi_v<float>;
}

mesh Terrain(float sizeX, float sizeY, int cellsX, int cellsY, float tile,
             const std::function<float(float, float)>& height) {
  if (cellsX < 1) cellsX = 1;
  if (cellsY < 1) cellsY = 1;
  mesh m = Grid(cellsY, cellsX, false, [&](float u, float v, float* p) {
    p[0] = -sizeX / 2 + sizeX * u;
    p[1] = -sizeY / 2 + sizeY * v;
    p[2] = height(p[0], p[1]);
  });
  // The texture repeats every tile metres.
  if (tile > 0)
    for (vertex& v : m.vertices) v.t[0] = v.p[0] / tile, v.t[1] = v.p[1] / tile;
  return m;
}

void House(float width, float depth, float wallHeight, float roofHeight, mesh* walls, mesh* roof) {
  *walls = Box(width, depth, wallHeight);
  Translate(*walls, 0, 0, wallHeight / 2);
  // A gable roof over the long side: two slopes meeting at a ridge along x,
  // closed by the two gable triangles.
  float x = width / 2, y = depth / 2, z = wallHeight, top = wallHeight + roofHeight;
  const float a[3] = {-x, -y, z}, b[3] = {x, -y, z}, c[3] = {x, 0, top}, d[3] = {-x, 0, top};
  const float e[3] = {x, y, z}, f[3] = {-x, y, z};
  *roof = mesh{};
  AddQuad(*roof, a, b, c, d);
  AddQuad(*roof, e, f, d, c);
  for (int end = 0; end < 2; ++end) {
    float sx = end ? x : -x, dir = end ? 1.0f : -1.0f;
    uint32_t base = static_cast<uint32_t>(roof->vertices.size());
    const float corners[3][3] = {{sx, -y * dir, z}, {sx, y * dir, z}, {sx, 0, top}};
    for (const auto& p : corners) {
      vertex v{};
      for (int k = 0; k < 3; ++k) v.p[k] = p[k];
      v.n[0] = dir;
      roof->vertices.push_back(v);
    }
    roof->triangles.insert(roof->triangles.end(), {base, base + 1, base + 2});
  }
}

mesh TreeCards(float width, float height) {
  mesh m;
  float w = width / 2;
  for (int card = 0; card < 2; ++card) {
    // Each card once from either side, so the crown shows from every direction.
    float ax = card ? 0 : w, ay = card ? w : 0;
    const float a[3] = {-ax, -ay, 0}, b[3] = {ax, ay, 0}, c[3] = {ax, ay, height}, d[3] = {-ax, -ay, height};
    AddQuad(m, a, b, c, d);
    AddQuad(m, b, a, d, c);
  }
  return m;
}

mesh WindBlades(int count, float length, float chord) {
  if (count < 1) count = 1;
  float hub = chord * 0.8f;
  mesh m = Box(hub * 1.5f, hub, hub);
  for (int i = 0; i < count; ++i) {
    // A thin closed blade along +z, turned about the x axis into its place.
    mesh blade = Box(chord * 0.15f, chord, length);
    Translate(blade, 0, 0, hub / 2 + length / 2);
    Rotate(blade, 2 * kPi * static_cast<float>(i) / static_cast<float>(count), 1, 2);
    Append(m, blade);
  }
  return m;
}

mesh WindTower(float height, float radius, float hubLength) {
  mesh m = Cylinder(radius, height, 12);
  Translate(m, 0, 0, height / 2);
  // The nacelle sits on the tower behind the hub (towards -x).
  mesh nacelle = Box(hubLength, radius * 2.2f, radius * 2.2f);
  Translate(nacelle, -hubLength / 2 - radius * 0.5f, 0, height);
  Append(m, nacelle);
  return m;
}

kxgeometry* SceneryShape(const char* name) {
  static const float kWhite[3] = {1, 1, 1}, kWall[3] = {0.85f, 0.8f, 0.7f}, kRoof[3] = {0.6f, 0.2f, 0.15f};
  static const float kSteel[3] = {0.9f, 0.9f, 0.92f};
  std::string what = name ? name : "";
  if (what == "balloon") return ColouredElement(Sphere(1, 16, 10), "balloon", "", kWhite);
  if (what == "windblades") return ColouredElement(WindBlades(3, 12, 1.2f), "wwblades", "", kSteel);
  if (what == "windtower") return ColouredElement(WindTower(30, 1.2f, 4), "wwbase", "", kSteel);
  if (what == "tree") {
    kxgeometry* el = ToElement(TreeCards(6, 10), "bbrd_tree", "", GL_T2F_N3F_V3F);
    if (el) {
      el->transparent = 1;
      std::snprintf(el->textureName, sizeof el->textureName, "tree.kxt");
    }
    return el;
  }
  if (what == "house") {
    mesh walls, roof;
    House(10, 6, 3, 2, &walls, &roof);
    kxgeometry* parts[2] = {ColouredElement(walls, "house_wall", "", kWall), ColouredElement(roof, "house_roof", "", kRoof)};
    return Chain(parts, 2);
  }
  return nullptr;
}

}  // namespace meshgen
