// Primitive shapes and mesh editing helpers of the mesh generator.
#include <cmath>
#include <cstring>
#include <numbers>

#include "tools/meshgen/meshgen.h"
#include "tools/meshgen/meshgen_grid.h"

namespace meshgen {

namespace {
constexpr float kPi = std::numbers::pi_v<float>;
}

void AddQuad(mesh& m, const float a[3], const float b[3], const float c[3], const float d[3]) {
  // The diagonals give the normal even when one side has shrunk to a point
  // (a wing cap at the leading edge).
  float u[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]}, v[3] = {d[0] - b[0], d[1] - b[1], d[2] - b[2]};
  float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (len > 0) n[0] /= len, n[1] /= len, n[2] /= len;
  const float* corners[4] = {a, b, c, d};
  const float uv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
  uint32_t base = static_cast<uint32_t>(m.vertices.size());
  for (int k = 0; k < 4; ++k) {
    vertex v;
    for (int i = 0; i < 3; ++i) v.p[i] = corners[k][i], v.n[i] = n[i];
    v.t[0] = uv[k][0];
    v.t[1] = uv[k][1];
    m.vertices.push_back(v);
  }
  m.triangles.insert(m.triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

mesh Grid(int rows, int cols, bool wrapCols, const std::function<void(float, float, float*)>& at) {
  mesh m;
  int stride = cols + 1;
  for (int r = 0; r <= rows; ++r) {
    for (int c = 0; c <= cols; ++c) {
      vertex v{};
      v.t[0] = static_cast<float>(c) / cols;
      v.t[1] = static_cast<float>(r) / rows;
      at(v.t[0], v.t[1], v.p);
      for (float& k : v.c) k = 1.0f;
      m.vertices.push_back(v);
    }
  }
  // A closed ring ends exactly where it starts, whatever the rounding of sin(2 pi).
  if (wrapCols) {
    for (int r = 0; r <= rows; ++r)
      std::memcpy(m.vertices[r * stride + cols].p, m.vertices[r * stride].p, sizeof(float) * 3);
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      uint32_t a = r * stride + c, b = a + 1, d = a + stride, e = d + 1;
      m.triangles.insert(m.triangles.end(), {a, b, e, a, e, d});
    }
  }
  SmoothNormals(m);
  // A closed ring shares its seam normals so the shading has no crease.
  if (wrapCols) {
    for (int r = 0; r <= rows; ++r) {
      vertex& first = m.vertices[r * stride];
      vertex& last = m.vertices[r * stride + cols];
      for (int i = 0; i < 3; ++i) {
        float n = first.n[i] + last.n[i];
        first.n[i] = last.n[i] = n;
      }
      float len = std::sqrt(first.n[0] * first.n[0] + first.n[1] * first.n[1] + first.n[2] * first.n[2]);
      if (len > 0)
        for (int i = 0; i < 3; ++i) first.n[i] = last.n[i] = first.n[i] / len;
    }
  }
  return m;
}

void SmoothNormals(mesh& m) {
  for (vertex& v : m.vertices) v.n[0] = v.n[1] = v.n[2] = 0.0f;
  for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) {
    vertex& a = m.vertices[m.triangles[t]];
    vertex& b = m.vertices[m.triangles[t + 1]];
    vertex& c = m.vertices[m.triangles[t + 2]];
    float u[3], w[3];
    for (int i = 0; i < 3; ++i) u[i] = b.p[i] - a.p[i], w[i] = c.p[i] - a.p[i];
    float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    for (int i = 0; i < 3; ++i) a.n[i] += n[i], b.n[i] += n[i], c.n[i] += n[i];
  }
  for (vertex& v : m.vertices) {
    float len = std::sqrt(v.n[0] * v.n[0] + v.n[1] * v.n[1] + v.n[2] * v.n[2]);
    if (len > 0)
      for (float& k : v.n) k /= len;
  }
}

mesh Box(float sx, float sy, float sz) {
  float x = sx / 2, y = sy / 2, z = sz / 2;
  float p[8][3] = {{-x, -y, -z}, {x, -y, -z}, {x, y, -z}, {-x, y, -z},
                   {-x, -y, z},  {x, -y, z},  {x, y, z},  {-x, y, z}};
  mesh m;
  AddQuad(m, p[4], p[5], p[6], p[7]);  // top
  AddQuad(m, p[3], p[2], p[1], p[0]);  // bottom
  AddQuad(m, p[0], p[1], p[5], p[4]);  // -y
  AddQuad(m, p[2], p[3], p[7], p[6]);  // +y
  AddQuad(m, p[1], p[2], p[6], p[5]);  // +x
  AddQuad(m, p[3], p[0], p[4], p[7]);  // -x
  return m;
}

