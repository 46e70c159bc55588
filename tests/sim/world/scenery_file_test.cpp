#include <cmath>
#include <cstdio>
#include <string>

#include "graphics/collision_world.h"
#include "sim/session.h"
#include "sim/world/world.h"
#include "tests/sim/world/world_support.h"

namespace {

class SceneryFile : public kxtest::SceneryTest {
 protected:
  void SetUp() override {
    SceneryTest::SetUp();
    // A unit box with a glass pane marked transparent by its name only.
    meshgen::mesh pane = meshgen::Box(0.5f, 0.1f, 0.5f);
    meshgen::Translate(pane, 0, 0.6f, 0);
    kxgeometry* box[2] = {Shape(meshgen::Box(1, 1, 1), "house_wall"), Shape(pane, "T__glass")};
    PutMesh("scenery/box.obj", meshgen::Chain(box, 2));
    meshgen::mesh tree = meshgen::TreeCards(2, 4);
    meshgen::Translate(tree, 10, 5, 0);
    kxgeometry* bbrd = Shape(tree, "bbrd1");
    bbrd->transparent = 1;
    PutMesh("scenery/trees.obj", bbrd);
    PutMesh("scenery/ground.tgo", kxgeomtest::Plate(50, 0, "field_gras"));
    PutMesh("objects/balloon.obj", meshgen::SceneryShape("balloon"));
  }
  std::vector<float> Vertex(const kxgeometryobject* o, int i) {
    float p[3];
    EXPECT_TRUE(kxgeometry::GetVertexPosition(o->mesh, i, p));
    return {p[0], p[1], p[2]};
  }
};

TEST_F(SceneryFile, ObjectsTransformsStartsLightsAndSettings) {
  world& w = Load(
      "// a comment line\n"
      "object box.obj ground\n"
      "POSITION 10 0 0\nSCALE 2 2 2\nOBJECT box.obj\n"
      "POSITION 0 0 0\nSCALE 1 1 1\nROTATE 0 0 90\nOBJECT box.obj\n"
      "ROTATE 0 0 0\nOBJECT missing.obj\nOBJECT trees.obj\n"
      "GROUND ground.obj\nSCENERY 4000\nCLOUDS 150 3 0.7 0.4\nVIEWC 0 300\nCUBE 20 -5 30 50\nHASSHADOW\n"
      "LIGHT_AMBIENT 1 0.2 0.3 0.4\nLIGHT_AMBIENT2 0.9 0.9 0.9\nLIGHT_DIFFUSE 7 1 1 1\nLIGHT_POSITION 0 3 0 4 0\n"
      "START_POSITION 1 2 3 45 4 5 6\n"
      "START_POSITION 0 0 0 0 0 0 0 noheli NOAIRPLANE\n"
      "START_POSITION 0 0 0 0 0 0 0 indoor\n");
  EXPECT_EQ(sim::session.settings.scenery, std::string("test"));
  EXPECT_STREQ(w.name, "test");
  // Objects in file order; the missing one is left out.
  int count = 0;
  for (const kxgeometryobject* o = w.objects; o; o = o->next) ++count;
  ASSERT_EQ(count, 4);
  const kxgeometryobject* o = w.objects;
  EXPECT_EQ(o[0].flags, 32u);
  EXPECT_EQ(o[1].flags, 0u);
  EXPECT_STREQ(o[1].path, "scenery/box.obj");
  // The box's first vertex (-0.5, -0.5, 0.5): moved, then scaled with its offset; then turned.
  EXPECT_EQ(Vertex(&o[1], 0), (std::vector<float>{19, -1, 1}));
  std::vector<float> turned = Vertex(&o[2], 0);
  EXPECT_NEAR(turned[0], -0.5f, 1e-5);
  EXPECT_NEAR(turned[1], 0.5f, 1e-5);
  EXPECT_EQ(o[0].mesh->next->transparent, 1);
  ASSERT_NE(w.ground, nullptr);
  EXPECT_EQ(w.scenery_size, 4000);
  EXPECT_EQ(w.cloud_height, 150);
  EXPECT_EQ(w.cloud_repeat, 3);
  EXPECT_FLOAT_EQ(w.cloud_density, 0.7f);
  EXPECT_FLOAT_EQ(w.cloud_exponent, 0.4f);
  EXPECT_EQ(w.viewer_probe_step, 50.0f);
  EXPECT_EQ(w.viewer_probe_range, 300.0f);
  EXPECT_EQ(w.octree_min_cell[0], 20.0f);
  EXPECT_EQ(w.octree_min_cell[1], 100.0f);
  EXPECT_EQ(w.octree_max_triangles, 50);
  EXPECT_EQ(w.has_shadow, 1);
  EXPECT_FLOAT_EQ(w.light_ambient[1][2], 0.4f);
  EXPECT_FLOAT_EQ(w.light_ambient[1][3], 1.0f);
  EXPECT_FLOAT_EQ(w.light_ambient[2][0], 0.05f);
  EXPECT_FLOAT_EQ(w.light_position[0][0], 0.6f);
  EXPECT_FLOAT_EQ(w.light_position[0][2], 0.8f);
  ASSERT_EQ(w.start_count, 3);
  EXPECT_EQ(w.start_flags[0], 3);
  EXPECT_EQ(w.start_flags[1], 0);
  EXPECT_EQ(w.start_flags[2], 7);
  EXPECT_EQ(w.start_heading[0], 45.0f);
  EXPECT_EQ(w.start_viewer[0][2], 6.0f);
  // Ground height over the ground mesh, away from the boxes.
  const float p[3] = {30, 30, 100};
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, p, nullptr), 0.0f);
  for (const char* line : {"sim:  loading scenery scenery/test.geo...\n", "sim:    5 objects  0 dynobjects\n",
                           "sim:    loading ground object scenery/box.obj=ok\n", "sim:    loading object scenery/box.obj=ok\n",
                           "sim:    object scenery/missing.obj not found\n", "sim:    loading ground scenery/ground.obj\n",
                           "sim:    start position 1 \n", "sim:    start position 2  (not for helicopter) (not for airplanes)\n",
                           "sim:    start position 3  (indoor)\n", "sim:    4 transparent geometries  1 billboards\n"}) {
    EXPECT_TRUE(capture_.Contains(line)) << line;
  }
  EXPECT_TRUE(capture_.Contains("sim:    loading time="));
}

