// make_sample_aircraft: writes the powered sample aircraft into a data
// folder: per aircraft its mesh (<name>.obj), geometry script (<name>.kxg)
// and component file (<name>.kxd).
//   make_sample_aircraft <data/aircraft>
//
// The receivers read the players' control functions: 0 "Engine 1" (1 is
// full throttle), 4 elevator (positive raises the nose), 8 rudder, 10 and
// 11 the left and right ailerons (positive rolls right), 23 the wheel brakes
// (+1 full, -1 released; 0, a function without a source, is half brake).
// The wings' control links read radians with the trailing edge down
// positive, so the servos' P1 carry the travel and its sign.
//
// Each sample is trimmed as its builder would: centre of gravity, wing and
// tail incidence, and for the combustion engine down- and right-thrust, so
// that at half throttle with the sticks centred it keeps a steady, nearly
// level attitude hands-off.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace {

constexpr float kWheelMass = 0.05f;       // kg
constexpr float kLegMass = 0.02f;         // kg
constexpr float kLegCdx = 1.0f;           // round strut across the flow
constexpr float kFinShare = 0.6f;         // of the tail's mass
// Control functions, as every control configuration numbers them.
constexpr int kEngineFunction = 0;
constexpr int kElevatorFunction = 4;
constexpr int kRudderFunction = 8;
constexpr int kLeftAileronFunction = 10;
constexpr int kRightAileronFunction = 11;
constexpr int kBrakeFunction = 23;
// Braked, the wheels' rolling friction (Kxr + 0.4) holds more than the
// engine's thrust at 15 % throttle.
constexpr float kWheelKxr = 0.05f;        // rolling friction per newton of load
constexpr float kWheelKr = 3000.0f;       // N/m, soft tyres that ride over grass
constexpr float kWheelDr = 40.0f;         // N s/m, tyre damping
constexpr float kTailWheelRadius = 0.03f; // m; smaller wheels are drawn without turning

constexpr float kDegree = 0.017453293f;   // rad

// A mass the balance counts at a given place.
struct pointmass {
  float kg;
  float at[3];  // m
};

struct sample {
  const char* name;
  const char* description;
  meshgen::sampleairplane plane;
  float fuselageMass;    // kg
  float wingMass;        // kg per half
  float tailMass;        // kg
  float cgX;             // m, where the summary balances the aircraft
  float fuselageCdx;     // drag coefficient on the fuselage's frontal area
  float aileronTravel;   // rad at full stick
  float elevatorTravel;  // rad
  float rudderTravel;    // rad
  // The throttle servo's output at half stick, its curve through -1 and +1
  // (P0 = mid, P1 = 1, P2 = -mid): the stick's middle flies level.
  float throttleMid;
  // The engine, motor or turbine and the propeller: their component lines
  // after the balancer's, and where their mass sits for the balance.
  std::string powerplant;
  std::vector<pointmass> powerplantMasses;
  // What the builder moves along the fuselage to balance the model at cgX:
  // its mass and its component lines (after the controls) at the place the
  // balance gives.
  float balancerKg;
  std::function<std::string(float x)> balancer;
  std::string extras = {};  // component lines after the powerplant
  // Lift lost at the wing root on the fuselage's lee side in a sideslip.
  float fuselageInterference = 0.0f;
};

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string Vector(const char* key, float x, float y, float z, float w) {
  return std::string(key) + " = kxvector4r( " + Number(x) + ", " + Number(y) + ", " + Number(z) + ", " + Number(w) +
         " )\n";
}

std::string Block(const char* type, const std::string& name, const std::string& lines) {
  return std::string("Append ") + type + " " + name + "\ncd " + name + "/\n" + lines + "cd ../\n";
}

