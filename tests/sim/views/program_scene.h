// A scene from the program's own data, as the simulation's entry leaves it:
// a scenery with player 1's aircraft ("christeneagle") placed at the first
// start and every display list built. Shared by the drawing tests and the
// scene benchmark; no test framework here.
#pragma once

#include <filesystem>
#include <string>

#include "core/vector.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/scenery_world.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "sim/player.h"
#include "sim/scenery.h"
#include "sim/session.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/views/sky.h"
#include "sim/world/world.h"

namespace viewstest {

// Looking from eye at target, z up (straight up or down: y left).
struct camera {
  kxvector4r eye, X, Y, Z;
  camera(const float from[3], const float to[3]) : eye{from[0], from[1], from[2], 0} {
    X = {to[0] - from[0], to[1] - from[1], to[2] - from[2], 0};
    kxvector4r::Normalise(X);
    Y = {-X.y, X.x, 0, 0};
    if (kxvector4r::Normalise(Y) < 1e-6f) Y = {0, 1, 0, 0};
    kxvector4r::Cross(Z, X, Y);
  }
  // Copies the eye and the axes into a viewer's or an overlay camera's fields.
  void CopyTo(float* position, float* x, float* y, float* z) const {
    for (int k = 0; k < 3; ++k) position[k] = (&eye.x)[k], x[k] = (&X.x)[k], y[k] = (&Y.x)[k], z[k] = (&Z.x)[k];
  }
};

// The draw kinds the aircraft set-up gives: a list for an opaque mesh,
// direct drawing for a transparent one, rotating for propellers and rotors.
inline void ClassifyParts(kxgeometricobject* o) {
  for (kxnode* c = o->firstChild; c; c = c->nextSibling)
    if (kxgeometricobject* child = kxnode::As<kxgeometricobject>(c)) ClassifyParts(child);
  const std::string owner = o->Object && o->Object->type ? o->Object->type->name : "";
  bool rotating = owner == "kxdpropeller00" || owner.rfind("kxdrotor", 0) == 0 || owner == "kxdtailrotor00";
  o->Flags = !o->mesh ? 0 : o->mesh->transparent ? kxgeometricobject::kFlagDirect
                         : rotating              ? kxgeometricobject::kFlagRotating
                                                 : kxgeometricobject::kFlagList;
}

// Links the data's folders into the working folder, replacing what is there.
inline void LinkProgramData(const std::filesystem::path& data) {
  for (const char* part : {"aircraft", "objects", "scenery", "texture"}) {
    std::filesystem::remove_all(part);
    std::filesystem::create_symlink(data / part, part);
  }
}

// Loads the scenery and the aircraft, starts the flight over ground and
// builds the GL state and lists with fair clouds. Player 1, or null when the
// aircraft does not load.
inline simplayer* FlyDefaultAircraft(const char* scenery, kxdsceneryworld* ground) {
  kxdynamics::RegisterAll();
  world& w = *sim::TheWorld();
  sim::LoadScenery(scenery, &w);
  if (kxdaircraftinstance::AircraftLoad("christeneagle", 0) != 1) return nullptr;
  ground->Set(&w.collision);
  kxdynamics::Start(ground);
  kxmatrix pose = kxmatrix::Identity();
  pose.R = {w.start_aircraft[0][0], w.start_aircraft[0][1], 1.0f, 1.0f};
  kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), pose, {});
  kxdynamics::UpdateVisuals();  // the parts to their place, as a frame's step would
  simplayer& p = sim::players[0];
  p.flight_state = kxdaircraftinstance::FlightStateOf(0);
  ClassifyParts(kxnode::As<kxgeometricobject>(p.flight_state->graphics_root));
  sim::session.settings.cloud_type = sim::kCloudsFair;
  sim::SetupGL();
  sim::BuildSky(&w);
  sim::BuildSceneryLists();
  int next = sim::kFirstAircraftList;
  sim::BuildAircraftLists(&p, &next);
  return &p;
}

// Stops the flight and empties the aircraft slots and simulation trees.
inline void EndFlight() {
  kxdynamics::Stop();
  for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
  for (auto t : {kxdynamics::kxdtree::kInitial, kxdynamics::kxdtree::kState, kxdynamics::kxdtree::kChange,
                 kxdynamics::kxdtree::kTemplates, kxdynamics::kxdtree::kInvisible})
    kxdynamics::Tree(t)->DeleteChildren();
}

}  // namespace viewstest