TEST_F(SceneryFile, BillboardsAreCentredAndOtherTransparentElementsKeepTheirPlace) {
  world& w = Load("OBJECT box.obj\nOBJECT trees.obj\n");
  ASSERT_EQ(w.transparent_count, 2);
  ASSERT_EQ(w.billboard_count, 1);
  const kxtransparentgeometry& glass = w.transparent[0];
  EXPECT_EQ(glass.billboard, 0);
  EXPECT_NEAR(glass.centre[1], 0.6f, 1e-5);
  const kxtransparentgeometry& tree = w.transparent[1];
  EXPECT_EQ(tree.billboard, 1);
  EXPECT_NEAR(tree.centre[0], 10.0f, 1e-5);
  EXPECT_NEAR(tree.centre[1], 5.0f, 1e-5);
  EXPECT_NEAR(tree.centre[2], 2.0f, 1e-5);
  EXPECT_NEAR(tree.radius, 1.0f, 1e-5);
  EXPECT_NEAR(tree.halfHeight, 2.0f, 1e-5);
  EXPECT_NEAR(tree.element->boundsMax[2], 2.0f, 1e-5);
  EXPECT_EQ(w.transparent[2].element, nullptr);
}

TEST_F(SceneryFile, ContestsHoldTheirPylonsBalloonsCourseAndArea) {
  kxtexture* shadow = kxgl::CreateTexture("balloonshadow", kxgl::kTypeRGBA, 4, 4, kxgl::kFilterLinear,
                                          kxgl::kWrapClamp, kxgl::kWrapClamp, 0);
  sim::session.media.balloon_shadow_texture = shadow;
  sim::session.run.selected_contest = 3;
  world& w = Load(
      "STARTACFT 1 1 1 1\n"
      "CONTEST PYLONRACE\nSTARTACFT 5 6 0.5 90\nSTARTVIEW 1 2 3\nPOSITION 100 0 0\nPYLON 0 0 0 1 2\nPYLON 10 0 0\n"
      "BALLOONS 5 1 0 0 0 1 1 1\n"
      "CONTEST BALLOONPOP\nPYLON 1 1 1\nBALLOONS 10 0.5 -5 -5 1 5 5 3\n"
      "CONTEST DRAGRACE\nDRAGRACE 150 30\n"
      "CONTEST SPOTLANDING\nSPOTAREA 20 10\n"
      "CONTEST HANGGLIDING\n");
  sim::session.media.balloon_shadow_texture = nullptr;
  EXPECT_EQ(sim::session.run.selected_contest, 0);
  ASSERT_EQ(w.contest_count, 5);
  ASSERT_EQ(w.first_contest, &w.contests[0]);
  const contestkind kinds[5] = {kContestPylonRace, kContestBalloonPop, kContestDragRace, kContestSpotLanding, kContestNone};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(w.contests[i].kind, kinds[i]);
    EXPECT_EQ(w.contests[i].best_time, -1);
    EXPECT_EQ(w.contests[i].next, i < 4 ? &w.contests[i + 1] : nullptr);
  }
  const contestrec& race = w.contests[0];
  EXPECT_EQ(race.heading, 90.0f);
  EXPECT_EQ(race.start_position[1], 6.0f);
  EXPECT_EQ(race.view_position[2], 3.0f);
  ASSERT_EQ(race.pylon_count, 2);
  EXPECT_EQ(race.first_pylon->position[0], 100.0f);
  EXPECT_EQ(race.first_pylon->p5, 2.0f);
  EXPECT_EQ(race.first_pylon->next->position[0], 110.0f);
  EXPECT_EQ(race.balloon_count, 0);
  const contestrec& pop = w.contests[1];
  EXPECT_EQ(pop.pylon_count, 0);
  ASSERT_EQ(pop.balloon_count, 10);
  EXPECT_EQ(pop.balloons_left, 10);
  int balloons = 0;
  for (const balloonrec* b = pop.first_balloon; b; b = b->next, ++balloons) {
    EXPECT_GE(b->radius, 0.5f * 0.999f);
    EXPECT_LT(b->radius, 1.0f);
    EXPECT_NE(b->body, nullptr);
    EXPECT_NEAR(b->shadow.size, 2 * b->radius, 0.05f);
    EXPECT_EQ(b->shadow.texture, shadow);
    float f = 0.2f * b->radius / 0.5f;
    EXPECT_NEAR(b->mesh->diffuse[0], 0.5f + 1.25f * f, 0.01f);
    EXPECT_EQ(b->mesh->diffuse[3], 0.9f);
  }
  EXPECT_EQ(balloons, 10);
  EXPECT_EQ(w.contests[2].drag_heading, 30.0f);
  EXPECT_EQ(w.contests[3].spot_width, 10.0f);
  for (const char* line : {"sim:    pylon 1=(100.00,0.00,0.00)\n", "sim:    pylon 2=(110.00,0.00,0.00)\n",
                           "sim:    ballons=10 (-5.00,-5.00,1.00) (5.00,5.00,3.00)\n", "sim:    dragrace=(150.00,30.00)\n",
                           "sim:    spotarea=(20.00,10.00)\n"}) {
    EXPECT_TRUE(capture_.Contains(line)) << line;
  }
  sim::FreeScenery(&w);
  kxgl::FreeTexture(shadow);
}

