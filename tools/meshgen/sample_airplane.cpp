// Powered sample airplanes: a body of revolution, lofted wing halves with
// ailerons, a tailplane with elevator, a fin with rudder and a twisted
// two-blade propeller, each moving surface a child group of its surface.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>

#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace meshgen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kAileronFrom = 0.5f;  // share of the half span
constexpr float kAileronHinge = 0.75f;
constexpr float kTailHinge = 0.65f;   // share of the tail chords
constexpr float kHubRadius = 0.02f;   // m
constexpr float kRootPitchDeg = 35.0f;
constexpr int kBlades = 2;
constexpr float kTyreWidth = 0.5f;   // share of the wheel radius

kxgeometry* Surface(const mesh& m, const std::string& group, const float* rgb) {
  std::string name = group.substr(group.rfind('/') + 1);
  return ColouredElement(m, name.c_str(), group.c_str(), rgb);
}

// Tip pitch of a linear twist that gives the propeller its geometric pitch
// at 75 % of the radius.
float TipPitchDeg(float radius, float pitch) {
  float r75 = 0.75f * radius;
  float at75 = std::atan(pitch / (2.0f * kPi * r75)) * 180.0f / kPi;
  float fraction = (r75 - kHubRadius) / (radius - kHubRadius);
  return kRootPitchDeg + (at75 - kRootPitchDeg) / fraction;
}

}  // namespace

kxgeometry* SampleAirplane(const sampleairplane& plane) {
  std::vector<std::pair<std::string, mesh>> parts;
  std::vector<const float*> colours;
  auto add = [&](const std::string& group, mesh m, const float* rgb) {
    parts.emplace_back(group, std::move(m));
    colours.push_back(rgb);
  };
  add("Fuselage", BodyOfRevolution(plane.fuselage, 16), plane.body);

  for (const samplewing& sw : plane.wings) {
    airfoil section = Naca4(sw.naca, 16);
    wingpanel w;
    w.span = sw.halfSpan;
    w.rootChord = sw.rootChord;
    w.tipChord = sw.tipChord;
    w.dihedralDeg = sw.dihedralDeg;
    w.spanSteps = 8;
    mesh wing, aileron;
    if (sw.ailerons) {
      w.spanTo = kAileronFrom;
      wing = WingPanel(section, w);
      w.spanFrom = kAileronFrom;
      w.spanTo = 1.0f;
      w.chordTo = kAileronHinge;
      Append(wing, WingPanel(section, w));
      w.chordFrom = kAileronHinge;
      w.chordTo = 1.0f;
      aileron = WingPanel(section, w);
    } else {
      wing = WingPanel(section, w);
    }
    RotateY(wing, sw.incidenceDeg);
    RotateY(aileron, sw.incidenceDeg);
    Translate(wing, sw.leadingX, 0.0f, sw.z);
    Translate(aileron, sw.leadingX, 0.0f, sw.z);
    std::string left = std::string("Left") + sw.name + "Wing", right = std::string("Right") + sw.name + "Wing";
    mesh rightWing = wing, rightAileron = aileron;
    Mirror(rightWing);
    Mirror(rightAileron);
    add(left, wing, plane.body);
    if (sw.ailerons) add(left + "/Left" + sw.name + "Aileron", aileron, plane.trim);
    add(right, rightWing, plane.body);
    if (sw.ailerons) add(right + "/Right" + sw.name + "Aileron", rightAileron, plane.trim);
  }

  airfoil tailSection = Naca4(8, 10);
  wingpanel t;
  t.span = plane.tailHalfSpan;
  t.rootChord = t.tipChord = plane.tailChord;
  t.spanSteps = 3;
  t.chordTo = kTailHinge;
  mesh stab = WingPanel(tailSection, t);
  t.chordFrom = kTailHinge;
  t.chordTo = 1.0f;
  mesh elevator = WingPanel(tailSection, t);
  for (mesh* m : {&stab, &elevator}) {
    mesh other = *m;
    Mirror(other);
    Append(*m, other);
    RotateY(*m, plane.tailIncidenceDeg);
    Translate(*m, plane.tailX, 0.0f, plane.tailZ);
  }
  add("Stabilizer", stab, plane.body);
  add("Stabilizer/Elevator", elevator, plane.trim);

  wingpanel f;
  f.span = plane.finSpan;
  f.rootChord = plane.finChord;
  f.tipChord = plane.finChord * 0.6f;
  f.sweepDeg = 15.0f;
  f.spanSteps = 3;
  f.chordTo = kTailHinge;
  mesh fin = WingPanel(tailSection, f);
  f.chordFrom = kTailHinge;
  f.chordTo = 1.0f;
  mesh rudder = WingPanel(tailSection, f);
  for (mesh* m : {&fin, &rudder}) {
    StandUp(*m);
    Translate(*m, plane.tailX - 0.01f, 0.0f, plane.tailZ + 0.02f);
  }
  add("Fin", fin, plane.body);
  add("Fin/Rudder", rudder, plane.trim);

  if (plane.propellerRadius > kHubRadius) {
    float chord = 0.2f * plane.propellerRadius;
    for (int i = 0; i < kBlades; ++i) {
      mesh blade = Blade(kHubRadius, plane.propellerRadius, chord, 0.6f * chord, kRootPitchDeg,
                         TipPitchDeg(plane.propellerRadius, plane.propellerPitch), 12);
      RotateZ(blade, 360.0f * i / kBlades);
      RotateY(blade, 90.0f);  // spins about x
      Translate(blade, plane.propellerX, 0.0f, 0.0f);
      static const float kBlack[3] = {0.15f, 0.15f, 0.15f};
      add("Propeller/Blade" + std::to_string(i + 1), blade, kBlack);
    }
  }

  static const float kTyre[3] = {0.1f, 0.1f, 0.1f};
  for (size_t i = 0; i < plane.wheels.size(); ++i) {
    const sampleairplane::wheel& w = plane.wheels[i];
    mesh tyre = Cylinder(w.radius, kTyreWidth * w.radius, 20);
    RotateY(tyre, 90.0f);  // axle along x
    RotateZ(tyre, 90.0f);  // axle along y
    Translate(tyre, w.x, w.y, w.z);
    add("Wheel" + std::to_string(i + 1), tyre, kTyre);
  }

  kxgeometry* first = nullptr;
  kxgeometry** tail = &first;
  bool complete = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    kxgeometry* el = Surface(parts[i].second, parts[i].first, colours[i]);
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

}  // namespace meshgen