// An engine's axes with its thrust line turned down (nose down positive)
// and to the right by the angles, as the designer's thrust pages turn them:
// Y stays horizontal.
std::string ThrustAxes(float downDeg, float rightDeg) {
  float down = downDeg * kDegree, right = rightDeg * kDegree;
  // + 0.0f: no angle is written as "-0".
  float x[3] = {std::cos(down) * std::cos(right), -std::cos(down) * std::sin(right) + 0.0f, -std::sin(down) + 0.0f};
  float h = std::hypot(x[0], x[1]);
  float y[3] = {-x[1] / h, x[0] / h, 0.0f};
  float z[3] = {x[1] * y[2] - x[2] * y[1], x[2] * y[0] - x[0] * y[2], x[0] * y[1] - x[1] * y[0]};
  return Vector("X", x[0], x[1], x[2], 0.0f) + Vector("Y", y[0], y[1], y[2], 0.0f) +
         Vector("Z", z[0], z[1], z[2], 0.0f);
}

// "Mass" and a diagonal "Inertia" (kg m^2 about the body's X, Y and Z).
// Parts whose analysis does not measure their inertia are given it here: a
// wheel's or an engine's default would outweigh the whole aircraft's.
std::string MassLines(float massKg, float ixx, float iyy, float izz) {
  return "Mass = " + Number(massKg) + "\nInertia = { " + Number(ixx) + ", 0, 0, 0, 0, " + Number(iyy) +
         ", 0, 0, 0, 0, " + Number(izz) + ", 0, 0, 0, 0, " + Number(massKg) + " }\n";
}

// A solid cylinder of the mass along the body's X.
std::string CylinderMass(float massKg, float radiusM, float lengthM) {
  float across = massKg * (3.0f * radiusM * radiusM + lengthM * lengthM) / 12.0f;
  return MassLines(massKg, 0.5f * massKg * radiusM * radiusM, across, across);
}

// A two-blade propeller on the engine; the shaft is its Z, and about it the
// blades count as thin rods from the hub to the tip.
std::string Propeller(float massKg, float radiusM, const char* engine) {
  float shaft = massKg * radiusM * radiusM / 3.0f;
  return Block("kxdpropeller00", "Propeller",
               "Geometry( \"~Geometry/Propeller/\" )\n" + MassLines(massKg, 0.5f * shaft, 0.5f * shaft, shaft) +
                   "Engine = ~Aircraft/" + engine + "\n");
}

// A tow hook at the point, massless so that it changes nothing of how the
// aircraft flies untowed.
std::string TowHook(float x, float y, float z) {
  return Block("kxdhook00", "TowHook", Vector("R", x, y, z, 1.0f) + MassLines(0.0f, 0.0f, 0.0f, 0.0f));
}

// A disc turning about its axle, the body's Y.
std::string WheelMass(float radiusM) {
  float across = 0.25f * kWheelMass * radiusM * radiusM;
  return MassLines(kWheelMass, across, 2.0f * across, across);
}

std::string Servo(const std::string& name, int function, float travel, float mid = 0.0f) {
  std::string curve = mid != 0.0f ? "P0 = " + Number(mid) + "\n" : "";
  curve += "P1 = " + Number(travel) + "\n";
  if (mid != 0.0f) curve += "P2 = " + Number(-mid) + "\n";
  return Block("kxdservo00", name, "SignalIn = ~Aircraft/Receiver/Out(" + std::to_string(function) + ")\n" + curve);
}

// The area centroid of the elements of a group and of the groups below it,
// as a body's analysis places the body; false when they have no area.
bool Centroid(const kxgeometry* list, const std::string& group, float out[3]) {
  double area = 0.0, sum[3] = {};
  for (const kxgeometry* el = list; el; el = el->next) {
    std::string g = el->group;
    if (g != group && g.rfind(group + "/", 0) != 0) continue;
    for (int t = 0; t < el->triangleCount; ++t) {
      float v[3][3];
      for (int k = 0; k < 3; ++k) kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[3 * t + k]), v[k]);
      double u[3], w[3];
      for (int k = 0; k < 3; ++k) u[k] = v[1][k] - v[0][k], w[k] = v[2][k] - v[0][k];
      double c[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
      double a = 0.5 * std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
      area += a;
      for (int k = 0; k < 3; ++k) sum[k] += a * (v[0][k] + v[1][k] + v[2][k]) / 3.0;
    }
  }
  if (!(area > 0.0)) return false;
  for (int k = 0; k < 3; ++k) out[k] = static_cast<float>(sum[k] / area);
  return true;
}

