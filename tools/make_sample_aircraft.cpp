// make_sample_aircraft: writes the powered sample aircraft into a data
// folder: per aircraft its mesh (<name>.obj), geometry script (<name>.kxg)
// and component file (<name>.kxd).
//   make_sample_aircraft <data/aircraft>
//
// Radio channels of every sample: 0 aileron (positive rolls right),
// 1 elevator (positive raises the nose), 2 throttle (1 is full), 3 rudder,
// 5 wheel brakes (+1 full, -1 released).
// The wings' control links read radians with the trailing edge down
// positive, so the servos' P1 carry the travel and its sign.
#include <GL/gl.h>

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
constexpr int kBrakeChannel = 5;
// Braked, the wheels' rolling friction (Kxr + 0.4) holds more than the
// idling engine's thrust, so a sample stands still with the throttle closed.
constexpr float kWheelKxr = 0.05f;        // rolling friction per newton of load
constexpr float kWheelDr = 20.0f;         // N s/m, tyre damping
constexpr float kTailWheelRadius = 0.03f; // m; smaller wheels are drawn without turning

struct sample {
  const char* name;
  const char* description;
  meshgen::sampleairplane plane;
  float fuselageMass;    // kg
  float wingMass;        // kg per half
  float tailMass;        // kg
  const char* powerplant;  // component lines after the controls
};

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string Block(const char* type, const std::string& name, const std::string& lines) {
  return std::string("Append ") + type + " " + name + "\ncd " + name + "/\n" + lines + "cd ../\n";
}

std::string Servo(const std::string& name, int channel, float travel) {
  return Block("kxdservo00", name,
               "SignalIn = ~Aircraft/Receiver/Out(" + std::to_string(channel) + ")\nP1 = " + Number(travel) + "\n");
}

