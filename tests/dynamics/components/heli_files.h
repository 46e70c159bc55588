// A model helicopter written as aircraft files, for the rotor tests and the
// benchmark: a fuselage box resting on its corners, receiver and five
// servos, an engine, a main rotor of generated blades with a flybar, and a
// tail rotor.
#pragma once

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "graphics/geometric_object.h"
#include "tools/meshgen/meshgen.h"

namespace kxrtest {

inline std::string Header(int type) {
  return "// Skyvane aircraft\n//\n//\n//\n// version: 1.8.0\n//\n// type:    " + std::to_string(type) + "\n";
}

// The control functions its receiver reads, as every control
// configuration numbers them.
constexpr int kCollective = 16;
constexpr int kNick = 17;  // cyclic pitch
constexpr int kRoll = 18;
constexpr int kRudder = 19;  // tail rotor
constexpr int kThrottle = 20;

constexpr float kHubHeight = 0.35f;   // m, hinges above the fuselage origin
constexpr float kHinge = 0.08f;       // m, hinge distance from the hub
constexpr float kTip = 0.7f;          // m, blade tip from the hub
constexpr float kChord = 0.05f;       // m

struct heli {
  const char* rotorType = "kxdrotor00";
  int blades = 2;
  int gyroLock = 1;
  int type = 2;           // rotorcraft: the engine starts throttled back
  bool tail = true;
  bool engine = true;
  bool skids = true;
};

constexpr float kSkidDrop = 0.06f;    // m, skid bottoms below the fuselage box
constexpr float kSkidY = 0.15f;       // m, either side

inline std::string Servo(const char* name, int channel) {
  return std::string("Append kxdservo00 ") + name + "\ncd " + name + "/\nSignalIn = ~Aircraft/Receiver/Out(" +
         std::to_string(channel) + ")\ncd ../\n";
}

inline std::string Components(const heli& h) {
  std::string s = Header(h.type);
  s += "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 2.5\n"
       "Kn = 3000\nDn = 80\nDv = 30\ncd ../\n";
  for (int i = 1; h.skids && i <= 2; ++i) {
    char text[320];
    float y = i == 1 ? kSkidY : -kSkidY;
    std::snprintf(text, sizeof text,
                  "Append kxdskid00 Skid%d\ncd Skid%d/\nGeometry( \"~Geometry/Skid%d/\" )\nMass = 0.1\n"
                  "CP1 = kxvector4r( 0.25, %g, %g, 1 )\nCP2 = kxvector4r( -0.25, %g, %g, 1 )\nKsx = 0.5\nDsn = 40\n"
                  "cd ../\n",
                  i, i, i, y, -kSkidDrop, y, -kSkidDrop);
    s += text;
  }
  s += "Append kxdreceiver00 Receiver\ncd Receiver/\ncd ../\n";
  s += Servo("Collective", kCollective) + Servo("Roll", kRoll) + Servo("Nick", kNick) + Servo("Rudder", kRudder) +
       Servo("Throttle", kThrottle);
  if (h.engine) {
    s += "Append kxdengine00 Engine\ncd Engine/\nThrottleControl = ~Aircraft/Throttle/MechLink\nMass = 0.3\n"
         "PowerMax = 900\nRotationSpeedMax = 2500\nRotationSpeedIdle = 100\nTorqueFactor = 0\n"
         "R = kxvector4r( 0, 0, 0.15, 1 )\ncd ../\n";
  }
  s += std::string("Append ") + h.rotorType + " Rotor\ncd Rotor/\nGeometry( \"~Geometry/Rotor/\" )\nMass = 0.05\n";
  if (h.engine) s += "Engine = ~Aircraft/Engine\n";
  s += "PitchPushrod = ~Aircraft/Collective/MechLink\nRollPushrod = ~Aircraft/Roll/MechLink\n"
       "NickPushrod = ~Aircraft/Nick/MechLink\nBladeMass = 0.08\nGearRatio = 10\nRotationSpeedGear = 500\n"
       "PitchMin = -0.05\nPitchMax = 0.2\nPitchCyclic = 0.1\nUH0 = 1\nUH1 = 1\nUH2 = 0.012\nUH3 = 1\n"
       "BellHillerGeometry = ~Geometry/Rotor/Flybar\n";
  for (int i = 0; i < h.blades; ++i) {
    float a = 2.0f * 3.1415927f * static_cast<float>(i) / static_cast<float>(h.blades);
    // Rounded, so a written file shows no "-0.0000".
    float x = std::round(kHinge * std::cos(a) * 1e5f) / 1e5f + 0.0f;
    float y = std::round(kHinge * std::sin(a) * 1e5f) / 1e5f + 0.0f;
    char line[128];
    std::snprintf(line, sizeof line, "BladeHinge(%d) = kxvector4r( %.5f, %.5f, %.5f, 1 )\n", i, x, y, kHubHeight);
    s += line;
  }
  s += "cd ../\n";
  if (h.tail) {
    s += "Append kxdtailrotor00 Tail\ncd Tail/\nGeometry( \"~Geometry/Tail/\" )\nMass = 0.05\nRadius = 0.12\n"
         "GearRatio = 2.2\nPitchMin = -0.1\nPitchMax = 0.1\nGyroGain = 1\nGyroRange = 0.25\nGyroSpeed = 3\n"
         "PitchPushrod = ~Aircraft/Rudder/MechLink\n";
    s += std::string(h.rotorType) == "kxdrotor01" ? "Rotor1 = ~Aircraft/Rotor\n" : "Rotor = ~Aircraft/Rotor\n";
    s += "GyroLock = " + std::to_string(h.gyroLock) + "\ncd ../\n";
  }
  return s;
}

inline void AddObject(kxgeometricobject* parent, const char* name, const std::string& group, const meshgen::mesh* m) {
  kxgeometricobject* o = new kxgeometricobject;
  o->name = name;
  if (m) o->SetMesh(meshgen::ToElement(*m, "paint", group.c_str(), GL_N3F_V3F));
  parent->AppendChild(o);
}

// The geometry script and the mesh file of a helicopter with n blades.
inline std::string GeometryScript(int blades) {
  std::string s = "Append kxgeometricobject Body\nAppend kxgeometricobject Rotor\ncd Rotor/\n";
  for (int i = 0; i < blades; ++i) s += "Append kxgeometricobject Blade" + std::to_string(i + 1) + "\n";
  s += "Append kxgeometricobject Flybar\ncd ../\nAppend kxgeometricobject Tail\n";
  s += "Append kxgeometricobject Skid1\nAppend kxgeometricobject Skid2\n";
  return s;
}

inline kxgeometricobject* GeometryTree(int blades, const char* rotorName = "Rotor") {
  kxgeometricobject* root = new kxgeometricobject;
  meshgen::mesh body = meshgen::Box(0.6f, 0.3f, 0.2f);
  meshgen::Translate(body, 0.0f, 0.0f, 0.1f);
  AddObject(root, "Body", "Body", &body);
  kxgeometricobject* rotor = new kxgeometricobject;
  rotor->name = rotorName;
  root->AppendChild(rotor);
  for (int i = 0; i < blades; ++i) {
    meshgen::mesh m = meshgen::Blade(kHinge, kTip, kChord, kChord, 0.0f, 0.0f, 8);
    // Along +x for blade 1, then evenly round the hub.
    meshgen::RotateZ(m, -90.0f + 360.0f * static_cast<float>(i) / static_cast<float>(blades));
    meshgen::Translate(m, 0.0f, 0.0f, kHubHeight);
    std::string name = "Blade" + std::to_string(i + 1);
    AddObject(rotor, name.c_str(), std::string(rotorName) + "/" + name, &m);
  }
  meshgen::mesh bar = meshgen::Box(0.01f, 0.6f, 0.01f);
  meshgen::Translate(bar, 0.0f, 0.0f, kHubHeight - 0.02f);
  AddObject(rotor, "Flybar", std::string(rotorName) + "/Flybar", &bar);
  meshgen::mesh tail = meshgen::Box(0.2f, 0.01f, 0.2f);
  meshgen::Translate(tail, -0.9f, 0.1f, 0.25f);
  AddObject(root, "Tail", "Tail", &tail);
  for (int i = 1; i <= 2; ++i) {
    meshgen::mesh skid = meshgen::Box(0.5f, 0.02f, 0.02f);
    meshgen::Translate(skid, 0.0f, i == 1 ? kSkidY : -kSkidY, 0.01f - kSkidDrop);
    std::string name = "Skid" + std::to_string(i);
    AddObject(root, name.c_str(), name, &skid);
  }
  return root;
}

// Writes the three files of the helicopter into aircraft/<name>/ (the
// folder must exist); 1 on success.
inline int WriteHeli(const char* name, const heli& h) {
  std::string dir = std::string("aircraft/") + name + "/" + name;
  FILE* f = std::fopen((dir + ".kxd").c_str(), "wb");
  if (!f) return 0;
  std::string text = Components(h);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  f = std::fopen((dir + ".kxg").c_str(), "wb");
  if (!f) return 0;
  text = GeometryScript(h.blades);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  kxgeometricobject* root = GeometryTree(h.blades);
  int written = kxgeometricobject::WriteMesh(root, (dir + ".tgo").c_str(), 1);
  delete root;
  return written;
}

}  // namespace kxrtest