/*
 * A builder balances a model by moving its battery, not by moving the
 * fuselage: the balancer's place along x is solved so that the whole
 * aircraft balances at cgX, and the fuselage's CG key names that point
 * (at the height the parts give), so the aircraft summary finds the
 * aircraft balanced and leaves every part where the mesh put it.
 */
struct balance {
  float balancerX;  // m
  float cg[3];      // m
};

bool Balance(const sample& s, const kxgeometry* list, balance* out) {
  const meshgen::sampleairplane& p = s.plane;
  std::vector<std::pair<std::string, float>> parts = {{"Fuselage", s.fuselageMass},
                                                      {"Stabilizer", s.tailMass},
                                                      {"Fin", s.tailMass * kFinShare}};
  for (const meshgen::samplewing& w : p.wings) {
    for (const char* side : {"Left", "Right"}) parts.push_back({std::string(side) + w.name + "Wing", s.wingMass});
  }
  for (size_t i = 0; i < p.wheels.size(); ++i) parts.push_back({"Wheel" + std::to_string(i + 1), kWheelMass});
  for (size_t i = 0; i < p.legs.size(); ++i) parts.push_back({"Gear" + std::to_string(i + 1), kLegMass});
  double mass = 0.0, moment[3] = {};
  for (const auto& [group, kg] : parts) {
    float c[3];
    if (!Centroid(list, group, c)) {
      std::fprintf(stderr, "make_sample_aircraft: %s has no %s to weigh\n", s.name, group.c_str());
      return false;
    }
    mass += kg;
    for (int k = 0; k < 3; ++k) moment[k] += kg * c[k];
  }
  for (const pointmass& m : s.powerplantMasses) {
    mass += m.kg;
    for (int k = 0; k < 3; ++k) moment[k] += m.kg * m.at[k];
  }
  const double total = mass + s.balancerKg;
  out->balancerX = static_cast<float>((s.cgX * total - moment[0]) / s.balancerKg);
  out->cg[0] = s.cgX;
  out->cg[1] = 0.0f;  // the halves are mirror images; only rounding sets them apart
  // To the 0.1 mm the aircraft writer keeps: a saved copy then balances
  // exactly as the generated file does.
  out->cg[2] = static_cast<float>(std::round(moment[2] / total * 1e4) / 1e4);
  float lo[3], hi[3];
  const kxgeometry* body = list;  // the fuselage comes first
  for (int k = 0; k < 3; ++k) lo[k] = body->boundsMin[k], hi[k] = body->boundsMax[k];
  if (out->balancerX < lo[0] || out->balancerX > hi[0]) {
    std::fprintf(stderr, "make_sample_aircraft: %s would need its balancer at x = %.3f m, outside the fuselage\n",
                 s.name, out->balancerX);
    return false;
  }
  return true;
}

