#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "graphics/collision_world.h"
#include "graphics/texture_table.h"
#include "platform/log.h"
#include "sim/notice.h"
#include "sim/world/scenery_mesh.h"
#include "sim/world/world.h"
#include "tests/platform/input_support.h"
#include "tests/sim/world/world_support.h"

namespace {

class SceneryLoad : public kxtest::SceneryTest {};

TEST_F(SceneryLoad, CloudsCopyTheirTexelsAndMakeCloudlowUnlessThePictureIsBroken) {
  PutPicture("clouds.kxt", 1, 8);
  world& w = Load("CLOUDS 250 4 0.9 0.55 clouds.kxt\n");
  ASSERT_NE(w.cloud_texture, nullptr);
  ASSERT_NE(w.cloud_pixels, nullptr);
  EXPECT_EQ(w.cloud_pixels[63], 200);
  ASSERT_NE(w.cloud_low_texture, nullptr);
  EXPECT_STREQ(w.cloud_low_texture->name, "cloudlow");
  EXPECT_EQ(w.cloud_low_texture->width, 8);
  Put("broken.kxt", "KXT1 not a picture");
  Load("CLOUDS 250 4 0.9 0.55 broken.kxt\n");
  EXPECT_EQ(w.cloud_texture, nullptr);
  EXPECT_EQ(w.cloud_pixels, nullptr);
  EXPECT_EQ(w.cloud_low_texture, nullptr);
  EXPECT_TRUE(capture_.Contains("sim:    cloud texture broken.kxt unusable; no clouds\n"));
  Load("CLOUDS 250 4 0.9 0.55 gone.kxt\n");
  EXPECT_TRUE(capture_.Contains("sim:    cloud texture gone.kxt not found; no clouds\n"));
}

// The collision chain: the ocean alone heads it when there is one (its
// faces water), else the ground mesh; the objects follow either.
TEST_F(SceneryLoad, OceanHeadsTheCollisionChainElseTheGroundElseTheObjects) {
  PutMesh("scenery/high.obj", kxgeomtest::Plate(50, 5, "field_gras"));
  PutMesh("scenery/sea.obj", kxgeomtest::Plate(200, 0, "sea"));
  PutMesh("scenery/rock.obj", kxgeomtest::Plate(5, 20, "rock_dirt"));
  PutPicture("texture/water2.kxt", 3);
  const float far[3] = {100, 100, 500}, rock[3] = {0, 0, 500}, field[3] = {30, 30, 500};
  world& w = Load("OCEAN sea.obj\nGROUND high.obj\nOBJECT rock.obj\n");
  EXPECT_EQ(kxcollision::Current(), &w.collision);  // the world queries outside the dynamics step meet
  float normal[3];
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, field, normal), 0.0f);
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, rock, nullptr), 20.0f);
  EXPECT_NE(w.water_texture, nullptr);
  Load("GROUND high.obj\nOBJECT rock.obj\n");
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, field, nullptr), 5.0f);
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, far, nullptr), -1.0f);
  EXPECT_EQ(w.water_texture, nullptr);
  Load("OBJECT rock.obj\n");
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, rock, nullptr), 20.0f);
  EXPECT_EQ(kxcollision::GroundHeight(&w.collision, field, nullptr), -1.0f);
}

