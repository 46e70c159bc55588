// Reflection cube maps: the texel curve, and under a real context a box of
// coloured plates around the aircraft whose every quarter must come back
// through the reflection lookup in its own direction, the three maps'
// strengths, and one build per placement.
#include "sim/views/reflection_maps.h"

#include <cstring>

#include "dynamics/flight_state.h"
#include "platform/reserves.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/views/reflection.h"
#include "tools/meshgen/meshgen_grid.h"
#include "views_gl_support.h"

namespace {

using kxtest::pixel;

constexpr float kReach = 10.0f;  // m from the aircraft to each plate

TEST(ReflectionTexel, WhiteGivesNinetyFiveTwentyThreeAndTenBlackNothing) {
  struct {
    int byte, texel[3];
  } rows[] = {{255, {95, 23, 10}}, {0, {0, 0, 0}}, {128, {24, 6, 2}}, {51, {6, 1, 0}}, {204, {58, 14, 6}}};
  for (const auto& r : rows)
    for (int map = 0; map < 3; ++map) EXPECT_EQ(sim::ReflectionTexel(r.byte, map), r.texel[map]) << r.byte << " " << map;
}

// The six directions with two axes across each, in the cube maps' face order.
struct facedir {
  float D[3], A[3], B[3];
};
constexpr facedir kDirections[6] = {
    {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
    {{0, -1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}}};

// Quarter q of direction f: red for the +A half, green for the +B half,
// blue telling the direction.
void QuarterColour(int f, int q, float rgb[3]) {
  rgb[0] = q & 1 ? 1.0f : 0.5f;
  rgb[1] = q & 2 ? 1.0f : 0.5f;
  rgb[2] = static_cast<float>(f) / 5.0f;
}

class ReflectionMapsDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    MakeCubeMapEntries();
    sim::session.settings.cloud_type = sim::kCloudsNone;
    sim::players[0].flight_state = &state_;
    std::copy(place_, place_ + 3, state_.position());
  }
  // Twenty-four plates closing a box of 2 kReach around the aircraft, each
  // a quarter of a side, lit by ambient light alone so each shows its colour.
  world& PlateBox() {
    std::vector<kxgeometry*> plates;
    for (int f = 0; f < 6; ++f) {
      const facedir& d = kDirections[f];
      for (int q = 0; q < 4; ++q) {
        const float a = q & 1 ? 1.0f : -1.0f, b = q & 2 ? 1.0f : -1.0f;
        float corner[4][3];
        const float span[4][2] = {{0, 0}, {a, 0}, {a, b}, {0, b}};
        for (int c = 0; c < 4; ++c)
          for (int k = 0; k < 3; ++k)
            corner[c][k] = place_[k] + kReach * (d.D[k] + span[c][0] * d.A[k] + span[c][1] * d.B[k]);
        meshgen::mesh m;
        meshgen::AddQuad(m, corner[0], corner[1], corner[2], corner[3]);  // both sides: one faces the aircraft
        meshgen::AddQuad(m, corner[3], corner[2], corner[1], corner[0]);
        float rgb[3];
        QuarterColour(f, q, rgb);
        plates.push_back(meshgen::ColouredElement(m, "plate", "", rgb));
      }
    }
    PutMesh("scenery/box.tgo", meshgen::Chain(plates.data(), plates.size()));
    world& w = Load("OBJECT box.tgo\n");
    const float ambient[4] = {1 / 0.3f, 1 / 0.3f, 1 / 0.3f, 1}, none[4] = {0, 0, 0, 1};
    std::copy(ambient, ambient + 4, w.light_ambient[0]);
    std::copy(none, none + 4, w.light_diffuse[0]);
    std::copy(none, none + 4, w.light_specular[0]);
    sim::SetupGL();
    sim::BuildSceneryLists();
    return w;
  }
  // The reflection of the world direction d as the scene's lookup finds it
  // in map 0: eye-space d through the texture matrix of a camera turned
  // every way, sampled on one small quad.
  static pixel Reflected(const float d[3]) {
    const float eye[3] = {0, 0, 0}, at[3] = {1, 2, 0.5f};
    viewstest::camera c(eye, at);
    float V[16], T[16];
    sim::ViewMatrix(eye, &c.X.x, &c.Y.x, &c.Z.x, V);
    sim::ReflectionTextureMatrix(V, T);
    const float r[3] = {V[0] * d[0] + V[4] * d[1] + V[8] * d[2], V[1] * d[0] + V[5] * d[1] + V[9] * d[2],
                        V[2] * d[0] + V[6] * d[1] + V[10] * d[2]};
    sim::WindowOrtho(viewstest::kWidth, viewstest::kHeight);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sim::CubeMapName(0));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(T);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT);
    glTexCoord3fv(r);
    glRectf(70, 50, 90, 70);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return Centre();
  }
  // Level 0 of one face of a map, RGB.
  static std::vector<uint8_t> Face(int map, int face) {
    std::vector<uint8_t> rgb(static_cast<size_t>(sim::kCubeSize) * sim::kCubeSize * 3);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sim::CubeMapName(map));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
  }
  int Builds() const {
    int n = 0;
    for (size_t at = 0; (at = capture_.Text().find("sim:  building rflmaps=", at)) != std::string::npos; ++at) ++n;
    return n;
  }

  kxdflightstate state_;
  const float place_[3] = {3, 4, 50};
};