std::string ComponentFile(const sample& s, const balance& b) {
  const meshgen::sampleairplane& p = s.plane;
  std::string text = std::string("// Skyvane aircraft\n// name: ") + s.name + "\n// " + s.description +
                     "\n//\n// version: 1.8.0\n//\n// type:    0\n";
  text += Block("kxdfuselage00", "Fuselage",
                "Geometry( \"~Geometry/Fuselage/\" )\nMass = " + Number(s.fuselageMass) +
                    "\n" + Vector("CG", b.cg[0], b.cg[1], b.cg[2], 1.0f) + "Cdx = " + Number(s.fuselageCdx) + "\nCdy = 0.6\nCdz = 0.6\n");
  for (const meshgen::samplewing& w : p.wings) {
    for (const char* side : {"Left", "Right"}) {
      std::string wing = std::string(side) + w.name + "Wing";
      std::string lines = "Geometry( \"~Geometry/" + wing + "/\" )\nMass = " + Number(s.wingMass) +
                          "\nRootR = kxvector4f( 0.0000, 0.0000, " + Number(w.z) + ", 1.0000 )\n";
      if (w.ailerons) {
        std::string aileron = std::string(side) + w.name + "Aileron";
        lines += "Aileron = ~Geometry/" + wing + "/" + aileron + "\nAileronLink = ~Aircraft/" + side +
                 "AileronServo/MechLink\n";
      }
      if (s.fuselageInterference > 0.0f) lines += "FuselageInterference = " + Number(s.fuselageInterference) + "\n";
      std::string airfoil = w.naca < 100 ? "\"Sym 12\"" : "\"Camber 4\"";
      lines += "SectionAirfoil(0) = " + airfoil + "\nSectionAirfoil(1) = " + airfoil + "\n";
      text += Block("kxdwing00", wing, lines);
      text += Block("kxdjoint00", wing + "Joint", "Body1 = ../" + wing + "/\n");
    }
  }
  text += Block("kxdwing10", "Stabilizer",
                "Geometry( \"~Geometry/Stabilizer/\" )\nMass = " + Number(s.tailMass) + "\nRootR = kxvector4f( " +
                    Number(p.tailX - 0.03f) + ", " + Number(-p.tailHalfSpan) + ", " + Number(p.tailZ) +
                    ", 1.0000 )\nFlap = ~Geometry/Stabilizer/Elevator\n"
                    "FlapLink = ~Aircraft/ElevatorServo/MechLink\nSectionAirfoil(0) = \"Sym 12\"\n");
  text += Block("kxdjoint00", "StabilizerJoint", "Body1 = ../Stabilizer/\n");
  text += Block("kxdwing11", "Fin",
                "Geometry( \"~Geometry/Fin/\" )\nMass = " + Number(s.tailMass * kFinShare) + "\nRootR = kxvector4f( " +
                    Number(p.tailX - 0.04f) + ", 0.0000, " + Number(p.tailZ + 0.02f) +
                    ", 1.0000 )\nFlap = ~Geometry/Fin/Rudder\n"
                    "FlapLink = ~Aircraft/RudderServo/MechLink\nSectionAirfoil(0) = \"Sym 12\"\n");
  text += Block("kxdjoint00", "FinJoint", "Body1 = ../Fin/\n");
  for (size_t i = 0; i < p.wheels.size(); ++i) {
    std::string wheel = "Wheel" + std::to_string(i + 1);
    text += Block("kxdwheel00", wheel,
                  "Geometry( \"~Geometry/" + wheel + "/\" )\n" + WheelMass(p.wheels[i].radius) +
                      "SignalIn = ~Aircraft/Receiver/Out(" + std::to_string(kBrakeFunction) + ")\nKxr = " +
                      Number(kWheelKxr) + "\nKr = " + Number(kWheelKr) + "\nDr = " + Number(kWheelDr) + "\n" +
                      (p.wheels[i].radius < kTailWheelRadius ? "" : "RotationEnable = 1\n"));
  }
  for (size_t i = 0; i < p.legs.size(); ++i) {
    const meshgen::sampleairplane::leg& l = p.legs[i];
    std::string leg = "Gear" + std::to_string(i + 1);
    char mounting[96];
    std::snprintf(mounting, sizeof mounting, "MountingR = kxvector4f( %.4f, %.4f, %.4f, 1.0000 )\n", l.top[0], l.top[1],
                  l.top[2]);
    text += Block("kxdgear00", leg,
                  "Geometry( \"~Geometry/" + leg + "/\" )\nMass = " + Number(kLegMass) + "\n" + mounting + "Cdx = " +
                      Number(kLegCdx) + "\n");
    text += Block("kxdjoint00", leg + "Joint", "Body1 = ../" + leg + "/\n");
  }
  text += Block("kxdreceiver00", "Receiver", "");
  text += Servo("LeftAileronServo", kLeftAileronFunction, s.aileronTravel);
  text += Servo("RightAileronServo", kRightAileronFunction, -s.aileronTravel);
  text += Servo("ElevatorServo", kElevatorFunction, -s.elevatorTravel);
  text += Servo("ThrottleServo", kEngineFunction, 1.0f, s.throttleMid);
  text += Servo("RudderServo", kRudderFunction, s.rudderTravel);
  text += s.balancer(b.balancerX);
  text += s.powerplant;
  text += s.extras;
  return text;
}