TEST_F(SceneryLoad, WindWheelTurnsAboutItsCentreAndItsFacesFollowTheStaticOnesNearIt) {
  meshgen::mesh blades = meshgen::WindBlades(3, 5, 1);
  meshgen::Translate(blades, 0, 0, 10);
  PutMesh("scenery/blades.obj", Shape(blades, "wwblades"));
  PutMesh("scenery/tower.obj", Shape(meshgen::WindTower(10, 0.5f, 2), "wwbase"));
  PutMesh("scenery/ground.obj", kxgeomtest::Plate(100, 0, "field_gras"));
  world& w = Load("OBJECT ground.obj GROUND\nDYNOBJECT blades.obj 20 0 0 wwblades\nDYNOBJECT tower.obj 20 0 0 wwbase\n"
                  "DYNOBJECT gone.obj 1 2 3\n");
  ASSERT_NE(w.dynobjects, nullptr);
  const kxgeometrydynobject& wheel = w.dynobjects[0];
  EXPECT_EQ(wheel.kind, kDynWindBlades);
  EXPECT_EQ(w.dynobjects[1].kind, kDynWindBase);
  EXPECT_EQ(w.dynobjects[1].next, nullptr);
  EXPECT_GE(wheel.spin, 0.9f);
  EXPECT_LT(wheel.spin, 1.1f);
  EXPECT_GE(wheel.angle, 0.0f);
  EXPECT_LT(wheel.angle, 360.0f);
  EXPECT_GT(wheel.volume, 0.0f);
  EXPECT_NEAR(wheel.hub[2], 10.0f, 0.01f);
  float centre[3], volume;
  sim::CenterOfVolume(wheel.mesh, 0, centre, &volume);
  EXPECT_NEAR(std::fabs(centre[0]) + std::fabs(centre[1]) + std::fabs(centre[2]), 0.0f, 1e-4);
  EXPECT_NEAR(wheel.frame.R.z, 10.0f, 0.01f);
  EXPECT_EQ(w.collision.nearObjectPass, &sim::NearObjectPass);
  EXPECT_TRUE(capture_.Contains("sim:    loading dynobject scenery/blades.obj=  (pos=20.00,0.00,0.00)\n"));
  EXPECT_TRUE(capture_.Contains("sim:    dynobject scenery/gone.obj not found\n"));
  // A sphere at the hub reaching the ground: ground faces first, then the wheel's.
  const float hub[3] = {20, 0, 10};
  int n = kxcollision::Gather(&w.collision, hub, 10.5f);
  ASSERT_GT(n, 2);
  EXPECT_EQ(w.collision.nearFaces[0]->frame, nullptr);
  int bladeFaces = 0;
  bool moving = false;
  for (int i = 0; i < n; ++i) {
    const kxcollface* f = w.collision.nearFaces[i];
    EXPECT_FALSE(moving && !f->frame) << "a static face after a moving one at " << i;
    moving = moving || f->frame;
    bladeFaces += f->frame == wheel.frame.Data();
  }
  EXPECT_GT(bladeFaces, 0);
}

TEST_F(SceneryLoad, PhotoSceneryLoadsItsTileGridSphereAndPhotoObjects) {
  int compression = kxgl::textureCompression;
  kxgl::textureCompression = 0;
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 4; ++j) PutPicture("scenery/pano" + std::to_string(i) + std::to_string(j) + ".kxt", 3);
  kxgeometry* field[2] = {kxgeomtest::Plate(50, 0, "field_gras"), kxgeomtest::Plate(5, 0.1f, "runway")};
  PutMesh("scenery/field.obj", meshgen::Chain(field, 2));
  PutMesh("scenery/ground.obj", kxgeomtest::Plate(500, -1, "land"));
  world& w = Load("GROUND ground.obj\nOBJECT field.obj GROUND\nPHOTOSPHERE 0 0 90\nLIGHT_POSITION 0 0 3 4 0\n"
                  "PHOTOTEXTURES 8 4 pano\n");
  ASSERT_EQ(w.photo, 1);
  EXPECT_EQ(w.photo_segments_x, 14);
  EXPECT_EQ(w.photo_segments_y, 16);
  EXPECT_STREQ(w.photo_textures[31]->name, "scenery/pano73.kxt");
  EXPECT_NEAR(w.photo_vertices[32 * 448 - 2][0], 0.0f, 1e-5);
  // PHOTOSPHERE 0 0 90: the sphere's X row is Rz(90)'s first row (0, -1, 0).
  EXPECT_NEAR(w.photo_matrix.X.y, -1.0f, 1e-6);
  ASSERT_NE(w.photo_objects, nullptr);
  EXPECT_EQ(w.photo_objects[0].flags, 37u);
  EXPECT_EQ(w.photo_objects[0].mesh, w.ground);
  EXPECT_EQ(w.photo_objects[1].mesh, w.objects[0].mesh);
  EXPECT_EQ(w.photo_objects[1].next, nullptr);
  EXPECT_FLOAT_EQ(w.objects[0].mesh->roughness, 0.006f);
  EXPECT_FLOAT_EQ(w.objects[0].mesh->next->roughness, 0.0f);
  EXPECT_FLOAT_EQ(w.sun_direction[1], 0.6f);
  EXPECT_TRUE(capture_.Contains("sim:    sphere params=0.0000 0.0000 90.0000\n"));
  EXPECT_TRUE(capture_.Contains(
      "sim:    load texture grid 8x4 (compress=0) named pano=(8x4) (14x16) (45.00 45.00) (3.21 3.00)\n"));
  // A missing tile leaves the scenery without a panorama; the teardown
  // checks that the tiles that did load are released.
  std::filesystem::remove("scenery/pano52.kxt");
  Load("PHOTOTEXTURES 8 4 pano\n");
  EXPECT_EQ(w.photo, 0);
  EXPECT_EQ(w.photo_objects, nullptr);
  EXPECT_TRUE(capture_.Contains("sim:    load texture grid 8x4 (compress=0) named pano=fail\n"));
  // Restored only now: the second load must look for the same tiles.
  kxgl::textureCompression = compression;
}

