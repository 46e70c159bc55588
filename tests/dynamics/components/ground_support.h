// Shared set-up of the landing-gear tests: generated ground meshes with a
// surface kind built into a collision world, generated wheel, leg and skid
// meshes, and small aircraft written to files and loaded.
#pragma once

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "components_support.h"
#include "core/output.h"
#include "dynamics/scenery_world.h"
#include "graphics/collision_world.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "tools/meshgen/meshgen.h"

namespace kxgtest {

// A cylinder of radius r and width w turning about the y axis, centred at c.
inline meshgen::mesh WheelMesh(float r, float w, float cx, float cy, float cz) {
  meshgen::mesh m = meshgen::Cylinder(r, w, 24);
  meshgen::RotateY(m, 90.0f);  // axis along x
  meshgen::RotateZ(m, 90.0f);  // axis along y
  meshgen::Translate(m, cx, cy, cz);
  return m;
}

// A tube of radius r and length l along x, centred at c.
inline meshgen::mesh TubeMesh(float r, float l, float cx, float cy, float cz) {
  meshgen::mesh m = meshgen::Cylinder(r, l, 16);
  meshgen::RotateY(m, 90.0f);
  meshgen::Translate(m, cx, cy, cz);
  return m;
}

// A geometric object named name under parent holding the mesh.
inline kxgeometricobject* AddObject(kxgeometricobject* parent, const char* name, const meshgen::mesh& m) {
  kxgeometricobject* o = new kxgeometricobject;
  o->name = name;
  parent->AppendChild(o);
  if (!m.vertices.empty()) o->SetMesh(meshgen::ToElement(m, "paint", name, GL_N3F_V3F));
  return o;
}

class groundtest : public kxctest::componenttest {
 protected:
  void TearDown() override {
    for (kxgeometricobject* o : objects) delete o;
    objects.clear();
    if (world) {
      kxcolldynamic::Free(world.get());
      kxcollision::FreeOctree(world.get());
    }
    kxgeometry::Free(&ground);
    kxcollision::SetCurrent(nullptr);
    componenttest::TearDown();
  }

  // A 400 m square of ground of one surface kind (the element name picks
  // it), flat or rolling with the amplitude (m); the simulation's world.
  void BuildGround(const char* surfaceName, float amplitude = 0.0f) {
    ground = meshgen::ToElement(meshgen::Ground(400.0f, amplitude > 0.0f ? 64 : 8, amplitude), surfaceName, "",
                                GL_N3F_V3F);
    entry.mesh = ground;
    world.reset(new kxcollision{});
    const float minCell[3] = {50.0f, 50.0f, 50.0f};
    const float sun[3] = {0.0f, 0.0f, 1.0f};
    ASSERT_EQ(kxcollision::Build(world.get(), &entry, nullptr, minCell, 200, sun), 1);
    adapter.Set(world.get());
    kxdynamics::SetCurrentWorld(&adapter);
  }

  // A free-standing object with a mesh (deleted by TearDown).
  kxgeometricobject* Object(const char* name, const meshgen::mesh& m) {
    kxgeometricobject* o = new kxgeometricobject;
    o->name = name;
    o->SetMesh(meshgen::ToElement(m, "paint", "", GL_N3F_V3F));
    objects.push_back(o);
    return o;
  }

  // Writes aircraft/<name>/ with the component text and a geometry of one
  // object per (name, mesh) pair, then loads it for player 0.
  void LoadAircraft(const char* name, const std::string& components,
                    const std::vector<std::pair<std::string, meshgen::mesh>>& parts) {
    PutAircraft(name, (kxctest::Header() + components).c_str());
    std::string script;
    kxgeometricobject root;
    for (const auto& p : parts) {
      // "Parent/Child" puts the object below an earlier one.
      size_t slash = p.first.find('/');
      if (slash == std::string::npos) {
        script += "Append kxgeometricobject " + p.first + "\n";
        AddObject(&root, p.first.c_str(), p.second);
        continue;
      }
      std::string parent = p.first.substr(0, slash), child = p.first.substr(slash + 1);
      script += "cd " + parent + "/\nAppend kxgeometricobject " + child + "\ncd ../\n";
      kxgeometricobject* o = new kxgeometricobject;
      o->name = child.c_str();
      static_cast<kxgeometricobject*>(root.FindChild(parent.c_str()))->AppendChild(o);
      o->SetMesh(meshgen::ToElement(p.second, "paint", p.first.c_str(), GL_N3F_V3F));
    }
    std::string dir = std::string("aircraft/") + name + "/" + name;
    Put(dir + ".kxg", script);
    ASSERT_EQ(kxgeometricobject::WriteMesh(&root, (dir + ".tgo").c_str(), 1), 1);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << kxtest::logcapture::Text();
  }

  // Starts the simulation with the main body at height z (m) moving at v.
  kxdaircraftinstance* Place(float z, const kxvector4r& v) {
    kxdynamics::Start(kxdynamics::CurrentWorld());
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R.z = z;
    kxdaircraftinstance::PlaceAt(instance, pose, v);
    return instance;
  }

  // The main body's velocity (m/s) of the aircraft loaded for player 0.
  static kxvector4r Velocity() { return kxdaircraftinstance::Loaded(0)->SimMainBody->D.R; }
  // The aircraft rests on the ground: slower than limit (m/s, the sum of the
  // velocity's components), touching it, on wheels or not, and whole.
  static void ExpectResting(const kxdaircraftinstance* instance, float limit, int onWheels) {
    kxvector4r v = Velocity();
    EXPECT_LT(std::fabs(v.x) + std::fabs(v.y) + std::fabs(v.z), limit);
    EXPECT_EQ(instance->GroundContact, 1);
    EXPECT_EQ(instance->WheelContact, onWheels);
    EXPECT_EQ(instance->Crash, 0);
  }

  // Runs whole frames of 36 ms, as many as fit best into the seconds.
  static void Run(float seconds) {
    long frames = std::lround(seconds / 0.036f);
    for (long i = 0; i < frames; ++i) kxdynamics::Step(0.036f, kxdynamics::CurrentWorld());
  }

  std::unique_ptr<kxcollision> world;
  kxgeometry* ground = nullptr;
  kxgeometryobject entry{};
  kxdsceneryworld adapter;
  std::vector<kxgeometricobject*> objects;
};

}  // namespace kxgtest
