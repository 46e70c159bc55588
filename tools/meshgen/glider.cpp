// The sample glider: fuselage, two wing halves with ailerons, a tailplane
// with elevator, a fin with rudder, two wheels for an aerotow start and a
// skid under each wing tip, every flying surface lofted from its
// airfoil. Each moving surface is a child group of its surface, with a
// forward-facing hinge face along its hinge line.
#include <iterator>

#include "tools/meshgen/meshgen.h"
#include "tools/meshgen/meshgen_grid.h"

namespace meshgen {

namespace {

constexpr float kHalfSpan = 0.9f;     // m
constexpr float kChord = 0.18f;       // m
constexpr float kWingX = 0.05f;       // m, leading edge at the root
constexpr float kWingZ = 0.03f;       // m
constexpr float kAileronHinge = 0.75f;
constexpr float kAileronFrom = 0.5f;  // share of the half span
constexpr float kTailX = -0.62f;      // m, leading edge
constexpr float kTailHalfSpan = 0.25f;
constexpr float kTailChord = 0.11f;
constexpr float kTailIncidenceDeg = -1.5f;  // nose down against the wing
constexpr float kFinSpan = 0.16f;
constexpr float kFinChord = 0.13f;
constexpr float kFinTipChord = 0.08f;
// Wheels in line under the fuselage: the main wheel 8 cm ahead of the
// balance point, so the pull of a tow rope on the nose does not tip the
// glider onto its nose, and a small one near the tail that keeps the tail
// cone off the ground.
constexpr float kTyreWidth = 0.5f;  // share of the radius
struct gliderwheel {
  float x, z, radius;  // m, hub
};
constexpr gliderwheel kWheels[] = {{0.08f, -0.06f, 0.03f}, {-0.68f, -0.04f, 0.015f}};
// Standing on wheels in line, the glider leans onto a wing. A thin skid
// under each tip, reaching down to kSkidBottom, holds it within about 7
// degrees of level (the main wheel's hub is the pivot).
constexpr float kSkidY = 0.86f;        // m, out along the span
constexpr float kSkidX = -0.01f;       // m, middle of the runner
constexpr float kSkidLength = 0.08f;   // m
constexpr float kSkidWidth = 0.004f;   // m
constexpr float kSkidBottom = 0.02f;   // m
constexpr float kSkidTop = 0.09f;      // m, the tip's underside

kxgeometry* Surface(const mesh& m, const char* name, const char* group, float r, float g, float b) {
  const float rgb[3] = {r, g, b};
  return ColouredElement(m, name, group, rgb);
}

}  // namespace

kxgeometry* Glider() {
  airfoil wingSection = Naca4(2410, 16);
  airfoil tailSection = Naca4(8, 10);
  mesh fuselage = BodyOfRevolution({{0.32f, 0.0f}, {0.30f, 0.03f}, {0.22f, 0.045f}, {0.05f, 0.045f},
                                    {-0.30f, 0.025f}, {-0.72f, 0.012f}, {-0.76f, 0.0f}},
                                   16);

  wingpanel w;
  w.span = kHalfSpan;
  w.rootChord = kChord;
  w.tipChord = 0.14f;
  w.dihedralDeg = 4.0f;
  w.spanSteps = 8;
  mesh wing, aileron;
  AileronWing(wingSection, w, kAileronFrom, kAileronHinge, &wing, &aileron);
  for (mesh* m : {&wing, &aileron}) Translate(*m, kWingX, 0.0f, kWingZ);
  mesh rightWing = wing, rightAileron = aileron;
  Mirror(rightWing);
  Mirror(rightAileron);

  sampleairplane sizes;
  sizes.tailX = kTailX;
  sizes.tailHalfSpan = kTailHalfSpan;
  sizes.tailChord = kTailChord;
  sizes.tailIncidenceDeg = kTailIncidenceDeg;
  sizes.finSpan = kFinSpan;
  sizes.finChord = kFinChord;
  tail t = Tail(sizes, kFinTipChord);

  mesh wheels[2];
  for (int i = 0; i < 2; ++i) {
    const gliderwheel& g = kWheels[i];
    wheels[i] = Cylinder(g.radius, kTyreWidth * g.radius, 16);
    RotateY(wheels[i], 90.0f);  // axle along x
    RotateZ(wheels[i], 90.0f);  // axle along y
    Translate(wheels[i], g.x, 0.0f, g.z);
  }

  mesh skids[2];
  for (int i = 0; i < 2; ++i) {
    skids[i] = Box(kSkidLength, kSkidWidth, kSkidTop - kSkidBottom);
    Translate(skids[i], kSkidX, i == 0 ? kSkidY : -kSkidY, 0.5f * (kSkidTop + kSkidBottom));
  }

  kxgeometry* parts[] = {
      Surface(fuselage, "Fuselage", "Fuselage", 0.9f, 0.9f, 0.85f),
      Surface(wing, "LeftWing", "LeftWing", 0.95f, 0.95f, 0.95f),
      Surface(aileron, "LeftAileron", "LeftWing/LeftAileron", 0.9f, 0.2f, 0.1f),
      Surface(rightWing, "RightWing", "RightWing", 0.95f, 0.95f, 0.95f),
      Surface(rightAileron, "RightAileron", "RightWing/RightAileron", 0.9f, 0.2f, 0.1f),
      Surface(t.stabilizer, "Stabilizer", "Stabilizer", 0.95f, 0.95f, 0.95f),
      Surface(t.elevator, "Elevator", "Stabilizer/Elevator", 0.9f, 0.2f, 0.1f),
      Surface(t.fin, "Fin", "Fin", 0.95f, 0.95f, 0.95f),
      Surface(t.rudder, "Rudder", "Fin/Rudder", 0.9f, 0.2f, 0.1f),
      Surface(wheels[0], "Wheel1", "Wheel1", 0.1f, 0.1f, 0.1f),
      Surface(wheels[1], "Wheel2", "Wheel2", 0.1f, 0.1f, 0.1f),
      Surface(skids[0], "LeftSkid", "LeftSkid", 0.9f, 0.2f, 0.1f),
      Surface(skids[1], "RightSkid", "RightSkid", 0.9f, 0.2f, 0.1f),
  };
  return Chain(parts, std::size(parts));
}

}  // namespace meshgen