// Every object of the mesh's groups, parents before children, each
// appended once however deep its path.
std::string GeometryScript(const kxgeometry* list) {
  std::string text;
  std::vector<std::string> open;  // the objects the script is in, outermost first
  std::set<std::string> appended;  // full paths
  for (const kxgeometry* el = list; el; el = el->next) {
    std::vector<std::string> path;
    std::string group = el->group;
    for (size_t from = 0;;) {
      size_t slash = group.find('/', from);
      path.push_back(group.substr(from, slash - from));
      if (slash == std::string::npos) break;
      from = slash + 1;
    }
    size_t shared = 0;
    while (shared < open.size() && shared + 1 < path.size() && open[shared] == path[shared]) ++shared;
    for (size_t k = open.size(); k > shared; --k) text += "cd ../\n";
    open.resize(shared);
    std::string full;
    for (size_t k = 0; k < path.size(); ++k) {
      full += (k ? "/" : "") + path[k];
      if (k < shared) continue;
      if (appended.insert(full).second) text += "Append kxgeometricobject " + path[k] + "\n";
      if (k + 1 < path.size()) {
        text += "cd " + path[k] + "/\n";
        open.push_back(path[k]);
      }
    }
  }
  for (size_t k = open.size(); k > 0; --k) text += "cd ../\n";
  return text;
}

// A battery of the mass as a body of its own: the builder's means to
// balance the model.
std::string Battery(float massKg, float x) {
  constexpr float kLength = 0.1f, kWidth = 0.05f;  // m
  float across = massKg * (kWidth * kWidth + kWidth * kWidth) / 12.0f;
  float along = massKg * (kLength * kLength + kWidth * kWidth) / 12.0f;
  return Block("kxdbody", "Battery", Vector("R", x, 0.0f, 0.0f, 1.0f) + MassLines(massKg, across, along, along));
}

