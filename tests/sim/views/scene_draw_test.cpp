// The scene's passes under a real context, read back pixel by pixel: the
// sky by cloud type, the lights, the photo panorama, the aircraft looked out
// of in the cockpit views, contest objects and markers, particles, and the
// program's own scenery and aircraft.
#include "sim/views/scene.h"

#include <memory>

#include "dynamics/flight_state.h"
#include "dynamics/tow.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/simulation_mode.h"
#include "sim/views/sky.h"
#include "sim/world/contest_record.h"
#include "views_gl_support.h"

namespace {

using viewstest::camera;
using viewstest::kHeight;
using viewstest::kWidth;
using frame = std::vector<kxtest::pixel>;

frame Frame() {
  frame pixels(static_cast<size_t>(kWidth) * kHeight);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

// Pixels that differ by more than 6 in some channel.
int Differing(const frame& a, const frame& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i)
    n += std::abs(a[i].r - b[i].r) > 6 || std::abs(a[i].g - b[i].g) > 6 || std::abs(a[i].b - b[i].b) > 6;
  return n;
}

class SceneDraw : public viewstest::viewsgltest {
 protected:
  // Loads the scenery text and builds the GL state and every scenery list.
  world& Scenery(const std::string& text, sim::cloudtype cloudType = sim::kCloudsNone) {
    world& w = Load(text);
    sim::session.settings.cloud_type = cloudType;
    sim::SetupGL();
    sim::BuildSky(&w);
    sim::BuildSceneryLists();
    return w;
  }
  // rgb at alpha over the pixel at the row's left end, which the view's
  // middle row shows at the same height.
  static ::testing::AssertionResult Blended(float r, float g, float b, float a) {
    kxtest::pixel under = kxtest::ReadPixel(2, kHeight / 2);
    return Near(Centre(), a * r + (1 - a) * under.r / 255.0f, a * g + (1 - a) * under.g / 255.0f,
                a * b + (1 - a) * under.b / 255.0f);
  }
  const float eye_[3] = {0, 0, 2}, ahead_[3] = {10, 0, 2};
};

TEST_F(SceneDraw, ZenithColourFollowsTheCloudTypeAndNoCloudPassRunsWithoutClouds) {
  const float up[3] = {0, 0, 100};
  camera c(eye_, up);
  struct {
    sim::cloudtype type;
    float zenith[3];
  } rows[] = {{sim::kCloudsNone, {0.0f, 0.4f, 0.8f}},
              {sim::kCloudsFair, {0.02f, 0.12f, 0.67f}},
              {sim::kCloudsRain, {0.22f, 0.3f, 0.69f}}};
  for (const auto& row : rows) {
    Scenery("SCENERY 6000\n", row.type);
    Draw(c);
    EXPECT_TRUE(Near(Centre(), row.zenith[0], row.zenith[1], row.zenith[2])) << static_cast<int>(row.type);
  }
  PutPicture("texture/clouds.kxt", 1);
  Scenery("CLOUDS 300 4 0.9 0.55 texture/clouds.kxt\n", sim::kCloudsNone);
  Draw(c);
  EXPECT_TRUE(Near(Centre(), 0.0f, 0.4f, 0.8f));
  Scenery("CLOUDS 300 4 0.9 0.55 texture/clouds.kxt\n", sim::kCloudsFair);
  Draw(c);
  EXPECT_FALSE(Near(Centre(), 0.02f, 0.12f, 0.67f));
}

TEST_F(SceneDraw, TheSceneryLightsAreOnTheRestDarkAndPositionalLightsShineFromAboveUnderOpenSky) {
  PutMesh("scenery/roof.tgo", kxgeomtest::Plate(20, 10, "roof"));
  auto lampSeenFrom = [&](const char* scenery) {
    world& w = Load(scenery);
    w.light_count = 2;
    const float lamp[4] = {10, 0, 50, 1};
    std::copy(lamp, lamp + 4, w.light_position[1]);
    sim::SetupGL();
    Draw(camera(eye_, ahead_));
    std::vector<float> position(4);
    glGetLightfv(GL_LIGHT1, GL_POSITION, position.data());  // eye space: y up, -z ahead
    return position;
  };
  EXPECT_EQ(lampSeenFrom("SCENERY 6000\n"), (std::vector<float>{0, 1, 0, 0}));  // open sky: straight above
  for (int i = 0; i < sim::kSceneLights; ++i) EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i) == GL_TRUE, i < 2) << i;
  float diffuse[4];
  glGetLightfv(GL_LIGHT3, GL_DIFFUSE, diffuse);
  EXPECT_EQ(diffuse[0] + diffuse[1] + diffuse[2] + diffuse[3], 0.0f);
  std::vector<float> roofed = lampSeenFrom("OBJECT roof.tgo\n");  // under the roof the lamp stays where it is
  EXPECT_NEAR(roofed[1], 48.0f, 1e-3f);
  EXPECT_NEAR(roofed[2], -10.0f, 1e-3f);
}

