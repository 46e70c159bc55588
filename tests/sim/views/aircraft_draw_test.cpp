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

class AircraftDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    square_ = meshgen::Box(2.5f, 2.5f, 0.1f);  // covers the -1..1 view, facing +z
    sim::players[0].flight_state = &state_;
  }
  // Orthographic -1..1, unlit, untextured: a part shows its diffuse colour.
  static void Flat() {
    glViewport(0, 0, viewstest::kWidth, viewstest::kHeight);
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
  kxgeometricobject* Flagged(const char* name, const float rgb[3], kxnode* parent, int flags) {
    kxgeometricobject* o = Part(name, &square_, rgb, parent);
    o->Flags = flags;
    return o;
  }
  meshgen::mesh square_;
  kxdflightstate state_;
};

TEST_F(AircraftDraw, ListsAreBuiltAndDrawnInPostOrder) {
  const float red[3] = {1, 0, 0}, green[3] = {0, 1, 0}, blue[3] = {0, 0, 1}, yellow[3] = {1, 1, 0},
              white[3] = {1, 1, 1};
  const int list = kxgeometricobject::kFlagList;
  kxgeometricobject* root = Flagged("root", red, nullptr, list);
  kxgeometricobject* a = Flagged("a", green, root, list);
  Flagged("a1", blue, a, list);
  Flagged("b", white, root, 0);
  Flagged("c", yellow, root, list);
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
  glColor3f(1, 0, 1);
  glCallList(16);  // b's plain list: its shape in the current colour
  EXPECT_TRUE(Near(Centre(), 1, 0, 1));

  // The list pass walks the same order: the root, drawn last, covers the rest.
  Flat();
  sim::DrawAircraft(&p, 0);
  EXPECT_TRUE(Near(Centre(), 1, 0, 0));
}

TEST_F(AircraftDraw, ShininessPicksTheCubeMapAddedOnUnitOne) {
  if (!kxgl::caps.cube_map || !kxgl::caps.multitexture) GTEST_SKIP() << "no cube maps";
  const uint8_t colours[3][3] = {{120, 0, 0}, {0, 120, 0}, {0, 0, 120}};
  for (int m = 0; m < 3; ++m) {
    std::string name = "cubemap" + std::to_string(m);
    kxtexture* t = kxgl::CreateTexture(name.c_str(), kxgl::kTypeRGB, 1, 1, kxgl::kFilterNearest, kxgl::kWrapClamp,
                                       kxgl::kWrapClamp, 0);
    t->cube = 1;
    sim::session.cubemap_textures[m] = t;
    glBindTexture(GL_TEXTURE_CUBE_MAP, sim::CubeMapName(m));
    for (int face = 0; face < 6; ++face)
      glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, colours[m]);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  sim::SetupGL();
  const float black[3] = {0, 0, 0};
  kxgeometricobject* root = Flagged("shiny", black, nullptr, kxgeometricobject::kFlagList);
  state_.graphics_root = root;
  int next = sim::kFirstAircraftList;
  sim::BuildAircraftLists(&sim::players[0], &next);
  struct {
    float shininess;
    int map;
  } cases[] = {{0.25f, -1}, {0.26f, 2}, {0.5f, 2}, {0.75f, 1}, {0.76f, 0}};
  for (const auto& c : cases) {
    root->Shiny = c.shininess;
    Flat();
    sim::DrawAircraft(&sim::players[0], 0);
    kxtest::pixel got = Centre();
    const uint8_t none[3] = {0, 0, 0};
    const uint8_t* want = c.map < 0 ? none : colours[c.map];
    EXPECT_TRUE(Near(got, want[0] / 255.0f, want[1] / 255.0f, want[2] / 255.0f)) << c.shininess;
  }
  sim::session.gl_aircraft_reflections = 0;
  root->Shiny = 1.0f;
  Flat();
  sim::DrawAircraft(&sim::players[0], 0);
  EXPECT_TRUE(Near(Centre(), 0, 0, 0));

  auto unitOne = [](GLenum what) {
    kxgl::caps.active_texture(GL_TEXTURE1);
    GLint value = 0;
    if (what == GL_TEXTURE_ENV_MODE) {
      glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    } else if (what == GL_TEXTURE_BINDING_CUBE_MAP) {
      glGetIntegerv(what, &value);
    } else {
      value = glIsEnabled(what);
    }
    kxgl::caps.active_texture(GL_TEXTURE0);
    return value;
  };
  sim::BeginReflection(0.8f);
  EXPECT_EQ(unitOne(GL_TEXTURE_CUBE_MAP), GL_TRUE);
  EXPECT_EQ(unitOne(GL_TEXTURE_BINDING_CUBE_MAP), static_cast<GLint>(sim::CubeMapName(0)));
  EXPECT_EQ(unitOne(GL_TEXTURE_ENV_MODE), GL_ADD);
  EXPECT_EQ(unitOne(GL_TEXTURE_GEN_R), GL_TRUE);
  sim::EndReflection();
  EXPECT_EQ(unitOne(GL_TEXTURE_CUBE_MAP), GL_FALSE);
  EXPECT_EQ(unitOne(GL_TEXTURE_GEN_S), GL_FALSE);
}

}  // namespace