mesh Cylinder(float radius, float length, int segments) {
  if (segments < 3) segments = 3;
  float h = length / 2;
  mesh m = Grid(1, segments, true, [&](float u, float v, float* p) {
    float a = 2 * kPi * u;
    p[0] = radius * std::cos(a);
    p[1] = radius * std::sin(a);
    p[2] = -h + length * v;
  });
  for (int end = 0; end < 2; ++end) {
    uint32_t centre = static_cast<uint32_t>(m.vertices.size());
    vertex c{};
    c.p[2] = end ? h : -h;
    c.n[2] = end ? 1.0f : -1.0f;
    c.t[0] = c.t[1] = 0.5f;
    m.vertices.push_back(c);
    for (int s = 0; s <= segments; ++s) {
      float a = 2 * kPi * s / segments;
      vertex v = c;
      v.p[0] = radius * std::cos(a);
      v.p[1] = radius * std::sin(a);
      v.t[0] = 0.5f + 0.5f * std::cos(a);
      v.t[1] = 0.5f + 0.5f * std::sin(a);
      m.vertices.push_back(v);
    }
    for (int s = 0; s < segments; ++s) {
      uint32_t a = centre + 1 + s, b = a + 1;
      if (end) m.triangles.insert(m.triangles.end(), {centre, a, b});
      else m.triangles.insert(m.triangles.end(), {centre, b, a});
    }
  }
  return m;
}

mesh Sphere(float radius, int slices, int stacks) {
  if (slices < 3) slices = 3;
  if (stacks < 2) stacks = 2;
  return Grid(stacks, slices, true, [&](float u, float v, float* p) {
    float lon = 2 * kPi * u, lat = -kPi / 2 + kPi * v;
    float ring = (v <= 0.0f || v >= 1.0f) ? 0.0f : std::cos(lat);  // exact poles
    p[0] = radius * ring * std::cos(lon);
    p[1] = radius * ring * std::sin(lon);
    p[2] = radius * std::sin(lat);
  });
}

mesh Torus(float ringRadius, float tubeRadius, int segments, int sides) {
  return Grid(sides, segments, true, [&](float u, float v, float* p) {
    float a = 2 * kPi * u, b = 2 * kPi * v;
    float r = ringRadius + tubeRadius * std::cos(b);
    p[0] = r * std::cos(a);
    p[1] = r * std::sin(a);
    p[2] = tubeRadius * std::sin(b);
  });
}

mesh Ground(float size, int cells, float amplitude) {
  if (cells < 1) cells = 1;
  mesh m = Grid(cells, cells, false, [&](float u, float v, float* p) {
    p[0] = -size / 2 + size * u;
    p[1] = -size / 2 + size * v;
    // Long waves so the ground rolls gently; zero on the border.
    p[2] = amplitude * std::sin(kPi * u) * std::sin(kPi * v) * std::cos(3 * kPi * u) * std::cos(2 * kPi * v);
  });
  for (vertex& v : m.vertices) v.t[0] *= cells, v.t[1] *= cells;  // texture repeats per cell
  return m;
}

void Translate(mesh& m, float x, float y, float z) {
  for (vertex& v : m.vertices) v.p[0] += x, v.p[1] += y, v.p[2] += z;
}

void Rotate(mesh& m, float radians, int a, int b) {
  float c = std::cos(radians), s = std::sin(radians);
  for (vertex& v : m.vertices) {
    for (float* r : {v.p, v.n}) {
      float x = r[a], y = r[b];
      r[a] = c * x - s * y;
      r[b] = s * x + c * y;
    }
  }
}

void RotateZ(mesh& m, float degrees) { Rotate(m, degrees * kPi / 180, 0, 1); }

void Mirror(mesh& m) {
  for (vertex& v : m.vertices) v.p[1] = -v.p[1], v.n[1] = -v.n[1];
  for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) std::swap(m.triangles[t + 1], m.triangles[t + 2]);
}

void AddMirrorImage(mesh& m) {
  mesh other = m;
  Mirror(other);
  Append(m, other);
}

void Append(mesh& to, const mesh& from) {
  uint32_t base = static_cast<uint32_t>(to.vertices.size());
  to.vertices.insert(to.vertices.end(), from.vertices.begin(), from.vertices.end());
  for (uint32_t i : from.triangles) to.triangles.push_back(i + base);
}

void Paint(mesh& m, float r, float g, float b, float a) {
  for (vertex& v : m.vertices) v.c[0] = r, v.c[1] = g, v.c[2] = b, v.c[3] = a;
}

}  // namespace meshgen
