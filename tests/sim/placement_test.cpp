#include "sim/placement.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dynamics/components/propeller.h"
#include "dynamics/scenery_world.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "sim/app_hooks.h"
#include "sim/view_modes.h"
#include "sim/views/shadow_prep.h"
#include "tests/sim/flight_support.h"

namespace {

using ::simtest::kGround;

class PlacementTest : public simtest::flighttest {
 protected:
  simplayer* Ready(const char* name, int player) {
    simplayer* p = LoadSample(name, player);
    if (p) {
      std::strcpy(player == 0 ? sim::session.settings.aircraft0 : sim::session.settings.aircraft1, name);
      sim::PrepareAircraftGraphics(player);
    }
    return p;
  }
};

TEST_F(PlacementTest, GroundRuleByTheStartsHeight) {
  simplayer* p = Ready("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  const float lowest = p->flight_state->bounds_min[2];
  struct probe {
    int start;
    float z;  // of the aircraft's origin
  } probes[] = {
      {0, kGround - lowest},         // half a metre up: put onto the ground
      {1, kGround + 5.0f},           // 5 m up: left in the air
      {2, kGround - lowest},         // negative: on the ground below
  };
  for (const probe& c : probes) {
    EXPECT_EQ(sim::PlaceAtStart(c.start, p, 1), c.start);
    EXPECT_NEAR(p->flight_state->position()[2], c.z, 1e-4f) << c.start;
    EXPECT_NEAR(p->saved_frame.R.z, c.z, 1e-4f) << c.start;
    if (c.start != 1) continue;
    // Start 1: heading 90 degrees, its viewer 1.8 m above the aircraft.
    EXPECT_NEAR(p->flight_state->row_x()[1], -1.0f, 1e-6f);
    EXPECT_NEAR(p->viewer_position()[2], kGround + 5.0f + 1.8f, 1e-4f);
    EXPECT_TRUE(inputtest::Logged("sim:  aircraft=(50.00,0.00,7.00), viewer=(30.00,0.00,8.80)\n"));
  }
  EXPECT_EQ(p->autozoom_blend, 2.0f);
  EXPECT_EQ(p->crash_timer, 0.0f);
}

TEST_F(PlacementTest, TwoPlayersStandEightMetresApartAcrossTheHeading) {
  simplayer* a = Ready("christeneagle", 0);
  simplayer* b = Ready("christeneagle", 1);
  ASSERT_TRUE(a && b);
  sim::session.run.player_count = 2;
  sim::PlaceAtStart(0, a, 1);
  sim::PlaceAtStart(0, b, 1);
  EXPECT_NEAR(a->flight_state->position()[1], -4.0f, 1e-5f);
  EXPECT_NEAR(b->flight_state->position()[1], 4.0f, 1e-5f);
  EXPECT_NEAR(a->flight_state->position()[0], b->flight_state->position()[0], 1e-5f);
}

TEST_F(PlacementTest, HelicopterSkipsNoHeliStartsAndFallsBackToTheFirst) {
  simplayer* p = Ready("heli", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  EXPECT_EQ(sim::PlaceAtStart(1, p, 1), 2);
  // Its viewer stands behind, beside and above it.
  const kxdflightstate& s = *p->flight_state;
  for (int k = 0; k < 3; ++k)
    EXPECT_NEAR(p->viewer_position()[k],
                s.position()[k] - 5.0f * s.row_x()[k] + 0.5f * s.row_y()[k] + 1.8f * s.row_z()[k], 1e-4f);
  world& w = *sim::TheWorld();
  for (int i = 0; i < w.start_count; ++i) w.start_flags[i] = world::kStartAirplanes;
  EXPECT_EQ(sim::PlaceAtStart(3, p, 1), 0);
  w.start_count = 0;  // no start at all: entry 0's defaults
  EXPECT_EQ(sim::PlaceAtStart(5, p, 0), 0);
  EXPECT_NEAR(p->flight_state->position()[0], 0.0f, 1e-5f);
}

// A start the ground does not reach is passed over for the next one with
// ground below it; only when none has any is it used all the same.
TEST_F(PlacementTest, AStartWithoutGroundBelowIsPassedOver) {
  simplayer* p = Ready("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  world& w = *sim::TheWorld();
  w.start_aircraft[1][0] = 1000.0f;  // the ground reaches 200 m from the centre
  EXPECT_EQ(sim::GroundBelowStart(&w, 1), 0);
  EXPECT_EQ(sim::GroundBelowStart(&w, 2), 1);
  EXPECT_EQ(sim::PlaceAtStart(1, p, 1), 2);
  EXPECT_NEAR(p->flight_state->position()[0], -50.0f, 1e-4f);
  EXPECT_EQ(sim::HasGround(&w), 1);
  for (int i = 0; i < w.start_count; ++i) w.start_aircraft[i][0] = 1000.0f + 10.0f * static_cast<float>(i);
  EXPECT_EQ(sim::HasGround(&w), 0);
  EXPECT_EQ(sim::PlaceAtStart(1, p, 1), 1);
}

// A helicopter's fuselage sits above its skids, away from its origin: put
// on the ground, the skids stand on it, and a second of the simulation
// leaves it standing there instead of throwing it off the ground.
TEST_F(PlacementTest, HelicopterIsPutOnTheGroundByItsSkids) {
  simplayer* p = Ready("heli", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  ASSERT_GT(instance->MainBody->B.R.z, 0.05f);  // in its own coordinates, above the skids
  kxdsceneryworld ground(&sim::TheWorld()->collision);
  kxdynamics::Start(&ground);
  sim::PlaceAtStart(0, p, 0);
  const kxdflightstate& s = *p->flight_state;
  EXPECT_NEAR(s.position()[2] + s.bounds_min[2], kGround, 1e-4f);
  float highest = 0.0f;
  for (int k = 0; k < 60; ++k) {
    kxdynamics::Step(1.0f / 60.0f, &ground);
    highest = std::max(highest, s.position()[2] + s.bounds_min[2] - kGround);
  }
  EXPECT_LT(highest, 0.01f);
  EXPECT_EQ(s.crash, 0);
}

// A legacy model is placed by its runtime, with its crash flags cleared
// first: the frame update steps it only while they are.
TEST_F(PlacementTest, LegacyModelIsPlacedByItsRuntimeWithItsCrashCleared) {
  static int placed;
  placed = 0;
  sim::applicationhooks hooks;
  hooks.legacy_set_pose = [](const kxmatrix& frame, const float*) { placed += frame.R.z == 7.0f; };
  hooks.legacy_get_transform = [](kxmatrix* out) { out->R.z = 7.5f; };
  sim::SetHooks(hooks);
  simplayer& p = sim::players[0];
  p.legacy = 1;
  p.flight_state = &p.legacy_state;
  p.legacy_state.crash = 1;
  p.legacy_state.crash_kind = kxdflightstate::kCrashWater;
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame)->R.z = 7.0f;
  const float still[4] = {};
  sim::SetAircraftPose(&p, frame, still);
  sim::SetHooks(sim::applicationhooks());
  EXPECT_EQ(placed, 1);
  EXPECT_EQ(p.legacy_state.crash, 0);
  EXPECT_EQ(p.legacy_state.crash_kind, kxdflightstate::kCrashGround);
  EXPECT_EQ(p.legacy_state.position()[2], 7.5f);
  p.legacy = 0;
}

TEST_F(PlacementTest, ShadowBoxIsSquareAboutTheOriginAndLogged) {
  static shadowquad box;
  box = shadowquad();
  box.min[0] = -0.4f;
  box.max[0] = 1.2f;
  box.min[1] = -0.8f;
  box.max[1] = 0.8f;
  box.min[2] = -0.3f;
  box.max[2] = 0.5f;
  box.size = 1.6f;
  sim::applicationhooks hooks;
  hooks.legacy_get_bounds = [](shadowquad* out) { *out = box; };
  sim::SetHooks(hooks);
  simplayer& p = sim::players[0];
  p.legacy = 1;
  p.flight_state = &p.legacy_state;
  std::strcpy(sim::session.settings.aircraft0, "_alx_piccolo");
  sim::PrepareAircraftGraphics(0);
  sim::SetHooks(sim::applicationhooks());
  const shadowquad& q = p.legacy_state.shadow;
  EXPECT_EQ(q.min[0], -1.2f);
  EXPECT_EQ(q.max[0], 1.2f);
  EXPECT_EQ(q.min[1], -1.2f);
  EXPECT_EQ(q.max[1], 1.2f);
  EXPECT_EQ(p.legacy_state.bounds_min[2], -0.3f);
  EXPECT_TRUE(inputtest::Logged("generating shadow _alx_piccoloshadow0=radius=1.60  bbmin=(-1.20 -1.20 -0.30)  "
                            "bbmax=(1.20 1.20 0.50)\n"));
  ASSERT_NE(q.texture, nullptr);
  kxtexture* shadow = static_cast<kxtexture*>(q.texture);
  EXPECT_EQ(shadow->width, sim::session.settings.gl_shadow_texture_size);
  EXPECT_NE(p.record_store.shadow_texture, nullptr);
  kxtexture* rec = p.record_store.shadow_texture;
  sim::GenerateShadow(0);  // again: the same textures by name
  EXPECT_EQ(p.legacy_state.shadow.texture, shadow);
  EXPECT_EQ(p.record_store.shadow_texture, rec);
  p.legacy = 0;
}

// No instance is loaded for the player, but its flight state has a drawn
// tree: the box is that tree's.
TEST_F(PlacementTest, ShadowWithoutALoadedInstanceIsTheDrawnTreesBox) {
  kxgeometricobject root;
  root.SetMesh(meshgen::ToElement(meshgen::Box(2, 1, 1), "part", "", GL_N3F_V3F));
  simplayer& p = sim::players[0];
  ASSERT_EQ(kxdaircraftinstance::Loaded(0), nullptr);
  p.legacy = 0;
  p.flight_state = &p.legacy_state;
  p.legacy_state.graphics_root = &root;
  std::strcpy(sim::session.settings.aircraft0, "drawn");
  sim::GenerateShadow(0);
  p.legacy_state.graphics_root = nullptr;
  EXPECT_NEAR(p.legacy_state.shadow.max[0], 1.0f, 1e-5f);
  EXPECT_NEAR(p.legacy_state.shadow.min[1], -1.0f, 1e-5f);
  EXPECT_NEAR(p.legacy_state.shadow.size, 2.0f, 1e-5f);
}

TEST_F(PlacementTest, DrawKindsByMeshTransparencyOwnerAndDisc) {
  kxdpropeller00 propeller;
  kxgeometricobject root, glass, body, blade, disc;
  for (kxgeometricobject* child : {&glass, &body}) root.AppendChild(child);
  for (kxgeometricobject* child : {&blade, &disc}) body.AppendChild(child);
  auto mesh = [] { return meshgen::ToElement(meshgen::Box(1, 1, 1), "part", "", GL_N3F_V3F); };
  glass.SetMesh(mesh());
  glass.mesh->transparent = 1;
  body.SetMesh(mesh());
  body.Object = &propeller;  // a component owns it, but the part has children: plain
  blade.SetMesh(mesh());
  blade.Object = &propeller;
  disc.SetMesh(mesh());
  disc.Object = &propeller;
  kxtexture fake{};
  disc.discTexture = &fake;
  sim::ClassifyDrawKinds(&root);
  EXPECT_EQ(root.Flags, sim::kDrawNone);
  EXPECT_EQ(glass.Flags, sim::kDrawTransparent);
  EXPECT_EQ(body.Flags, sim::kDrawRotating);
  EXPECT_EQ(blade.Flags, sim::kDrawRotating);
  EXPECT_EQ(disc.Flags, sim::kDrawDisc);
  disc.discTexture = nullptr;
  for (kxgeometricobject* child : {&blade, &disc}) child->Unlink();
  for (kxgeometricobject* child : {&glass, &body}) child->Unlink();
}

TEST_F(PlacementTest, RotatingPartsStopAtThirtyTwoWithOneLogLine) {
  kxdpropeller00 propeller;
  kxgeometricobject root;
  for (int i = 0; i < 34; ++i) {
    auto* blade = new kxgeometricobject;
    blade->SetMesh(meshgen::ToElement(meshgen::Box(0.1f, 1, 0.02f), "blade", "", GL_N3F_V3F));
    blade->Object = &propeller;
    root.AppendChild(blade);
  }
  void* meshes[kxdflightstate::kRotatingParts] = {};
  float* frames[kxdflightstate::kRotatingParts] = {};
  int count = 0;
  sim::CollectRotatingParts(&root, meshes, frames, &count);
  EXPECT_EQ(count, kxdflightstate::kRotatingParts);
  EXPECT_EQ(frames[0], kxnode::As<kxgeometricobject>(root.firstChild)->MatrixDraw.Data());
  std::string text = inputtest::LogText();
  const char* line = "sim:  more than 32 rotating parts, the rest take no part\n";
  EXPECT_EQ(text.find(line), text.rfind(line));
  EXPECT_NE(text.find(line), std::string::npos);
}

// The drawn clone's blades share the template's meshes: their bodies take
// those meshes and follow the drawn blades.
TEST_F(PlacementTest, APropellersBladesCollideAsTheTemplatesMeshesAtTheDrawnBlades) {
  simplayer* p = Ready("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  kxdynamics::Start(&sim::SceneryWorld());
  sim::session.run.player_count = 1;
  sim::PlaceAtStart(0, p, 1);
  const kxdflightstate& s = *p->flight_state;
  std::vector<const kxgeometricobject*> blades;
  std::function<void(kxnode*)> walk = [&](kxnode* n) {
    for (kxnode* c = n->firstChild; c; c = c->nextSibling) walk(c);
    auto* g = kxnode::As<kxgeometricobject>(n);
    if (g && !g->firstChild && sim::IsRotatingComponent(g->Object)) blades.push_back(g);
  };
  walk(s.graphics_root);
  ASSERT_EQ(blades.size(), 2u);
  ASSERT_EQ(s.rotating_count, 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(blades[i]->mesh, s.rotating_meshes[i]);
    EXPECT_EQ(s.rotating_frames[i], blades[i]->MatrixDraw.Data());
    ASSERT_NE(s.rotating_meshes[i], nullptr);
    EXPECT_GT(static_cast<kxgeometry*>(s.rotating_meshes[i])->hullCount, 0);
    EXPECT_NE(s.rotating_bodies[i], nullptr);
  }
}

// The menu shows no blur discs, so they are made before the first flight;
// the draw kinds that follow survive the start's fresh clone.
TEST_F(PlacementTest, RotorsGetDiscsBeforeTheFlightAndKindsThatSurviveTheDynamicsStart) {
  simplayer* p = Ready("heli", 0);
  ASSERT_NE(p, nullptr);
  auto kinds = [&](int kind) {
    int count = 0;
    std::function<void(kxnode*)> walk = [&](kxnode* n) {
      for (kxnode* c = n->firstChild; c; c = c->nextSibling) walk(c);
      if (auto* g = kxnode::As<kxgeometricobject>(n)) count += g->Flags == kind;
    };
    walk(p->flight_state->graphics_root);
    return count;
  };
  EXPECT_FALSE(inputtest::Logged("sim:  creating blurr="));
  EXPECT_EQ(kinds(sim::kDrawDisc), 0);
  sim::PrepareFlightGraphics(0);
  EXPECT_TRUE(inputtest::Logged("sim:  creating blurr="));
  kxdynamics::Start(&sim::SceneryWorld());  // draws from a fresh clone of the template
  kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), p->flight_state->frame, {});
  EXPECT_GT(kinds(sim::kDrawDisc), 0);
  EXPECT_GT(kinds(sim::kDrawRotating), 0);
}

TEST_F(PlacementTest, SetViewModeTakesFieldOfViewAndPlacesFollowViewers) {
  simplayer* p = Ready("christeneagle", 0);
  ASSERT_NE(p, nullptr);
  sim::session.run.player_count = 1;
  sim::PlaceAtStart(0, p, 1);
  const kxdflightstate& s = *p->flight_state;
  sim::SetViewMode(p, sim::kViewFollow);
  EXPECT_EQ(p->fov(), &p->fov_follow);
  EXPECT_NEAR(p->viewer_position()[0], s.position()[0] - 3.0f * s.row_x()[0], 1e-5f);
  EXPECT_NEAR(p->viewer_position()[2], s.position()[2] + 0.5f, 1e-5f);
  sim::SetViewMode(p, sim::kViewCockpitInstruments);
  EXPECT_EQ(p->fov(), &p->fov_cockpit);
  EXPECT_EQ(p->view_mode, sim::kViewCockpitInstruments);
  sim::SetViewMode(p, sim::kViewRecordFixed);  // no recording
  EXPECT_EQ(p->view_mode, sim::kViewFixed);
  // A fixed viewer standing on the aircraft steps back and up.
  for (int k = 0; k < 3; ++k) p->viewer_position()[k] = s.position()[k];
  sim::SetViewMode(p, sim::kViewFixedAutozoom);
  EXPECT_NEAR(p->viewer_position()[0], s.position()[0] - 4.5f * s.row_x()[0] + 1.5f * s.row_z()[0], 1e-5f);
  EXPECT_NEAR(p->viewer_position()[2], s.position()[2] - 4.5f * s.row_x()[2] + 1.5f * s.row_z()[2], 1e-5f);
  sim::TheWorld()->photo = 1;
  sim::SetViewMode(p, sim::kViewFollow);
  EXPECT_EQ(p->view_mode, sim::kViewFixed);
  sim::TheWorld()->photo = 0;
}

}  // namespace