TEST_F(SceneryLoad, MissingFileGivesTheDefaultsAndTheCardPreview) {
  PutPicture("objects/card.kxt", 3);
  world& w = *sim::TheWorld();
  // Loading by the `scenery` setting itself, as the menu does.
  std::snprintf(sim::session.settings.scenery, sizeof sim::session.settings.scenery, "nowhere");
  EXPECT_EQ(sim::LoadScenery(sim::session.settings.scenery, &w), 1);
  EXPECT_STREQ(sim::session.settings.scenery, "nowhere");
  EXPECT_EQ(w.objects, nullptr);
  EXPECT_EQ(w.start_count, 0);
  EXPECT_EQ(w.start_viewer[0][0], 4.0f);
  EXPECT_EQ(w.cloud_height, 200);
  EXPECT_EQ(w.sun_direction[2], 1.0f);
  EXPECT_FLOAT_EQ(w.light_diffuse[3][1], 0.9f);
  EXPECT_FLOAT_EQ(w.sky_colours[1][2], 0.68f);
  ASSERT_NE(w.preview_texture, nullptr);
  EXPECT_STREQ(w.preview_texture->name, "objects/card.kxt");
  EXPECT_TRUE(capture_.Contains("sim:    scenery/nowhere.geo not found\n"));
  EXPECT_TRUE(capture_.Contains("sim:    0 objects  0 dynobjects\n"));
}

// A chosen scenery that gives nothing to stand on is replaced by the
// default one, with its reason and the replacement in the log and a notice;
// the setting keeps the user's choice. Houses are no ground: their faces
// would hold an aircraft only where it stood on a roof.
TEST_F(SceneryLoad, ASceneryWithoutGroundIsReplacedByTheDefaultOne) {
  PutMesh("scenery/field.obj", kxgeomtest::Plate(50, 0, "field_gras"));
  PutMesh("scenery/house.obj", kxgeomtest::Plate(5, 4, "house"));
  Put("scenery/junk.tgo", std::string("\x13\x9C\0\xFE" "KXG\x01\x7F\x80", 10));
  Put("scenery/winzeln.geo", "GROUND field.obj\n");
  struct broken {
    const char* name;
    std::string bytes;  // written as "scenery/<name>.geo" unless empty
    const char* said;
  } sceneries[] = {
      {"missing", "", "sim:    scenery/missing.geo not found\n"},
      {"empty", "", "kxsystem:  scenery/empty.geo: empty file\n"},
      {"utf16", std::string("\xFF\xFEG\0R\0O\0U\0N\0D\0", 14), "kxsystem:  scenery/utf16.geo: UTF-16 text"},
      {"binary", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), "sim:    0 objects  0 dynobjects\n"},
      {"folder", "", "sim:    scenery/folder.geo a folder\n"},
      {"nosuchmesh", "GROUND nothing.obj\n", "gl:  loading geometry scenery/nothing.obj=fail\n"},
      {"houses", "OBJECT house.obj\nOBJECT house.obj\n", "sim:    loading object scenery/house.obj=ok\n"},
      {"junkground", "OBJECT junk.tgo GROUND\nOBJECT house.obj\n", "gl:  loading geometry scenery/junk.tgo=fail\n"},
      {"groundaside", "POSITION 500 500 0\nOBJECT field.obj GROUND\nSTART_POSITION 0 0 1 0 -20 0 2\n",
       "sim:  scenery groundaside: its ground lies below none of its start positions\n"},
  };
  std::filesystem::create_directories("scenery/folder.geo");
  Put("scenery/empty.geo", "");
  world& w = *sim::TheWorld();
  for (const broken& b : sceneries) {
    SCOPED_TRACE(b.name);
    if (!b.bytes.empty()) Put(std::string("scenery/") + b.name + ".geo", b.bytes);
    std::snprintf(sim::session.settings.scenery, sizeof sim::session.settings.scenery, "%s", b.name);
    sim::ClearNotices();
    capture_.Clear();
    kxsystem::ClearLogHistory();
    EXPECT_EQ(sim::LoadSceneryOrDefault(sim::session.settings.scenery, &w), 1);
    EXPECT_STREQ(w.name, "winzeln");
    EXPECT_EQ(sim::HasGround(&w), 1);
    EXPECT_STREQ(sim::session.settings.scenery, b.name);
    // The file reader's own lines go to the program's log.
    EXPECT_TRUE(capture_.Contains(b.said) || inputtest::Logged(b.said)) << capture_.Text();
    EXPECT_TRUE(capture_.Contains((std::string("sim:  scenery ") + b.name +
                                   " has nothing to stand on; winzeln loaded instead\n").c_str()));
    EXPECT_EQ(sim::TakeNotice().find(std::string("The scenery ") + b.name + " could not be loaded"), 0u);
  }
  // Without the default one, any other scenery with ground stands in.
  std::filesystem::remove("scenery/winzeln.geo");
  Put("scenery/zfield.geo", "OBJECT field.obj ground\n");
  capture_.Clear();
  EXPECT_EQ(sim::LoadSceneryOrDefault("houses", &w), 1);
  EXPECT_STREQ(w.name, "zfield");
  EXPECT_TRUE(capture_.Contains("sim:  scenery houses has nothing to stand on; zfield loaded instead\n"));
  EXPECT_EQ(sim::TakeNotice().find("The scenery houses could not be loaded"), 0u);
  // Without any, there is no ground and no flight.
  std::filesystem::remove("scenery/zfield.geo");
  capture_.Clear();
  EXPECT_EQ(sim::LoadSceneryOrDefault("missing", &w), 0);
  EXPECT_EQ(sim::HasGround(&w), 0);
  EXPECT_TRUE(capture_.Contains("sim:  no scenery has anything to stand on; no flight is possible\n"));
  sim::ClearNotices();
}

