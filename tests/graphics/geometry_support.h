// Shared helpers of the geometry and collision tests: meshes built in code,
// a fixture with the interpreter and the node types, and a log capture.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "tests/core/test_support.h"
#include "tests/temp_dir.h"
#include "tools/meshgen/meshgen.h"

namespace kxgeomtest {

inline std::string& Log() { return kxtest::logcapture::Text(); }

// A mesh element from corner positions and triangles; normals +z.
inline kxgeometry* Element(const std::vector<std::vector<float>>& points, const std::vector<uint32_t>& triangles,
                           const char* name = "el", uint32_t format = GL_N3F_V3F) {
  meshgen::mesh m;
  for (const auto& p : points) {
    meshgen::vertex v{};
    v.p[0] = p[0];
    v.p[1] = p[1];
    v.p[2] = p[2];
    v.n[2] = 1.0f;
    m.vertices.push_back(v);
  }
  m.triangles = triangles;
  return meshgen::ToElement(m, name, "", format);
}

// A position-only element without strips or hull (terrain-sized meshes:
// the hull is not needed by the collision world).
inline kxgeometry* Terrain(const meshgen::mesh& m, const char* name) {
  kxgeometry* el = kxgeometry::Create(GL_V3F, static_cast<int>(m.vertices.size()), static_cast<int>(m.triangles.size() / 3));
  std::snprintf(el->name, sizeof el->name, "%s", name);
  for (size_t i = 0; i < m.vertices.size(); ++i) kxgeometry::SetVertexPosition(el, static_cast<int>(i), m.vertices[i].p);
  for (size_t i = 0; i < m.triangles.size(); ++i) el->triangles[i] = m.triangles[i];
  kxgeometry::UpdateBounds(el);
  kxgeometry::Store(el);
  return el;
}

// Unit square (0,0)-(1,1) at z = 0, split along (0,0)-(1,1), facing +z.
inline kxgeometry* UnitSquare(const char* name = "square") {
  return Element({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 1, 2, 0, 2, 3}, name);
}

// Square ground (-half..half)^2 at height z as two triangles facing up.
inline kxgeometry* Plate(float half, float z, const char* name) {
  return Element({{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}}, {0, 1, 2, 0, 2, 3}, name);
}

// Initialises the interpreter and the graphics node types once, captures
// the log and gives each test a fresh node "/G/".
class GeometryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxgraphics::RegisterTypes();
  }
  void SetUp() override {
    top = new kxnode;
    top->name = "G";
    kxscript::Root()->AppendChild(top);
  }
  void TearDown() override {
    delete top;
    kxscript::Reset();
  }
  // A new object under parent (top when null), owning mesh.
  kxgeometricobject* Object(const char* name, kxgeometry* mesh = nullptr, kxnode* parent = nullptr) {
    kxgeometricobject* o = new kxgeometricobject;
    o->name = name;
    (parent ? parent : top)->AppendChild(o);
    if (mesh) o->SetMesh(mesh);
    return o;
  }
  static kxmatrix Identity() {
    kxmatrix m;
    kxmatrix::SetIdentity(&m);
    return m;
  }
  static kxmatrix Translation(float x, float y, float z) {
    kxmatrix m = Identity();
    m.R = {x, y, z, 1.0f};
    return m;
  }
  // Rotation about an axis by degrees, then a translation.
  static kxmatrix Frame(float ax, float ay, float az, float degrees, float x, float y, float z) {
    kxmatrix m;
    kxmatrix::SetRotation(&m, {ax, ay, az, 0.0f}, degrees * 3.14159265f / 180.0f);
    m.R = {x, y, z, 1.0f};
    return m;
  }
  kxnode* top = nullptr;
  kxtest::logcapture capture_;
};

}  // namespace kxgeomtest
