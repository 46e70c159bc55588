// Aircraft display lists and reflections under a real context: the lists
// come in post-order and are drawn back in it; shininess picks the cube map
// added on texture unit 1.
#include "sim/views/aircraft_draw.h"

#include "dynamics/flight_state.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/views/reflection.h"
#include "views_gl_support.h"

namespace {

constexpr int kList = kxgeometricobject::kFlagList;

class AircraftDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (!IsSkipped()) sim::players[0].flight_state = &state_;
  }
  // A part covering the orthographic -1..1 view, facing it.
  kxgeometricobject* Square(const char* name, const float rgb[3], kxnode* parent, int flags) {
    return Part(name, &square_, rgb, parent, flags);
  }
  // Unlit, untextured, orthographic -1..1: a part shows its diffuse colour.
  static void Flat() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  meshgen::mesh square_ = meshgen::Box(2.5f, 2.5f, 0.1f);
  kxdflightstate state_;
};

TEST_F(AircraftDraw, ListsAreBuiltAndDrawnInPostOrder) {
  const float red[3] = {1, 0, 0}, green[3] = {0, 1, 0}, blue[3] = {0, 0, 1}, yellow[3] = {1, 1, 0};
  kxgeometricobject* root = Square("root", red, nullptr, kList);
  Square("a1", blue, Square("a", green, root, kList), kList);
  Square("b", red, root, 0);
  Square("c", yellow, root, kList);
  Part("empty", nullptr, nullptr, root);
  state_.graphics_root = root;
  simplayer& p = sim::players[0];
  int next = sim::kFirstAircraftList;
  sim::BuildAircraftLists(&p, &next);
  EXPECT_EQ(p.list_textured, 10);
  EXPECT_EQ(p.list_plain, 14);  // four flagged parts
  EXPECT_EQ(next, 20);          // a plain list for each of the six parts, the empty one too

  const float* order[] = {blue, green, yellow, red};
  for (int i = 0; i < 4; ++i) {
    Flat();
    glCallList(static_cast<GLuint>(10 + i));
    EXPECT_TRUE(Near(Centre(), order[i][0], order[i][1], order[i][2])) << "list " << 10 + i;
  }
  Flat();
  sim::DrawAircraft(&p, 0);  // the same order: the root, last, covers the rest
  EXPECT_TRUE(Near(Centre(), 1, 0, 0));
}

TEST_F(AircraftDraw, ShininessPicksTheCubeMapAddedOnUnitOne) {
  if (!kxgl::caps.cube_map || !kxgl::caps.multitexture) GTEST_SKIP() << "no cube maps";
  const uint8_t colours[4][3] = {{120, 0, 0}, {0, 120, 0}, {0, 0, 120}, {0, 0, 0}};
  MakeCubeMapEntries();
  for (int m = 0; m < 3; ++m) {
    glBindTexture(GL_TEXTURE_CUBE_MAP, sim::CubeMapName(m));
    for (int face = 0; face < 6; ++face)
      glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, colours[m]);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  }
  sim::SetupGL();
  const float black[3] = {0, 0, 0};
  kxgeometricobject* root = Square("shiny", black, nullptr, kList);
  state_.graphics_root = root;
  int next = sim::kFirstAircraftList;
  sim::BuildAircraftLists(&sim::players[0], &next);
  struct {
    float shininess;
    int reflections, map;
  } cases[] = {{0.25f, 1, 3}, {0.26f, 1, 2}, {0.5f, 1, 2}, {0.75f, 1, 1}, {0.76f, 1, 0}, {1.0f, 0, 3}};
  for (const auto& c : cases) {
    root->Shiny = c.shininess;
    sim::session.settings.gl_aircraft_reflections = c.reflections;
    Flat();
    sim::DrawAircraft(&sim::players[0], 0);
    const uint8_t* want = colours[c.map];
    EXPECT_TRUE(Near(Centre(), want[0] / 255.0f, want[1] / 255.0f, want[2] / 255.0f)) << c.shininess;
  }

  GLint binding = 0, mode = 0;
  sim::BeginReflection(0.8f);
  kxgl::caps.active_texture(GL_TEXTURE1);
  glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &binding);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP) && glIsEnabled(GL_TEXTURE_GEN_R));
  EXPECT_EQ(binding, static_cast<GLint>(sim::CubeMapName(0)));
  EXPECT_EQ(mode, GL_ADD);
  sim::EndReflection();
  kxgl::caps.active_texture(GL_TEXTURE1);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP) || glIsEnabled(GL_TEXTURE_GEN_S));
  kxgl::caps.active_texture(GL_TEXTURE0);
}

}  // namespace