TEST_F(SceneDraw, APhotoSceneryDrawsItsPanoramaAndNoSkyGroundCloudsTreesOrFog) {
  kximage tile;
  tile.width = tile.height = 4;
  tile.channels = 3;
  for (int i = 0; i < 16; ++i) tile.pixels.insert(tile.pixels.end(), {200, 40, 40});
  for (const char* name : {"scenery/photo00.kxt", "scenery/photo10.kxt"}) ASSERT_TRUE(kxgl::WriteKxt(name, tile));
  PutPicture("texture/clouds.kxt", 1);
  const float green[3] = {0, 1, 0};
  PutMesh("scenery/ground.tgo", meshgen::ColouredElement(meshgen::Ground(400, 4, 0), "ground", "", green));
  meshgen::mesh card = meshgen::TreeCards(6, 10);
  meshgen::Translate(card, 8, 0, 0);
  kxgeometry* tree = meshgen::ColouredElement(card, "bbrd001", "", green);
  tree->transparent = 1;
  PutMesh("scenery/trees.tgo", tree);
  sim::session.settings.gl_fog = 1;
  const int compression = kxgl::textureCompression;
  kxgl::textureCompression = 0;  // the tiles' colour exactly
  world& w = Scenery(
      "PHOTOTEXTURES 2 1 photo\nGROUND ground.tgo\nCLOUDS 300 4 0.9 0.55 texture/clouds.kxt\nOBJECT trees.tgo\n", sim::kCloudsFair);
  kxgl::textureCompression = compression;
  ASSERT_EQ(w.photo, 1);
  const float down[3] = {10, 0, 1};
  Draw(camera(eye_, down));
  for (int y : {2, kHeight / 2, kHeight - 3})
    for (int x : {2, kWidth / 2, kWidth - 3})
      EXPECT_TRUE(Near(kxtest::ReadPixel(x, y), 200 / 255.0f, 40 / 255.0f, 40 / 255.0f)) << x << "," << y;
  EXPECT_FALSE(glIsEnabled(GL_FOG));
}

// A scenery whose land is an object marked as ground, with no ground mesh
// of its own, still gets its static objects drawn once the simulation sets
// up its GL state: not the lists of the scenery flown before.
TEST_F(SceneDraw, TheSimulationSetUpBuildsTheObjectListsOfASceneryWithoutAGroundMesh) {
  const float red[3] = {1, 0, 0}, green[3] = {0, 1, 0};
  PutMesh("scenery/before.tgo", meshgen::ColouredElement(meshgen::Ground(400, 4, 0), "before", "", red));
  PutMesh("scenery/land.tgo", meshgen::ColouredElement(meshgen::Ground(400, 4, 0), "land_meadow", "", green));
  const float high[3] = {0, 0, 30}, below[3] = {0.1f, 0, 0};
  Load("GROUND before.tgo\n");
  sim::InitGL();
  Draw(camera(high, below));
  kxtest::pixel before = Centre();
  Load("OBJECT land.tgo GROUND\n");
  sim::InitGL();
  Draw(camera(high, below));
  kxtest::pixel land = Centre();
  EXPECT_GT(before.r, before.g);
  EXPECT_GT(land.g, land.r + 50);
  EXPECT_GT(land.g, land.b + 50);
}

