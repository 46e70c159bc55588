// Turning generated meshes into mesh elements, and the demo aircraft.
#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <iterator>

#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace meshgen {

kxgeometry* ToElement(const mesh& m, const char* name, const char* group, uint32_t format) {
  kxgeometry* el = kxgeometry::Create(format, static_cast<int>(m.vertices.size()),
                                      static_cast<int>(m.triangles.size() / 3));
  if (!el) return nullptr;
  std::snprintf(el->name, sizeof el->name, "%s", name ? name : "");
  std::snprintf(el->group, sizeof el->group, "%s", group ? group : "");
  int floats = kxgeometry::FloatsPerVertex(format), texCoords = kxgeometry::TexCoordFloats(format);
  int colors = kxgeometry::ColorFloats(format), normal = kxgeometry::NormalOffset(format);
  for (size_t i = 0; i < m.vertices.size(); ++i) {
    const vertex& v = m.vertices[i];
    float* out = el->vertices + i * floats;
    if (texCoords) std::memcpy(out, v.t, 2 * sizeof(float));
    if (colors) std::memcpy(out + texCoords, v.c, colors * sizeof(float));
    if (normal >= 0) std::memcpy(out + normal, v.n, 3 * sizeof(float));
    std::memcpy(out + floats - 3, v.p, 3 * sizeof(float));
  }
  if (!m.triangles.empty()) std::memcpy(el->triangles, m.triangles.data(), m.triangles.size() * sizeof(uint32_t));
  if (!kxgeometry::Finish(el)) kxgeometry::Free(&el);
  return el;
}

kxgeometry* Chain(kxgeometry* const* parts, size_t count) {
  kxgeometry* first = nullptr;
  kxgeometry** tail = &first;
  bool complete = true;
  for (size_t i = 0; i < count; ++i) {
    kxgeometry* el = parts[i];
    if (!el) {
      complete = false;
      continue;
    }
    *tail = el;
    tail = &el->next;
  }
  if (!complete) kxgeometry::Free(&first);
  return first;
}

namespace {

constexpr float kDemoSpecular = 0.4f;

kxgeometry* Part(const mesh& m, const char* name, const char* group, float r, float g, float b) {
  const float rgb[3] = {r, g, b};
  kxgeometry* el = ColouredElement(m, name, group, rgb);
  if (el) el->specular[0] = el->specular[1] = el->specular[2] = kDemoSpecular;
  return el;
}

}  // namespace

kxgeometry* DemoAircraft() {
  constexpr float kSpan = 0.7f;        // m, half span
  constexpr float kChord = 0.22f;      // m
  constexpr float kAileronHinge = 0.75f;
  airfoil wingSection = Naca4(2412, 16);
  airfoil tailSection = Naca4(9, 10);

  mesh fuselage = BodyOfRevolution(
      {{0.30f, 0.0f}, {0.28f, 0.05f}, {0.18f, 0.07f}, {0.0f, 0.065f}, {-0.4f, 0.04f}, {-0.75f, 0.015f}, {-0.8f, 0.0f}},
      16);
  mesh canopy = Sphere(0.05f, 12, 8);
  Translate(canopy, 0.05f, 0.0f, 0.06f);

  wingpanel w;
  w.span = kSpan;
  w.rootChord = kChord;
  w.tipChord = 0.16f;
  w.sweepDeg = 2.0f;
  w.dihedralDeg = 3.0f;
  w.twistDeg = -2.0f;
  w.spanSteps = 6;
  mesh wings, leftAileron;
  AileronWing(wingSection, w, 0.4f, kAileronHinge, &wings, &leftAileron);
  mesh rightAileron = leftAileron;
  Mirror(rightAileron);
  AddMirrorImage(wings);
  for (mesh* m : {&wings, &leftAileron, &rightAileron}) Translate(*m, 0.12f, 0.0f, 0.02f);

  wingpanel t;
  t.span = 0.22f;
  t.rootChord = 0.12f;
  t.tipChord = 0.09f;
  t.spanSteps = 3;
  mesh stab, elevator;
  HingedPanel(tailSection, t, 0.65f, &stab, &elevator);
  for (mesh* m : {&stab, &elevator}) {
    AddMirrorImage(*m);
    Translate(*m, -0.66f, 0.0f, 0.0f);
  }

  wingpanel f = t;
  f.span = 0.14f;
  mesh fin, rudder;
  HingedPanel(tailSection, f, 0.65f, &fin, &rudder);
  for (mesh* m : {&fin, &rudder}) {
    StandUp(*m);
    Translate(*m, -0.66f, 0.0f, 0.01f);
  }

  mesh blade0 = Blade(0.02f, 0.12f, 0.03f, 0.018f, 30.0f, 14.0f, 6);
  RotateY(blade0, 90.0f);  // spins about x
  mesh blade1 = blade0;
  for (vertex& v : blade1.vertices) v.p[1] = -v.p[1], v.p[2] = -v.p[2], v.n[1] = -v.n[1], v.n[2] = -v.n[2];
  Translate(blade0, 0.32f, 0.0f, 0.0f);
  Translate(blade1, 0.32f, 0.0f, 0.0f);

  kxgeometry* parts[] = {
      Part(fuselage, "Fuselage", "Fuselage", 0.9f, 0.9f, 0.85f),
      Part(canopy, "T__canopy", "Fuselage/Canopy", 0.2f, 0.3f, 0.5f),
      Part(wings, "Wing", "Wing", 0.95f, 0.8f, 0.1f),
      Part(leftAileron, "LeftAileron", "Wing/LeftAileron", 0.9f, 0.2f, 0.1f),
      Part(rightAileron, "RightAileron", "Wing/RightAileron", 0.9f, 0.2f, 0.1f),
      Part(stab, "Stabilizer", "Stabilizer", 0.95f, 0.8f, 0.1f),
      Part(elevator, "Elevator", "Stabilizer/Elevator", 0.9f, 0.2f, 0.1f),
      Part(fin, "Fin", "Fin", 0.95f, 0.8f, 0.1f),
      Part(rudder, "Rudder", "Fin/Rudder", 0.9f, 0.2f, 0.1f),
      Part(blade0, "Blade0", "Propeller/Blade0", 0.15f, 0.15f, 0.15f),
      Part(blade1, "Blade1", "Propeller/Blade1", 0.15f, 0.15f, 0.15f),
  };
  kxgeometry* first = Chain(parts, std::size(parts));
  if (first) {
    first->next->transparent = 1;  // the canopy is drawn in the transparent pass
    first->next->diffuse[3] = 0.5f;
  }
  return first;
}

kxgeometry* ColouredElement(const mesh& m, const char* name, const char* group, const float* rgb) {
  kxgeometry* el = ToElement(m, name, group, GL_N3F_V3F);
  if (!el) return nullptr;
  const float d[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
  const float a[4] = {rgb[0] * 0.3f, rgb[1] * 0.3f, rgb[2] * 0.3f, 1.0f};
  std::memcpy(el->diffuse, d, sizeof d);
  std::memcpy(el->ambient, a, sizeof a);
  el->shininess = 20.0f;
  return el;
}

}  // namespace meshgen
