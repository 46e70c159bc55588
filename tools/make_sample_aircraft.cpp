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
#include <set>
#include <string>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace {

constexpr float kAileronTravel = 0.25f;   // rad
constexpr float kElevatorTravel = 0.3f;   // rad
constexpr float kRudderTravel = 0.3f;     // rad
constexpr float kWheelMass = 0.05f;       // kg
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
constexpr float kWheelDr = 20.0f;         // N s/m, tyre damping
constexpr float kTailWheelRadius = 0.03f; // m; smaller wheels are drawn without turning

constexpr float kDegree = 0.017453293f;   // rad

struct sample {
  const char* name;
  const char* description;
  meshgen::sampleairplane plane;
  float fuselageMass;    // kg
  float wingMass;        // kg per half
  float tailMass;        // kg
  float cgX;             // m, where the summary balances the aircraft
  std::string powerplant;  // component lines after the controls
  std::string extras = {};  // component lines after the powerplant
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
  float x[3] = {std::cos(down) * std::cos(right), -std::cos(down) * std::sin(right), -std::sin(down)};
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

std::string Servo(const std::string& name, int function, float travel) {
  return Block("kxdservo00", name,
               "SignalIn = ~Aircraft/Receiver/Out(" + std::to_string(function) + ")\nP1 = " + Number(travel) + "\n");
}

std::string ComponentFile(const sample& s) {
  const meshgen::sampleairplane& p = s.plane;
  std::string text = std::string("// Skyvane aircraft\n// name: ") + s.name + "\n// " + s.description +
                     "\n//\n// version: 1.8.0\n//\n// type:    0\n";
  text += Block("kxdfuselage00", "Fuselage",
                "Geometry( \"~Geometry/Fuselage/\" )\nMass = " + Number(s.fuselageMass) +
                    "\n" + Vector("CG", s.cgX, 0.0f, 0.0f, 1.0f) + "Cdx = 0.1\nCdy = 0.6\nCdz = 0.6\n");
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
                "Geometry( \"~Geometry/Fin/\" )\nMass = " + Number(s.tailMass * 0.6f) + "\nRootR = kxvector4f( " +
                    Number(p.tailX - 0.04f) + ", 0.0000, " + Number(p.tailZ + 0.02f) +
                    ", 1.0000 )\nFlap = ~Geometry/Fin/Rudder\n"
                    "FlapLink = ~Aircraft/RudderServo/MechLink\nSectionAirfoil(0) = \"Sym 12\"\n");
  text += Block("kxdjoint00", "FinJoint", "Body1 = ../Fin/\n");
  for (size_t i = 0; i < p.wheels.size(); ++i) {
    std::string wheel = "Wheel" + std::to_string(i + 1);
    text += Block("kxdwheel00", wheel,
                  "Geometry( \"~Geometry/" + wheel + "/\" )\n" + WheelMass(p.wheels[i].radius) +
                      "SignalIn = ~Aircraft/Receiver/Out(" + std::to_string(kBrakeFunction) + ")\nKxr = " +
                      Number(kWheelKxr) + "\nDr = " + Number(kWheelDr) + "\n" +
                      (p.wheels[i].radius < kTailWheelRadius ? "" : "RotationEnable = 1\n"));
  }
  text += Block("kxdreceiver00", "Receiver", "");
  text += Servo("LeftAileronServo", kLeftAileronFunction, kAileronTravel);
  text += Servo("RightAileronServo", kRightAileronFunction, -kAileronTravel);
  text += Servo("ElevatorServo", kElevatorFunction, -kElevatorTravel);
  text += Servo("ThrottleServo", kEngineFunction, 1.0f);
  text += Servo("RudderServo", kRudderFunction, kRudderTravel);
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

std::vector<sample> Samples() {
  // Aerobatic biplane: staggered wings, the lower one without ailerons,
  // symmetric sections for inverted flight. Trimmed with 1 degree of
  // decalage and the balance at a fifth of the mean chord; its strong
  // engine is set 3 degrees down and 1 to the right, which holds it level
  // and straight at half throttle.
  meshgen::samplewing upper{.name = "Upper", .halfSpan = 0.6f, .rootChord = 0.21f, .tipChord = 0.21f, .leadingX = 0.12f,
                            .z = 0.16f, .dihedralDeg = 2.5f, .incidenceDeg = 1.0f, .naca = 12};
  meshgen::samplewing lower = upper;
  lower.name = "Lower";
  lower.leadingX = 0.0f;
  lower.z = -0.06f;
  lower.ailerons = false;
  sample eagle{"christeneagle", "aerobatic biplane, 1.2 m span, glow engine",
               {.fuselage = {{0.42f, 0.0f}, {0.40f, 0.07f}, {0.30f, 0.08f}, {0.05f, 0.07f},
                             {-0.35f, 0.04f}, {-0.62f, 0.015f}, {-0.65f, 0.0f}},
                .wings = {upper, lower},
                .tailX = -0.52f, .tailHalfSpan = 0.22f, .tailChord = 0.13f, .tailIncidenceDeg = 0.0f,
                .finSpan = 0.17f, .finChord = 0.15f,
                .propellerX = 0.45f, .propellerRadius = 0.16f, .propellerPitch = 0.15f,
                .wheels = {{0.12f, 0.14f, -0.28f, 0.045f}, {0.12f, -0.14f, -0.28f, 0.045f}, {-0.6f, 0.0f, -0.05f, 0.02f}},
                .body = {0.95f, 0.95f, 0.95f}, .trim = {0.85f, 0.1f, 0.1f}},
               1.1f, 0.12f, 0.06f, 0.02f,
               Block("kxdengine00", "Engine",
                     ThrustAxes(3.0f, 1.0f) + CylinderMass(0.45f, 0.03f, 0.08f) + "R = kxvector4r( 0.32, 0, 0, 1 )\n"
                         "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\nRotationSpeedIdle     = 150\n"
                         "RotationSpeedMax      = 1800\nPowerMax = 900\nTorqueFactor = 0\n"
                         "ExhaustR = kxvector4r( 0.3, 0, -0.08, 1 )\nSound0File = \"engine0\"\n"
                         "Sound1File = \"engine1\"\nSound2File = \"engine2\"\n") +
                   Propeller(0.04f, 0.16f, "Engine")};

  // Electric high-wing trainer, balanced at a fifth of its chord for calm
  // handling; with 2 degrees of decalage it climbs gently at half throttle.
  // It tows the glider from a hook at the end of its tail.
  sample trainer{"trainer", "electric high-wing trainer, 1.6 m span",
                 {.fuselage = {{0.40f, 0.0f}, {0.38f, 0.05f}, {0.28f, 0.07f}, {0.0f, 0.07f},
                               {-0.40f, 0.035f}, {-0.78f, 0.015f}, {-0.81f, 0.0f}},
                  .wings = {{.halfSpan = 0.8f, .rootChord = 0.25f, .tipChord = 0.22f, .leadingX = 0.07f, .z = 0.07f,
                             .dihedralDeg = 5.0f, .incidenceDeg = 1.0f, .naca = 2412}},
                  .tailX = -0.66f, .tailHalfSpan = 0.28f, .tailChord = 0.14f, .tailIncidenceDeg = -1.0f,
                  .finSpan = 0.2f, .finChord = 0.16f,
                  .propellerX = 0.43f, .propellerRadius = 0.14f, .propellerPitch = 0.14f,
                  .wheels = {{-0.05f, 0.16f, -0.22f, 0.05f}, {-0.05f, -0.16f, -0.22f, 0.05f}, {0.33f, 0.0f, -0.22f, 0.04f}},
                  .body = {0.95f, 0.85f, 0.2f}, .trim = {0.1f, 0.2f, 0.7f}},
                 0.7f, 0.14f, 0.05f, 0.02f,
                 Block("kxdengine10", "Motor",
                       "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\nSound0File = \"motor\"\nTorqueFactor = 0\n"
                       "CellNum = 12\nMotorNs = 1200\nMotorR = kxvector4r( 0.34, 0, 0, 1 )\n"
                       "CellR = kxvector4r( 0.18, 0, 0, 1 )\n") +
                     Propeller(0.02f, 0.14f, "Motor"),
                 TowHook(-0.79f, 0.0f, 0.0f)};

  // Sport jet: low swept-back wing, turbine in the tail; balanced at a fifth
  // of the root chord.
  sample jet{"jet", "sport jet, 1.2 m span, turbine",
             {.fuselage = {{0.75f, 0.0f}, {0.65f, 0.05f}, {0.45f, 0.08f}, {0.0f, 0.09f},
                           {-0.45f, 0.07f}, {-0.70f, 0.05f}, {-0.72f, 0.0f}},
              .wings = {{.halfSpan = 0.6f, .rootChord = 0.38f, .tipChord = 0.2f, .leadingX = 0.09f, .z = -0.04f,
                         .dihedralDeg = 3.0f, .incidenceDeg = 1.0f, .naca = 2412}},
              .tailX = -0.56f, .tailHalfSpan = 0.26f, .tailChord = 0.16f, .tailIncidenceDeg = -1.0f,
              .finSpan = 0.22f, .finChord = 0.2f,
              .wheels = {{-0.08f, 0.18f, -0.2f, 0.035f}, {-0.08f, -0.18f, -0.2f, 0.035f}, {0.5f, 0.0f, -0.2f, 0.03f}},
              .body = {0.75f, 0.78f, 0.8f}, .trim = {0.9f, 0.5f, 0.0f}},
             1.8f, 0.2f, 0.07f, 0.02f,
             Block("kxdturbine00", "Turbine",
                   CylinderMass(0.9f, 0.05f, 0.25f) +
                       "R = kxvector4r( -0.3, 0, 0, 1 )\nThrottleControl = ~Aircraft/ThrottleServo/MechLink\n"
                       "ThrustMax = 20\nExhaustR = kxvector4r( -0.72, 0, 0, 1 )\nSoundFile = \"turbine\"\n")};
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
    std::string base = root + "/" + s.name + "/" + s.name;
    std::string script = GeometryScript(list), components = ComponentFile(s);
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
