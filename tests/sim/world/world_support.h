// Shared fixture of the scenery tests: a scratch data folder to load
// sceneries from, meshes and pictures written into it from the generators,
// and the program's world released after each test.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "graphics/image.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "platform/random.h"
#include "platform/reserves.h"
#include "sim/scenery.h"
#include "sim/session.h"
#include "sim/world/world.h"
#include "tests/graphics/geometry_support.h"
#include "tests/graphics/test_support.h"
#include "tools/meshgen/meshgen.h"

namespace kxtest {

class SceneryTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    std::filesystem::create_directories("scenery");
    std::filesystem::create_directories("objects");
    std::filesystem::create_directories("texture");
    kxsystem::SeedRandom(1);
    reserves_ = kxsystem::ReserveCount();
    textures_ = kxgl::TexturesInUse();
  }
  void TearDown() override {
    sim::FreeScenery(sim::TheWorld());
    EXPECT_EQ(kxsystem::ReserveCount(), reserves_);
    EXPECT_EQ(kxgl::TexturesInUse(), textures_);
    std::filesystem::current_path(previous_);
    GraphicsTest::TearDown();
  }

  static void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  // Writes the list as a text mesh (".obj") or a binary one (".tgo") and frees it.
  static void PutMesh(const std::string& path, kxgeometry* list) {
    bool binary = path.size() > 4 && path.compare(path.size() - 4, 4, ".tgo") == 0;
    ASSERT_TRUE(binary ? kxgeometry::WriteBinary(path.c_str(), list) : kxgeometry::WriteText(path.c_str(), list));
    kxgeometry::Free(&list);
  }
  static kxgeometry* Shape(const meshgen::mesh& m, const char* name) {
    return meshgen::ToElement(m, name, "", GL_N3F_V3F);
  }
  static void PutPicture(const std::string& path, int channels, int size = 4) {
    kximage image;
    image.width = image.height = size;
    image.channels = channels;
    image.pixels.assign(static_cast<size_t>(size) * size * channels, 200);
    ASSERT_TRUE(kxgl::WriteKxt(path.c_str(), image));
  }
  // Loads "scenery/test.geo" holding text into the program's world.
  world& Load(const std::string& text) {
    Put("scenery/test.geo", text);
    sim::LoadScenery("test", sim::TheWorld());
    return *sim::TheWorld();
  }

  std::filesystem::path previous_;
  int reserves_ = 0;
  int textures_ = 0;
};

}  // namespace kxtest