TEST_F(SceneDraw, TheAircraftLookedOutOfIsAbsentInTheCockpitViews) {
  Scenery("SCENERY 6000\n", sim::kCloudsFair);
  meshgen::mesh box = meshgen::Box(2, 2, 2);
  const float red[3] = {1, 0, 0};
  kxgeometricobject* root = Part("root", &box, red, nullptr, kxgeometricobject::kFlagList);
  root->Matrix.R = {10, 0, 2, 1};
  kxdflightstate state;
  state.graphics_root = root;
  simplayer& p = sim::players[0];
  p.flight_state = &state;
  int next = sim::kFirstAircraftList;
  sim::BuildAircraftLists(&p, &next);
  // The same box as the played-back copy of the viewer's recording.
  kxgeometricobject* copy = Part("copy", &box, red);
  copy->Matrix.R = root->Matrix.R;
  const struct {
    bool recorded;  // the box is the recording's copy, not the live aircraft
    sim::viewmode mode;
    int drawOwn;
    bool shown;
  } rows[] = {
      {false, sim::kViewFollow, 0, true},
      {false, sim::kViewCockpit, 0, false},
      {false, sim::kViewCockpitInstruments, 1, true},
      {true, sim::kViewCockpit, 0, true},  // the live cockpit still shows the recording
      {true, sim::kViewRecordFollow, 0, true},
      {true, sim::kViewRecordCockpit, 0, false},
      {true, sim::kViewRecordCockpit, 1, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "recorded " << row.recorded << ", mode " << static_cast<int>(row.mode)
                                      << ", drawOwn " << row.drawOwn);
    p.flight_state = row.recorded ? nullptr : &state;
    p.recording.present = row.recorded;
    p.recording.instance = row.recorded ? copy : nullptr;
    p.view_mode = row.mode;
    Draw(camera(eye_, ahead_), &p, row.drawOwn);
    const int brightness = Centre().r + Centre().g + Centre().b;
    if (row.shown) EXPECT_LT(brightness, 150);  // the box's unlit side
    else EXPECT_GT(brightness, 450);            // the haze behind it
  }
  p.recording.instance = nullptr;
}

TEST_F(SceneDraw, PylonMarkerDragRaceGateAndLandingZoneDrawInTheirColours) {
  Scenery("SCENERY 6000\n");
  auto contest = std::make_unique<contestrec>();
  sim::session.run.current_contest = contest.get();
  simplayer& p = sim::players[0];
  const float eye[3] = {0, 0, 3}, ahead[3] = {10, 0, 3};

  contest->kind = kContestPylonRace;
  contest->pylons[0].position[0] = 10;
  p.contest.pylon = contest->first_pylon = &contest->pylons[0];
  p.contest.gate_distance = -25.0f;  // alpha 0.625
  Draw(camera(eye, ahead), &p);
  EXPECT_TRUE(Blended(1, 0, 0, 0.625f));
  p.contest.gate_distance = 5.0f;  // past the gate: no marker
  Draw(camera(eye, ahead), &p);
  EXPECT_TRUE(Blended(1, 0, 0, 0.0f));

  contest->kind = kContestDragRace;
  const float finish[3] = {10, 5, 0}, line[3] = {0, -10, 0};
  std::copy(finish, finish + 3, contest->finish_point);
  std::copy(line, line + 3, contest->finish_line);
  const struct {
    sim::contestphase phase;
    float colour[3];
  } gates[] = {{sim::kContestFlying, {1, 1, 0}}, {sim::kContestFinished, {0, 1, 0}}, {sim::kContestFalseStart, {1, 0, 0}}};
  for (const auto& g : gates) {
    p.contest.phase = g.phase;
    Draw(camera(eye, ahead), &p);
    EXPECT_TRUE(Blended(g.colour[0], g.colour[1], g.colour[2], 0.3f)) << static_cast<int>(g.phase);
  }

  contest->kind = kContestSpotLanding;  // heading 0: along x, across -y
  const float corner[3] = {0, 5, 0.1f}, along[3] = {1, 0, 0}, across[3] = {0, -1, 0};
  std::copy(corner, corner + 3, contest->spot_corner);
  std::copy(along, along + 3, contest->spot_axisA);
  std::copy(across, across + 3, contest->spot_axisB);
  contest->spot_width = 10;
  contest->spot_length = 20;
  const float above[3] = {0, 0, 30}, below[3] = {0, 0, 0};
  Draw(camera(above, below), &p);
  // Looking down with +x up the screen, 4 px per metre at the ground.
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth / 2, 50), 0.4f, 0, 0));  // x = -2.4: red before the line
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth / 2, 100), 0, 0.4f * (1 - 9.625f / 19.5f), 0));  // x = 10.1: fading green
}

