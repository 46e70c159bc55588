// What a flight draws of each sample aircraft against what the menu's
// turntable shows: every mesh of the loaded geometry is drawn in flight,
// once, by a draw kind that draws it, standing where it stands on the
// turntable; every blur disc has a kind that draws it.
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/scenery_world.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "sim/menu.h"
#include "sim/simulation_mode.h"
#include "sim/views/shadow_prep.h"
#include "tests/sim/flight_support.h"

namespace {

constexpr float kSamePlace = 0.005f;  // m: a part at rest stands where the turntable shows it

struct placedmesh {
  int count = 0;      // parts that draw this mesh
  float at[3] = {};   // m, the part's origin relative to the first part's frame
};
using meshes = std::map<const kxgeometry*, placedmesh>;

// Every mesh the tree draws (a predicate on the node), with the place of its
// part's origin in the frame of the first part met (the fuselage).
template <class Drawn>
void Collect(const kxgeometricobject* node, const kxmatrix& parent, Drawn drawn, meshes& out, kxmatrix* first,
             bool* haveFirst) {
  kxmatrix world;
  kxmatrix::Multiply4x4(&world, &parent, &node->Matrix);
  if (node->mesh && !*haveFirst) {
    *first = world;
    *haveFirst = true;
  }
  if (node->mesh && drawn(node)) {
    placedmesh& m = out[node->mesh];
    ++m.count;
    const float d[3] = {world.R.x - first->R.x, world.R.y - first->R.y, world.R.z - first->R.z};
    const kxvector4r* axes[3] = {&first->X, &first->Y, &first->Z};
    for (int k = 0; k < 3; ++k) m.at[k] = d[0] * axes[k]->x + d[1] * axes[k]->y + d[2] * axes[k]->z;
  }
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (const kxgeometricobject* child = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(c)))
      Collect(child, world, drawn, out, first, haveFirst);
}

template <class Drawn>
meshes Collect(const kxgeometricobject* root, Drawn drawn) {
  meshes out;
  kxmatrix first = kxmatrix::Identity();
  bool haveFirst = false;
  Collect(root, kxmatrix::Identity(), drawn, out, &first, &haveFirst);
  return out;
}

// What the flight's passes draw of a part: its display list, or its mesh
// in the transparent pass (a transparent mesh, or a turning part's blades).
bool FlightDraws(const kxgeometricobject* part) {
  const int f = part->Flags;
  return (f & kxgeometricobject::kFlagList) || (f & kxgeometricobject::kFlagRotating) || part->mesh->transparent;
}

int UndrawnDiscs(const kxnode* node) {
  int n = 0;
  const kxgeometricobject* g = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(node));
  if (g && g->discTexture && !(g->Flags & kxgeometricobject::kFlagRotating)) ++n;
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling) n += UndrawnDiscs(c);
  return n;
}

class DrawnGeometryTest : public simtest::flighttest {};

TEST_F(DrawnGeometryTest, TheFlightDrawsEverySamplesPartsWhereTheTurntableShowsThem) {
  for (const char* name : {"christeneagle", "trainer", "glider", "jet", "heli", "heli01"}) {
    SCOPED_TRACE(name);
    simplayer* p = LoadSample(name, 0);
    ASSERT_NE(p, nullptr);
    std::strcpy(sim::session.settings.aircraft0, name);
    sim::PrepareAircraftGraphics(0);
    kxdynamics::Start(&sim::SceneryWorld());  // the flight draws a fresh clone
    kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), kxmatrix::Identity(), {});
    kxdynamics::UpdateVisuals();
    const meshes shown = Collect(sim::TurntableModel(0), [](const kxgeometricobject*) { return true; });
    const auto* drawnRoot = kxnode::As<kxgeometricobject>(p->flight_state->graphics_root);
    ASSERT_NE(drawnRoot, sim::TurntableModel(0));
    const meshes drawn = Collect(drawnRoot, FlightDraws);
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(drawn.size(), shown.size());
    for (const auto& [mesh, there] : shown) {
      auto it = drawn.find(mesh);
      ASSERT_NE(it, drawn.end()) << mesh->name << " is not drawn in flight";
      EXPECT_EQ(it->second.count, there.count) << mesh->name;
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(it->second.at[k], there.at[k], kSamePlace) << mesh->name << " axis " << k;
    }
    EXPECT_EQ(UndrawnDiscs(drawnRoot), 0);
    kxdynamics::Stop();
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  }
}

}  // namespace