std::vector<sample> Samples() {
  // Aerobatic biplane, a tail-dragger: staggered wings with ailerons on
  // both, symmetric sections for inverted flight, the draggy round cowl of
  // a radial. Balanced at a quarter of the mean chord and trimmed with 4
  // degrees of decalage for about 55 km/h. Its engine has the power of an
  // aerobatic model (about 115 W per kg), so it loops from level flight and
  // rolls in well under two seconds; set 4 degrees down, it climbs
  // hands-off at full throttle at about 20 degrees. The main
  // wheels stand well ahead of the balance, so braking or a bump does not
  // put it on its nose, and the tail wheel low enough to keep the tail cone
  // off the ground in the three-point attitude.
  meshgen::samplewing upper{.name = "Upper", .halfSpan = 0.6f, .rootChord = 0.21f, .tipChord = 0.21f, .leadingX = 0.12f,
                            .z = 0.16f, .dihedralDeg = 2.5f, .incidenceDeg = 0.0f, .naca = 12};
  meshgen::samplewing lower = upper;
  lower.name = "Lower";
  lower.leadingX = 0.0f;
  lower.z = -0.06f;
  constexpr float kEagleEngineX = 0.32f, kEaglePropellerX = 0.45f;
  sample eagle{"christeneagle", "aerobatic biplane, 1.2 m span, glow engine",
               {.fuselage = {{0.42f, 0.0f}, {0.40f, 0.07f}, {0.30f, 0.08f}, {0.05f, 0.07f},
                             {-0.35f, 0.04f}, {-0.62f, 0.015f}, {-0.65f, 0.0f}},
                .wings = {upper, lower},
                .tailX = -0.52f, .tailHalfSpan = 0.22f, .tailChord = 0.13f, .tailIncidenceDeg = -4.0f,
                .finSpan = 0.17f, .finChord = 0.15f,
                .propellerX = kEaglePropellerX, .propellerRadius = 0.16f, .propellerPitch = 0.15f,
                .wheels = {{0.17f, 0.14f, -0.19f, 0.045f}, {0.17f, -0.14f, -0.19f, 0.045f}, {-0.62f, 0.0f, -0.09f, 0.02f}},
                .legs = {{{0.18f, 0.04f, -0.065f}, {0.17f, 0.128f, -0.19f}},
                         {{0.18f, -0.04f, -0.065f}, {0.17f, -0.128f, -0.19f}},
                         {{-0.6f, 0.0f, -0.01f}, {-0.62f, 0.008f, -0.09f}}},
                .body = {0.95f, 0.95f, 0.95f}, .trim = {0.85f, 0.1f, 0.1f}},
               0.95f, 0.12f, 0.06f, 0.01f, 0.6f, 0.25f, 0.3f, 0.3f, 0.12f,
               Block("kxdengine00", "Engine",
                     ThrustAxes(4.0f, 0.0f) + CylinderMass(0.45f, 0.03f, 0.08f) + Vector("R", kEagleEngineX, 0, 0, 1) +
                         "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\nRotationSpeedIdle     = 150\n"
                         "RotationSpeedMax      = 1800\nPowerMax = 275\nTorqueFactor = 0\n"
                         "ExhaustR = kxvector4r( 0.3, 0, -0.08, 1 )\nSound0File = \"engine0\"\n"
                         "Sound1File = \"engine1\"\nSound2File = \"engine2\"\n") +
                   Propeller(0.04f, 0.16f, "Engine"),
               {{0.45f, {kEagleEngineX, 0.0f, 0.0f}}, {0.04f, {kEaglePropellerX, 0.0f, 0.0f}}},
               0.15f, [](float x) { return Battery(0.15f, x); }};

  // Electric high-wing trainer, a tricycle: balanced at 30 % of the chord,
  // it flies hands-off at about 45 km/h; a throttle curve puts level flight
  // at half stick, and at full throttle it loops from level flight. Its
  // wing has 4 degrees of washout (the root set 1.6 degrees up), so the
  // root stalls first and a hard pull mushes or goes over the top instead
  // of flicking it into a spin. Strong dihedral rolls it back level. The
  // nose leg sets the wing at 6 degrees on the ground, so it
  // flies off by itself. It tows the glider from a hook on top of the
  // fuselage just behind the wing, near the balance, where the glider's
  // pull does not steer it. Its battery balances it.
  constexpr float kTrainerMotorX = 0.34f, kTrainerPropellerX = 0.43f;
  constexpr float kMotorMass = 0.28f, kCellMass = 0.056f;  // kg
  constexpr int kCells = 10;
  sample trainer{"trainer", "electric high-wing trainer, 1.6 m span",
                 {.fuselage = {{0.40f, 0.0f}, {0.38f, 0.05f}, {0.28f, 0.07f}, {0.0f, 0.07f},
                               {-0.40f, 0.035f}, {-0.78f, 0.015f}, {-0.81f, 0.0f}},
                  .wings = {{.halfSpan = 0.8f, .rootChord = 0.25f, .tipChord = 0.22f, .leadingX = 0.07f, .z = 0.07f,
                             .dihedralDeg = 12.0f, .incidenceDeg = 1.6f, .washoutDeg = 4.0f, .naca = 2412}},
                  .tailX = -0.66f, .tailHalfSpan = 0.28f, .tailChord = 0.14f, .tailIncidenceDeg = -4.5f,
                  .finSpan = 0.17f, .finChord = 0.15f,
                  .propellerX = kTrainerPropellerX, .propellerRadius = 0.14f, .propellerPitch = 0.18f,
                  .wheels = {{-0.05f, 0.16f, -0.22f, 0.05f}, {-0.05f, -0.16f, -0.22f, 0.05f}, {0.33f, 0.0f, -0.27f, 0.04f}},
                  .legs = {{{-0.04f, 0.04f, -0.055f}, {-0.05f, 0.146f, -0.22f}},
                           {{-0.04f, -0.04f, -0.055f}, {-0.05f, -0.146f, -0.22f}},
                           {{0.33f, 0.0f, -0.05f}, {0.33f, 0.011f, -0.27f}}},
                  .body = {0.95f, 0.85f, 0.2f}, .trim = {0.1f, 0.2f, 0.7f}},
                 0.7f, 0.14f, 0.05f, 0.0f, 0.1f, 0.25f, 0.47f, 0.3f, 0.36f,
                 Propeller(0.02f, 0.14f, "Motor"),
                 {{kMotorMass, {kTrainerMotorX, 0.0f, 0.0f}}, {0.02f, {kTrainerPropellerX, 0.0f, 0.0f}}},
                 kCells * kCellMass,
                 [=](float x) {
                   return Block("kxdengine10", "Motor",
                                "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\nSound0File = \"motor\"\n"
                                "TorqueFactor = 0\nCellNum = " + std::to_string(kCells) + "\nCellMass = " +
                                    Number(kCellMass) + "\nMotorNs = 650\nMotorMass = " + Number(kMotorMass) + "\n" +
                                    Vector("MotorR", kTrainerMotorX, 0, 0, 1) + Vector("CellR", x, 0, 0, 1));
                 },
                 TowHook(-0.2f, 0.0f, 0.06f)};

  // Sport jet, a tricycle: low wing, a turbine amidships blowing through a
  // tail pipe; balanced at about a quarter of the mean chord and trimmed
  // for about 70 km/h with 3 degrees of decalage; a thrust of half its
  // weight loops it from level flight. A wide track and small
  // rudder and aileron throws keep it on its wheels on the take-off run.
  constexpr float kTurbineX = 0.0f;
  sample jet{"jet", "sport jet, 1.2 m span, turbine",
             {.fuselage = {{0.75f, 0.0f}, {0.65f, 0.05f}, {0.45f, 0.08f}, {0.0f, 0.09f},
                           {-0.45f, 0.07f}, {-0.70f, 0.05f}, {-0.72f, 0.0f}},
              .wings = {{.halfSpan = 0.6f, .rootChord = 0.38f, .tipChord = 0.2f, .leadingX = 0.09f, .z = -0.04f,
                         .dihedralDeg = 3.0f, .incidenceDeg = 0.0f, .naca = 2412}},
              .tailX = -0.56f, .tailHalfSpan = 0.26f, .tailChord = 0.16f, .tailIncidenceDeg = -3.0f,
              .finSpan = 0.22f, .finChord = 0.2f,
              .wheels = {{-0.08f, 0.24f, -0.2f, 0.035f}, {-0.08f, -0.24f, -0.2f, 0.035f}, {0.5f, 0.0f, -0.235f, 0.03f}},
              .legs = {{{-0.06f, 0.24f, -0.06f}, {-0.08f, 0.231f, -0.2f}},
                       {{-0.06f, -0.24f, -0.06f}, {-0.08f, -0.231f, -0.2f}},
                       {{0.5f, 0.0f, -0.05f}, {0.5f, 0.008f, -0.235f}}},
              .body = {0.75f, 0.78f, 0.8f}, .trim = {0.9f, 0.5f, 0.0f}},
             1.2f, 0.2f, 0.07f, 0.02f, 0.1f, 0.18f, 0.3f, 0.15f, 0.0f,
             Block("kxdturbine00", "Turbine",
                   CylinderMass(0.9f, 0.05f, 0.25f) + Vector("R", kTurbineX, 0, 0, 1) +
                       "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\n"
                       "ThrustMax = 15\nExhaustR = kxvector4r( -0.72, 0, 0, 1 )\nSoundFile = \"turbine\"\n"),
             {{0.9f, {kTurbineX, 0.0f, 0.0f}}},
             0.2f, [](float x) { return Battery(0.2f, x); }};
  return {eagle, trainer, jet};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_aircraft <data/aircraft>\n");
    return 2;
  }
  std::string root = argv[1];
  for (const sample& s : Samples()) {
    kxgeometry* list = meshgen::SampleAirplane(s.plane);
    if (!list) {
      std::fprintf(stderr, "make_sample_aircraft: no mesh for %s\n", s.name);
      return 1;
    }
    balance b;
    if (!Balance(s, list, &b)) {
      kxgeometry::Free(&list);
      return 1;
    }
    std::string base = root + "/" + s.name + "/" + s.name;
    std::string script = GeometryScript(list), components = ComponentFile(s, b);
    int ok = kxgeometry::WriteText((base + ".obj").c_str(), list) &&
             kxgl::WriteFileBytes((base + ".kxg").c_str(), script.data(), script.size()) &&
             kxgl::WriteFileBytes((base + ".kxd").c_str(), components.data(), components.size());
    kxgeometry::Free(&list);
    if (!ok) {
      std::fprintf(stderr, "make_sample_aircraft: cannot write %s (does the folder exist?)\n", base.c_str());
      return 1;
    }
  }
  return 0;
}