// Seen from 30 m straight above (4 px a metre, +x up the screen, +y to the
// left): each balloon still standing darkens the white ground 10 m below
// it, far more than its own size away, and so does an aircraft flying there;
// a burst balloon and a balloon of a contest that is not a balloon pop cast
// nothing.
TEST_F(SceneDraw, StandingBalloonsAndAnAircraftInTheAirCastShadowsOnTheGround) {
  const float white[3] = {1, 1, 1};
  PutMesh("scenery/ground.tgo", meshgen::ColouredElement(meshgen::Ground(400, 4, 0), "ground", "", white));
  Scenery("GROUND ground.tgo\n");
  kxtexture* picture = Texture("balloonshadow", 8, 8);
  std::fill(picture->pixels, picture->pixels + 8 * 8 * 4, 255);
  auto contest = std::make_unique<contestrec>();
  contest->kind = kContestBalloonPop;
  shadowquad quad;  // 2 m square about the caster
  quad.texture = picture;
  quad.size = 2;
  const float corners[4][5] = {{0, 0, -1, -1, 0}, {1, 0, 1, -1, 0}, {1, 1, 1, 1, 0}, {0, 1, -1, 1, 0}};
  std::copy(&corners[0][0], &corners[0][0] + 20, &quad.corners[0][0]);
  const float x[2] = {5, -5};
  for (int i = 0; i < 2; ++i) {
    balloonrec& b = contest->balloons[i];
    b.frame = kxmatrix::Identity();
    b.frame.R = {x[i], 0, 10, 1};
    b.radius = 1;
    b.shadow = quad;
    b.next = i == 0 ? &contest->balloons[1] : nullptr;
  }
  contest->first_balloon = &contest->balloons[0];
  contest->balloons[1].popped = 1;
  const float above[3] = {0, 0, 30}, below[3] = {0.1f, 0, 0};
  const int standing = kHeight / 2 + 20, burst = kHeight / 2 - 20;
  Draw(camera(above, below));
  const kxtest::pixel bare = kxtest::ReadPixel(kWidth / 2, standing);
  sim::session.run.current_contest = contest.get();
  Draw(camera(above, below));
  const kxtest::pixel shaded = kxtest::ReadPixel(kWidth / 2, standing);
  EXPECT_LT(shaded.g, 0.6f * bare.g) << int(bare.g) << " " << int(shaded.g);
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth / 2, burst), bare.r / 255.0f, bare.g / 255.0f, bare.b / 255.0f));
  contest->kind = kContestSpotLanding;
  Draw(camera(above, below));
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth / 2, standing), bare.r / 255.0f, bare.g / 255.0f, bare.b / 255.0f));

  kxdflightstate flying;
  flying.frame.R = {0, 5, 10, 1};
  flying.shadow = quad;
  sim::players[0].flight_state = &flying;
  Draw(camera(above, below));
  EXPECT_LT(kxtest::ReadPixel(kWidth / 2 - 20, kHeight / 2).g, 0.6f * bare.g);
  sim::players[0].flight_state = nullptr;
}