// Lines beyond their limits or with bad values change nothing and never
// reach an array past its end.
TEST_F(SceneryFile, LinesBeyondLimitsOrWithBadValuesAreIgnored) {
  std::string text = "SCENERY -5\nVIEWC -3 10\nCUBE 0 -1 5 0\nPOSITION 1 2 3\nPOSITION nan 7\nPOSITION 1e40\nOBJECT box.obj\n";
  text += "START_POSITION 0 0 0 0 0 0 0 " + std::string(40, 'y') + " noheli\n";
  for (int i = 0; i < 20; ++i) text += "START_POSITION " + std::to_string(i) + " 0 0 0 0 0 0\n";
  text += "OBJECT " + std::string(200, 'x') + ".obj\n";
  text += "PHOTOTEXTURES 0 4 a\nPHOTOTEXTURES 61 1 a\nPHOTOTEXTURES 12 13 a\n";
  for (int i = 0; i < 11; ++i) text += "CONTEST BALLOONPOP\n";
  text += "BALLOONS 80 1 0 0 0 1 1 1\nBALLOONS -1 1 0 0 0 1 1 1\nBALLOONS 3 0 0 0 0 1 1 1\nCONTEST PYLONRACE\n";
  for (int i = 0; i < 51; ++i) text += "PYLON 1 2 3\n";
  text += "CONTEST PYLONRACE\nPYLON 0 0 0\n";
  world& w = Load(text);
  EXPECT_EQ(w.scenery_size, 6000);
  EXPECT_EQ(w.viewer_probe_step, 50.0f);
  EXPECT_EQ(w.octree_min_cell[2], 5.0f);
  EXPECT_EQ(w.octree_min_cell[0], 100.0f);
  EXPECT_EQ(w.octree_max_triangles, 200);
  EXPECT_EQ(w.start_count, 20);
  EXPECT_EQ(w.start_flags[0], 2);
  EXPECT_FALSE(capture_.Contains("start position 21"));
  EXPECT_EQ(w.photo, 0);
  EXPECT_EQ(w.contest_count, 10);
  for (const contestrec& c : w.contests) EXPECT_EQ(c.balloon_count, 0);
  // The box moved by the last finite POSITION only; the over-long name loaded nothing.
  ASSERT_NE(w.objects, nullptr);
  EXPECT_EQ(w.objects->next, nullptr);
  EXPECT_EQ(Vertex(w.objects, 0), (std::vector<float>{0.5f, 1.5f, 3.5f}));
  EXPECT_TRUE(capture_.Contains("sim:    nan is no finite number; the rest of its line is not read\n"));
  EXPECT_TRUE(capture_.Contains("sim:    1e40 is no finite number; the rest of its line is not read\n"));
  EXPECT_TRUE(capture_.Contains("sim:    word of 204 characters too long, skipped\n"));
  EXPECT_TRUE(capture_.Contains("sim:    word of 40 characters too long, skipped\n"));
  EXPECT_TRUE(capture_.Contains("sim:    texture grid 12x13 outside 1..60 per side and 128 tiles; ignored\n"));
  EXPECT_TRUE(capture_.Contains("sim:    80 balloons of size 1.00 outside 0..79 and above 0; ignored\n"));
}