// The data folder's sceneries, as the program loads them.
TEST_F(SceneryLoad, SampleSceneriesLoadWholeWithoutWarnings) {
  // KX_TEST_DATA is tests/sim/world/data; the sceneries are in data/ at the top.
  std::filesystem::current_path(std::filesystem::path(KX_TEST_DATA).parent_path().parent_path().parent_path().parent_path() / "data");
  struct expected {
    const char* name;
    int starts, contests, dynobjects;
    bool ocean;
  } sceneries[] = {{"seaslope", 3, 2, 2, true}, {"winzeln", 3, 4, 0, false}};
  for (const expected& e : sceneries) {
    capture_.Clear();
    world& w = *sim::TheWorld();
    sim::LoadScenery(e.name, &w);
    for (const char* bad : {"fail", "not found", "ignored", "unknown", "too long", "unusable", "invalid"})
      EXPECT_FALSE(capture_.Contains(bad)) << e.name << ": " << bad << "\n" << capture_.Text();
    EXPECT_EQ(w.start_count, e.starts) << e.name;
    EXPECT_EQ(w.contest_count, e.contests) << e.name;
    int dyn = 0;
    for (const kxgeometrydynobject* d = w.dynobjects; d; d = d->next) ++dyn;
    EXPECT_EQ(dyn, e.dynobjects) << e.name;
    EXPECT_EQ(w.ocean != nullptr, e.ocean) << e.name;
    EXPECT_GT(w.billboard_count, 0) << e.name;
    EXPECT_GT(w.transparent_count, w.billboard_count) << e.name;
    EXPECT_NE(w.cloud_pixels, nullptr) << e.name;
    EXPECT_NE(w.preview_texture, nullptr) << e.name;
    EXPECT_STRNE(w.preview_texture->name, "objects/card.kxt") << e.name;
    const float start[3] = {w.start_aircraft[0][0], w.start_aircraft[0][1], 5000};
    EXPECT_GT(kxcollision::GroundHeight(&w.collision, start, nullptr), 0.0f) << e.name;
  }
  const contestrec* winzeln = sim::TheWorld()->contests;
  EXPECT_GE(winzeln[0].pylon_count, 3);
  EXPECT_EQ(winzeln[1].balloon_count, 20);
}

}  // namespace