// The tow rope is one line between its two ends, in its colour over what
// lies behind it; with an end off its hook it is not drawn.
TEST_F(SceneDraw, TheTowRopeIsALineBetweenItsEnds) {
  Scenery("SCENERY 6000\n");
  auto rope = std::make_unique<kxdrope00>();
  rope->Ends[0] = {10, -0.04f, 1, 1};  // upright, 10 m ahead, just right of the middle column
  rope->Ends[1] = {10, -0.04f, 3, 1};
  rope->Active[0] = rope->Active[1] = 1;
  Draw(camera(eye_, ahead_));
  const frame behind = Frame();
  sim::session.run.rope = rope.get();
  Draw(camera(eye_, ahead_));
  const frame with = Frame();
  for (int y : {kHeight / 2 - 8, kHeight / 2, kHeight / 2 + 8}) {
    const kxtest::pixel under = behind[y * kWidth + kWidth / 2];
    EXPECT_TRUE(Near(with[y * kWidth + kWidth / 2], 0.7f * 0.7f + 0.3f * under.r / 255.0f,
                     0.7f * 0.7f + 0.3f * under.g / 255.0f, 0.7f * 0.4f + 0.3f * under.b / 255.0f))
        << y;
  }
  EXPECT_LE(Differing(behind, with), 30);  // about 24 pixels of line, nothing else
  rope->Active[1] = 0;
  Draw(camera(eye_, ahead_));
  EXPECT_EQ(Differing(behind, Frame()), 0);
  sim::session.run.rope = nullptr;
}

// Seen from 100 m under the sea: the skirt at the scenery's edge runs from
// the depth colour at 200 m down to the haze at the water line.
TEST_F(SceneDraw, TheOceanSkirtShadesFromTheDepthColourUpToTheHaze) {
  PutMesh("scenery/sea.tgo", kxgeomtest::Plate(1, 0, "sea"));
  world& w = Scenery("SCENERY 1000\nOCEAN sea.tgo\n");
  ASSERT_NE(w.ocean, nullptr);
  const float depth[3] = {0.03f, 0.05f, 0.1f}, haze[3] = {0.75f, 0.85f, 0.88f};
  const float eye[3] = {0, 0, -100}, ahead[3] = {10, 0, -100};
  Draw(camera(eye, ahead));
  // A row's ray meets the skirt 1000 m ahead; the frustum's half height there is 500 m.
  for (int y : {50, 60, 70}) {
    const float z = -100.0f + 500.0f * (static_cast<float>(y) + 0.5f - kHeight / 2.0f) / (kHeight / 2.0f);
    const float t = (z + 200.0f) / 200.0f;
    const kxtest::pixel got = kxtest::ReadPixel(kWidth / 2 + 4, y);
    const float want[3] = {depth[0] + t * (haze[0] - depth[0]), depth[1] + t * (haze[1] - depth[1]),
                           depth[2] + t * (haze[2] - depth[2])};
    EXPECT_NEAR(got.r, want[0] * 255, 6) << y;
    EXPECT_NEAR(got.g, want[1] * 255, 6) << y;
    EXPECT_NEAR(got.b, want[2] * 255, 6) << y;
  }
}

TEST_F(SceneDraw, SmokeOrExhaustFromTheListsDrawsNeverBoth) {
  Scenery("SCENERY 6000\n");
  kxdflightstate state;
  state.smoke_flag = 1;
  state.exhaust_count = 1;
  simplayer& p = sim::players[0];
  p.flight_state = &state;
  particle puff{};
  particle& exhaust = p.particles.exhaust_particles[0][0];
  for (particle* q : {&puff, &exhaust}) {
    std::copy(ahead_, ahead_ + 3, q->position);
    q->size = 2;
    q->alpha = 1;
  }
  puff.life = 1;
  p.particles.smoke_list = &puff;
  sim::session.settings.smoke_color_green = 0;
  sim::session.settings.show_smoke = sim::session.settings.show_exhaust = 1;
  Draw(camera(eye_, ahead_), &p);
  EXPECT_TRUE(Near(Centre(), 1, 0, 1));
  puff.life = 0;  // smoke on but none alive: still no exhaust
  Draw(camera(eye_, ahead_), &p);
  EXPECT_FALSE(Near(Centre(), 1, 1, 1));
  sim::session.settings.show_smoke = 0;
  Draw(camera(eye_, ahead_), &p);
  EXPECT_TRUE(Near(Centre(), 1, 1, 1));
}

