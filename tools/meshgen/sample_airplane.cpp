// Powered sample airplanes: a body of revolution, lofted wing halves with
// ailerons, a tailplane with elevator, a fin with rudder and a twisted
// two-blade propeller, each moving surface a child group of its surface.
#include <cmath>
#include <string>

#include "tools/meshgen/meshgen.h"
#include "tools/meshgen/meshgen_grid.h"

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
constexpr int kLegSides = 8;

// A round strut between two points: a capped cylinder turned onto the line.
mesh Strut(const float* from, const float* to, float radius) {
  float d[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
  float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  mesh m = Cylinder(radius, length, kLegSides);
  if (!(length > 0.0f)) return m;
  for (float& c : d) c /= length;
  // Axes across the strut: any unit vector not along it, made square to it.
  float a[3] = {std::fabs(d[0]) < 0.9f ? 1.0f : 0.0f, std::fabs(d[0]) < 0.9f ? 0.0f : 1.0f, 0.0f};
  float dot = a[0] * d[0] + a[1] * d[1] + a[2] * d[2];
  for (int k = 0; k < 3; ++k) a[k] -= dot * d[k];
  float la = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
  for (float& c : a) c /= la;
  float b[3] = {d[1] * a[2] - d[2] * a[1], d[2] * a[0] - d[0] * a[2], d[0] * a[1] - d[1] * a[0]};
  auto turn = [&](float* v) {
    float x = v[0], y = v[1], z = v[2];
    for (int k = 0; k < 3; ++k) v[k] = a[k] * x + b[k] * y + d[k] * z;
  };
  for (vertex& v : m.vertices) {
    turn(v.p);
    turn(v.n);
    for (int k = 0; k < 3; ++k) v.p[k] += 0.5f * (from[k] + to[k]);
  }
  return m;
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
  std::vector<kxgeometry*> parts;
  auto add = [&](const std::string& group, const mesh& m, const float* rgb) {
    std::string name = group.substr(group.rfind('/') + 1);
    parts.push_back(ColouredElement(m, name.c_str(), group.c_str(), rgb));
  };
  add("Fuselage", BodyOfRevolution(plane.fuselage, 16), plane.body);

  for (const samplewing& sw : plane.wings) {
    airfoil section = Naca4(sw.naca, 16);
    wingpanel w;
    w.span = sw.halfSpan;
    w.rootChord = sw.rootChord;
    w.tipChord = sw.tipChord;
    w.dihedralDeg = sw.dihedralDeg;
    w.twistDeg = -sw.washoutDeg;
    w.spanSteps = 8;
    mesh wing, aileron;
    if (sw.ailerons) AileronWing(section, w, kAileronFrom, kAileronHinge, &wing, &aileron);
    else wing = WingPanel(section, w);
    for (mesh* m : {&wing, &aileron}) {
      RotateY(*m, sw.incidenceDeg);
      Translate(*m, sw.leadingX, 0.0f, sw.z);
    }
    std::string left = std::string("Left") + sw.name + "Wing", right = std::string("Right") + sw.name + "Wing";
    mesh rightWing = wing, rightAileron = aileron;
    Mirror(rightWing);
    Mirror(rightAileron);
    add(left, wing, plane.body);
    if (sw.ailerons) add(left + "/Left" + sw.name + "Aileron", aileron, plane.trim);
    add(right, rightWing, plane.body);
    if (sw.ailerons) add(right + "/Right" + sw.name + "Aileron", rightAileron, plane.trim);
  }

  tail t = Tail(plane, plane.finChord * 0.6f);
  add("Stabilizer", t.stabilizer, plane.body);
  add("Stabilizer/Elevator", t.elevator, plane.trim);
  add("Fin", t.fin, plane.body);
  add("Fin/Rudder", t.rudder, plane.trim);

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
  for (size_t i = 0; i < plane.legs.size(); ++i) {
    const sampleairplane::leg& l = plane.legs[i];
    add("Gear" + std::to_string(i + 1), Strut(l.top, l.bottom, plane.legRadius), plane.body);
  }
  return Chain(parts.data(), parts.size());
}

tail Tail(const sampleairplane& plane, float finTipChord) {
  airfoil section = Naca4(8, 10);
  tail t;
  wingpanel s;
  s.span = plane.tailHalfSpan;
  s.rootChord = s.tipChord = plane.tailChord;
  s.spanSteps = 3;
  HingedPanel(section, s, kTailHinge, &t.stabilizer, &t.elevator);
  for (mesh* m : {&t.stabilizer, &t.elevator}) {
    AddMirrorImage(*m);
    RotateY(*m, plane.tailIncidenceDeg);
    Translate(*m, plane.tailX, 0.0f, plane.tailZ);
  }
  wingpanel f;
  f.span = plane.finSpan;
  f.rootChord = plane.finChord;
  f.tipChord = finTipChord;
  f.sweepDeg = 15.0f;
  f.spanSteps = 3;
  HingedPanel(section, f, kTailHinge, &t.fin, &t.rudder);
  for (mesh* m : {&t.fin, &t.rudder}) {
    StandUp(*m);
    Translate(*m, plane.tailX - 0.01f, 0.0f, plane.tailZ + 0.02f);
  }
  return t;
}

}  // namespace meshgen