TEST_F(SceneryFile, SecondBalloonsLineReplacesTheFirstAndAMissingMeshLeavesBalloonsOut) {
  world& w = Load("CONTEST BALLOONPOP\nBALLOONS 5 1 0 0 0 9 9 9\nBALLOONS 3 1 0 0 0 9 9 9\n"
                  "BALLOONS 99 4 -50 -50 -50 50 50 50\n");
  EXPECT_EQ(w.contests[0].balloon_count, 3);
  // The refused line leaves the size and box the balloons were made for.
  EXPECT_EQ(w.contests[0].balloon_size, 1.0f);
  EXPECT_EQ(w.contests[0].balloon_min[0], 0.0f);
  EXPECT_EQ(w.contests[0].balloon_max[2], 9.0f);
  std::filesystem::remove("objects/balloon.obj");
  Load("CONTEST BALLOONPOP\nBALLOONS 4 1 0 0 0 9 9 9\n");
  EXPECT_EQ(w.contests[0].balloon_count, 0);
  EXPECT_EQ(w.contests[0].first_balloon, nullptr);
}

// A file saved with a byte-order mark and lone CRs reads as the same file
// with LF line ends.
TEST_F(SceneryFile, AByteOrderMarkAndLoneCarriageReturnsReadAsPlainLines) {
  world& w = Load("\xEF\xBB\xBFSCENERY 4000\rOBJECT box.obj\rOBJECT box.obj\r\nVIEWC 0 300\r");
  EXPECT_EQ(w.scenery_size, 4000);
  int count = 0;
  for (const kxgeometryobject* o = w.objects; o; o = o->next) ++count;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(w.viewer_probe_range, 300.0f);
}