class SceneDataDraw : public SceneDraw {
 protected:
  void TearDown() override {
    if (kxgl::HasContext()) viewstest::EndFlight();
    SceneDraw::TearDown();
  }
  simplayer& Fly(const char* scenery) {
    viewstest::LinkProgramData(ProgramData());
    simplayer* p = viewstest::FlyDefaultAircraft(scenery, &ground_);
    return p ? *p : sim::players[0];
  }
  kxdsceneryworld ground_;
};

TEST_F(SceneDataDraw, TheDefaultSceneryShowsSkyGroundObjectsTheAircraftTreesAndTraces) {
  simplayer& p = Fly("winzeln");
  ASSERT_NE(p.flight_state, nullptr);
  const float* plane = p.flight_state->position();
  const float near[3] = {plane[0] + 3, plane[1] - 3, plane[2] + 0.5f};
  camera pilot(near, plane);
  Draw(pilot, &p);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // set-up, lists and every pass
  frame full = Frame();
  kxtest::pixel sky = kxtest::ReadPixel(kWidth / 2, kHeight - 2), runway = kxtest::ReadPixel(kWidth / 2, 2);
  EXPECT_GE(sky.b, sky.r);  // blue, or the white of the clouds
  EXPECT_GT(sky.b, runway.b + 100);
  EXPECT_GT(runway.r + runway.g + runway.b, 150);
  Draw(pilot, &p, 0, 0);
  EXPECT_GT(Differing(full, Frame()), 100);  // the aircraft

  const kxtransparentgeometry* tree = sim::TheWorld()->transparent;
  while (tree && tree->element && !tree->billboard) ++tree;
  ASSERT_TRUE(tree && tree->element);
  const float back[3] = {tree->centre[0] - 25, tree->centre[1], tree->centre[2] + 2};
  Draw(camera(back, tree->centre), &p);
  full = Frame();
  sim::session.settings.show_trees = 0;
  Draw(camera(back, tree->centre), &p);
  EXPECT_GT(Differing(full, Frame()), 100);

  for (int i = 0; i < 20; ++i) {
    const float sample[3] = {plane[0] + static_cast<float>(i), plane[1], plane[2] + 2.0f};
    std::copy(sample, sample + 3, p.trace.position[i]);
    p.trace.axis[i][2] = 1.0f;  // upright: seen broadside
    p.trace.time[i] = static_cast<float>(i);
  }
  p.trace.index = 19;
  p.trace.view = 0;  // the player records keep it between tests
  Draw(pilot, &p);
  full = Frame();
  p.trace.view = 1;
  Draw(pilot, &p);
  EXPECT_GT(Differing(full, Frame()), 50);
}

// The clubhouse (at 40, -75) seen from the west, the wall turned away from
// the sun: in shade, lit by the sky, not black.
TEST_F(SceneDataDraw, AHouseWallTurnedAwayFromTheSunStandsInShadeNotBlack) {
  simplayer& p = Fly("winzeln");
  const float west[3] = {20, -75, 1.5f}, wall[3] = {40, -75, 1.5f};
  Draw(camera(west, wall), &p);
  kxtest::pixel shade = Centre();
  EXPECT_GT(shade.r, 60) << int(shade.r) << " " << int(shade.g) << " " << int(shade.b);
  EXPECT_GT(shade.g, 55);
}

TEST_F(SceneDataDraw, TheSeaSceneryShowsItsOcean) {
  simplayer& p = Fly("seaslope");
  world& w = *sim::TheWorld();
  ASSERT_NE(w.ocean, nullptr);
  const float eye[3] = {-90, 0, 90}, sea[3] = {-400, 0, 0};
  Draw(camera(eye, sea), &p);
  frame full = Frame();
  kxgeometry* ocean = w.ocean;
  w.ocean = nullptr;
  Draw(camera(eye, sea), &p);
  w.ocean = ocean;
  EXPECT_GT(Differing(full, Frame()), 1000);
}

}  // namespace