TEST_F(ReflectionMapsDraw, EveryQuarterOfTheBoxComesBackInItsOwnDirection) {
  ASSERT_TRUE(kxgl::caps.cube_map);
  PlateBox();
  sim::BuildReflectionMaps(sim::TheWorld());
  ASSERT_EQ(Builds(), 1);
  for (int f = 0; f < 6; ++f) {
    const facedir& d = kDirections[f];
    for (int q = 0; q < 4; ++q) {
      const float a = q & 1 ? 0.5f : -0.5f, b = q & 2 ? 0.5f : -0.5f;
      const float dir[3] = {d.D[0] + a * d.A[0] + b * d.B[0], d.D[1] + a * d.A[1] + b * d.B[1],
                            d.D[2] + a * d.A[2] + b * d.B[2]};
      float rgb[3];
      QuarterColour(f, q, rgb);
      pixel p = Reflected(dir);
      const int got[3] = {p.r, p.g, p.b};
      for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(got[k], sim::ReflectionTexel(static_cast<int>(std::lround(rgb[k] * 255)), 0), 2)
            << "direction " << f << " quarter " << q << " channel " << k;
    }
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ReflectionMapsDraw, TheThreeMapsHoldTheFacesAtFallingStrengthWithTheirMipmaps) {
  PlateBox();
  void*& faces = sim::session.media.reflection_maps2;
  void*& maps = sim::session.media.reflection_maps1;
  const long faceBytes = 6L * sim::kCubeSize * sim::kCubeSize * 3;
  ASSERT_TRUE(kxsystem::Reserve(&faces, faceBytes, "reflmaps2"));
  ASSERT_TRUE(kxsystem::Reserve(&maps, 3 * faceBytes, "reflmaps1"));
  sim::session.media.cube_size = sim::kCubeSize;
  sim::BuildReflectionMaps(sim::TheWorld());
  const int strongest[3] = {95, 23, 10};
  for (int map = 0; map < 3; ++map) {
    for (int f = 0; f < 6; ++f) {
      std::vector<uint8_t> face = Face(map, f);
      int most = 0;
      for (size_t i = 0; i < face.size(); i += 3) most = std::max(most, static_cast<int>(face[i]));
      EXPECT_EQ(most, strongest[map]) << map << " " << f;  // each face has red quarters
      // What was uploaded is what the session's buffer holds.
      EXPECT_EQ(std::memcmp(face.data(), static_cast<uint8_t*>(maps) + faceBytes * map + face.size() * f, face.size()),
                0);
    }
    GLint last = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 7, GL_TEXTURE_WIDTH, &last);
    EXPECT_EQ(last, 1) << map;
  }
  const uint8_t* scene = static_cast<uint8_t*>(faces);  // the scene's own bytes, toned down into map 0
  for (long i = 0; i < faceBytes; i += 997)
    EXPECT_EQ(static_cast<uint8_t*>(maps)[i], sim::ReflectionTexel(scene[i], 0)) << i;
  kxsystem::Release(&faces);
  kxsystem::Release(&maps);
  sim::session.media.cube_size = 0;
}

TEST_F(ReflectionMapsDraw, MapsAreBuiltOncePerPlacement) {
  world& w = PlateBox();
  sim::BuildReflectionMaps(&w);
  EXPECT_TRUE(capture_.Contains("sim:  building rflmaps=(3.00 4.00 50.00) done\n"));
  sim::BuildReflectionMaps(&w);
  EXPECT_EQ(Builds(), 1);
  struct {
    float dx;
    const char* scenery;
    int builds;
  } steps[] = {{0.9f, "test", 1}, {2.0f, "test", 2}, {2.0f, "TEST", 2}, {2.0f, "other", 3}};
  for (const auto& s : steps) {
    state_.position()[0] = place_[0] + s.dx;
    std::snprintf(w.name, sizeof w.name, "%s", s.scenery);
    sim::BuildReflectionMaps(&w);
    EXPECT_EQ(Builds(), s.builds) << s.dx << " " << s.scenery;
  }
  // A new context has lost the maps: they are built again at the same place.
  kxgl::ContextLost();
  sim::BuildReflectionMaps(&w);
  EXPECT_EQ(Builds(), 4);
  EXPECT_NE(sim::session.media.cubemap_textures[0]->glName, 0u);
}

TEST_F(ReflectionMapsDraw, WithoutCubeMapsOrAnAircraftNothingHappens) {
  world& w = PlateBox();
  kxgl::caps.cube_map = 0;
  sim::BuildReflectionMaps(&w);
  kxgl::caps.cube_map = 1;
  sim::players[0].flight_state = nullptr;
  sim::BuildReflectionMaps(&w);
  EXPECT_EQ(Builds(), 0);
  for (const kxtexture* t : sim::session.media.cubemap_textures) EXPECT_EQ(t->glName, 0u);
}

}  // namespace