// Balloons too large for a finite shape and a light whose direction cannot
// be normalised are refused with a line each; what was there stays.
TEST_F(SceneryFile, HugeBalloonsAndLightsAreRefused) {
  world& w = Load("CONTEST BALLOONPOP\nBALLOONS 3 1 0 0 0 9 9 9\nBALLOONS 5 2e38 0 0 0 9 9 9\n"
                  "LIGHT_POSITION 0 3 0 4 0\nLIGHT_POSITION 0 1e20 0 0 0\n");
  const contestrec& c = w.contests[0];
  EXPECT_EQ(c.balloon_count, 3);
  EXPECT_EQ(c.balloon_size, 1.0f);
  for (const balloonrec* b = c.first_balloon; b; b = b->next) {
    EXPECT_TRUE(std::isfinite(b->radius));
    EXPECT_LT(b->radius, 10.0f);
  }
  EXPECT_FLOAT_EQ(w.light_position[0][0], 0.6f);
  EXPECT_FLOAT_EQ(w.light_position[0][2], 0.8f);
  EXPECT_TRUE(capture_.Contains("sim:    balloons of size 2e+38 above 1e+06 would have no finite shape; ignored\n"));
  EXPECT_TRUE(capture_.Contains("sim:    light position 1e+20 0 0 0 too large; ignored\n"));
}

// A scenery named by a path is not loaded and leaves the setting alone; the
// files a scenery names stay inside the data folder.
TEST_F(SceneryFile, PathsThatLeaveTheirFoldersAreRefused) {
  Put("outside.geo", "SCENERY 4000\n");
  std::snprintf(sim::session.settings.scenery, sizeof sim::session.settings.scenery, "%s", "before");
  for (const char* name : {"../outside", "/tmp/outside", ".hidden", "a/b"}) {
    sim::LoadScenery(name, sim::TheWorld());
    EXPECT_EQ(sim::TheWorld()->scenery_size, 6000) << name;
    EXPECT_STREQ(sim::session.settings.scenery, "before") << name;
    std::string line = std::string("sim:  scenery ") + name + " is no name inside scenery/; not loaded\n";
    EXPECT_TRUE(capture_.Contains(line.c_str())) << name;
  }
  Put("box.obj", "");
  world& w = Load("OBJECT ../box.obj\nOBJECT /etc/box.obj\nDYNOBJECT ../box.obj 0 0 0\nGROUND ../../ground.tgo\n"
                  "OCEAN c:/sea.obj\nCLOUDS 150 3 0.7 0.4 ../../clouds.kxt\nPHOTOTEXTURES 2 2 ../tile\n");
  EXPECT_EQ(w.objects, nullptr);
  EXPECT_EQ(w.dynobjects, nullptr);
  EXPECT_EQ(w.ground, nullptr);
  EXPECT_EQ(w.ocean, nullptr);
  EXPECT_STREQ(w.cloud_path, "");
  EXPECT_EQ(w.photo, 0);
  for (const char* file :
       {"../box.obj", "/etc/box.obj", "../../ground.tgo", "c:/sea.obj", "../../clouds.kxt", "../tile"}) {
    std::string line = std::string("sim:    ") + file + " leaves the data folder; ignored\n";
    EXPECT_TRUE(capture_.Contains(line.c_str())) << file;
  }
}

}  // namespace