std::string ComponentFile(const sample& s) {
  const meshgen::sampleairplane& p = s.plane;
  std::string text = std::string("// Skyvane aircraft\n// name: ") + s.name + "\n// " + s.description +
                     "\n//\n// version: 1.8.0\n//\n// type:    0\n";
  text += Block("kxdfuselage00", "Fuselage",
                "Geometry( \"~Geometry/Fuselage/\" )\nMass = " + Number(s.fuselageMass) +
                    "\nCG = kxvector4r( 0.0, 0, 0, 1 )\nCdx = 0.1\nCdy = 0.6\nCdz = 0.6\n");
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
                  "Geometry( \"~Geometry/" + wheel + "/\" )\nMass = " + Number(kWheelMass) +
                      "\nSignalIn = ~Aircraft/Receiver/Out(" + std::to_string(kBrakeChannel) + ")\nKxr = " +
                      Number(kWheelKxr) + "\nDr = " + Number(kWheelDr) + "\n" +
                      (p.wheels[i].radius < kTailWheelRadius ? "" : "RotationEnable = 1\n"));
  }
  text += Block("kxdreceiver00", "Receiver", "");
  text += Servo("LeftAileronServo", 0, kAileronTravel);
  text += Servo("RightAileronServo", 0, -kAileronTravel);
  text += Servo("ElevatorServo", 1, -kElevatorTravel);
  text += Servo("ThrottleServo", 2, 1.0f);
  text += Servo("RudderServo", 3, kRudderTravel);
  text += s.powerplant;
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
  // symmetric sections for inverted flight.
  meshgen::samplewing upper{.name = "Upper", .halfSpan = 0.6f, .rootChord = 0.21f, .tipChord = 0.21f, .leadingX = 0.12f,
                            .z = 0.16f, .dihedralDeg = 2.5f, .incidenceDeg = 3.0f, .naca = 12};
  meshgen::samplewing lower = upper;
  lower.name = "Lower";
  lower.leadingX = 0.0f;
  lower.z = -0.06f;
  lower.ailerons = false;
  sample eagle{"christeneagle", "aerobatic biplane, 1.2 m span, glow engine",
               {.fuselage = {{0.42f, 0.0f}, {0.40f, 0.07f}, {0.30f, 0.08f}, {0.05f, 0.07f},
                             {-0.35f, 0.04f}, {-0.62f, 0.015f}, {-0.65f, 0.0f}},
                .wings = {upper, lower},
                .tailX = -0.52f, .tailHalfSpan = 0.22f, .tailChord = 0.13f, .tailIncidenceDeg = -1.0f,
                .finSpan = 0.17f, .finChord = 0.15f,
                .propellerX = 0.45f, .propellerRadius = 0.16f, .propellerPitch = 0.15f,
                .wheels = {{0.12f, 0.14f, -0.28f, 0.045f}, {0.12f, -0.14f, -0.28f, 0.045f}, {-0.6f, 0.0f, -0.05f, 0.02f}},
                .body = {0.95f, 0.95f, 0.95f}, .trim = {0.85f, 0.1f, 0.1f}},
               1.1f, 0.12f, 0.06f,
               "Append kxdengine00 Engine\ncd Engine/\nMass = 0.45\nR = kxvector4r( 0.32, 0, 0, 1 )\n"
               "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\nRotationSpeedIdle     = 150\n"
               "RotationSpeedMax      = 1800\nPowerMax = 900\nTorqueFactor = 0\n"
               "ExhaustR = kxvector4r( 0.3, 0, -0.08, 1 )\nSound0File = \"engine0\"\nSound1File = \"engine1\"\n"
               "Sound2File = \"engine2\"\ncd ../\n"
               "Append kxdpropeller00 Propeller\ncd Propeller/\nGeometry( \"~Geometry/Propeller/\" )\nMass = 0.04\n"
               "Engine = ~Aircraft/Engine\ncd ../\n"};

  // Electric high-wing trainer.
  sample trainer{"trainer", "electric high-wing trainer, 1.6 m span",
                 {.fuselage = {{0.40f, 0.0f}, {0.38f, 0.05f}, {0.28f, 0.07f}, {0.0f, 0.07f},
                               {-0.40f, 0.035f}, {-0.78f, 0.015f}, {-0.81f, 0.0f}},
                  .wings = {{.halfSpan = 0.8f, .rootChord = 0.25f, .tipChord = 0.22f, .leadingX = 0.07f, .z = 0.07f,
                             .dihedralDeg = 5.0f, .incidenceDeg = 2.0f, .naca = 2412}},
                  .tailX = -0.66f, .tailHalfSpan = 0.28f, .tailChord = 0.14f, .tailIncidenceDeg = -1.5f,
                  .finSpan = 0.2f, .finChord = 0.16f,
                  .propellerX = 0.43f, .propellerRadius = 0.14f, .propellerPitch = 0.14f,
                  .wheels = {{-0.05f, 0.16f, -0.22f, 0.05f}, {-0.05f, -0.16f, -0.22f, 0.05f}, {0.33f, 0.0f, -0.22f, 0.04f}},
                  .body = {0.95f, 0.85f, 0.2f}, .trim = {0.1f, 0.2f, 0.7f}},
                 0.7f, 0.14f, 0.05f,
                 "Append kxdengine10 Motor\ncd Motor/\nThrottleControl = ~Aircraft/ThrottleServo/MechLink\n"
                 "Sound0File = \"motor\"\nTorqueFactor = 0\nCellNum = 12\nMotorNs = 1200\nMotorR = kxvector4r( 0.34, 0, 0, 1 )\n"
                 "CellR = kxvector4r( 0.18, 0, 0, 1 )\ncd ../\n"
                 "Append kxdpropeller00 Propeller\ncd Propeller/\nGeometry( \"~Geometry/Propeller/\" )\nMass = 0.02\n"
                 "Engine = ~Aircraft/Motor\ncd ../\n"};

  // Sport jet: low swept-back wing, turbine in the tail.
  sample jet{"jet", "sport jet, 1.2 m span, turbine",
             {.fuselage = {{0.75f, 0.0f}, {0.65f, 0.05f}, {0.45f, 0.08f}, {0.0f, 0.09f},
                           {-0.45f, 0.07f}, {-0.70f, 0.05f}, {-0.72f, 0.0f}},
              .wings = {{.halfSpan = 0.6f, .rootChord = 0.38f, .tipChord = 0.2f, .leadingX = 0.09f, .z = -0.04f,
                         .dihedralDeg = 3.0f, .incidenceDeg = 1.0f, .naca = 2412}},
              .tailX = -0.56f, .tailHalfSpan = 0.26f, .tailChord = 0.16f, .tailIncidenceDeg = -1.0f,
              .finSpan = 0.22f, .finChord = 0.2f,
              .wheels = {{-0.08f, 0.18f, -0.2f, 0.035f}, {-0.08f, -0.18f, -0.2f, 0.035f}, {0.5f, 0.0f, -0.2f, 0.03f}},
              .body = {0.75f, 0.78f, 0.8f}, .trim = {0.9f, 0.5f, 0.0f}},
             1.8f, 0.2f, 0.07f,
             "Append kxdturbine00 Turbine\ncd Turbine/\nMass = 0.9\nR = kxvector4r( -0.3, 0, 0, 1 )\n"
             "ThrottleControl = ~Aircraft/ThrottleServo/MechLink\nThrustMax = 20\n"
             "ExhaustR = kxvector4r( -0.72, 0, 0, 1 )\nSoundFile = \"turbine\"\ncd ../\n"};
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
