// Shadow pictures: the light view and the corners it gives the record, then
// under a real context the silhouette white on black over the whole
// texture, rotating parts by their speed, blur discs, recorded aircraft and
// balloons, and the frame buffer's alpha left alone.
#include "sim/views/aircraft_shadow.h"

#include <cmath>

#include "dynamics/components/propeller.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/flight_state.h"
#include "sim/views/display_lists.h"
#include "views_gl_support.h"

namespace {

using kxtest::pixel;

shadowquad Box(float half) {
  shadowquad q;
  for (int k = 0; k < 3; ++k) q.min[k] = -half, q.max[k] = half;
  return q;
}

TEST(ShadowLightView, WithoutASunOrWithItOverheadTheViewLooksStraightDown) {
  auto w = std::make_unique<world>();
  struct {
    int hasShadow;
    float sun[3];
  } cases[] = {{0, {0.6f, 0, 0.8f}}, {1, {0, 0, 1}}, {1, {0, 0, 0}}, {1, {NAN, 0, 1}}, {1, {0, 0, -1}}};
  for (const auto& c : cases) {
    w->has_shadow = c.hasShadow;
    std::copy(c.sun, c.sun + 3, w->sun_direction);
    shadowquad q = Box(2);
    float view[16];
    EXPECT_EQ(sim::ShadowLightView(*w, &q, view), 0) << c.hasShadow << " " << c.sun[0] << " " << c.sun[2];
    for (int i = 0; i < 16; ++i) EXPECT_EQ(view[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    const float corners[4][5] = {{0, 0, -2, -2, 0}, {1, 0, 2, -2, 0}, {1, 1, 2, 2, 0}, {0, 1, -2, 2, 0}};
    for (int k = 0; k < 4; ++k)
      for (int j = 0; j < 5; ++j) EXPECT_EQ(q.corners[k][j], corners[k][j]);
  }
}

TEST(ShadowLightView, ASunAsideCarriesTheBoxCornersIntoWorldAxes) {
  auto w = std::make_unique<world>();
  w->has_shadow = 1;
  const float sun[3] = {0.6f, 0, 0.8f};
  std::copy(sun, sun + 3, w->sun_direction);
  shadowquad q;
  q.min[0] = -2, q.min[1] = -1, q.max[0] = 3, q.max[1] = 1;
  float view[16];
  ASSERT_EQ(sim::ShadowLightView(*w, &q, view), 1);
  // d = -sun, r = normalise(z x d) = (0, -1, 0), u = d x r = (-0.8, 0, 0.6).
  const float rows[3][3] = {{0, 1, 0}, {-0.8f, 0, 0.6f}, {0.6f, 0, 0.8f}};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(view[4 * k + i], rows[i][k], 1e-6f) << i << " " << k;
  const float box[4][2] = {{-2, -1}, {3, -1}, {3, 1}, {-2, 1}};
  for (int c = 0; c < 4; ++c) {
    const float* p = q.corners[c] + 2;
    // Seen in the light view each corner is the box's corner in its plane.
    for (int i = 0; i < 3; ++i) {
      float seen = view[i] * p[0] + view[4 + i] * p[1] + view[8 + i] * p[2];
      EXPECT_NEAR(seen, i < 2 ? box[c][i] : 0.0f, 1e-5f) << c << " " << i;
    }
  }
  EXPECT_EQ(q.corners[2][0], 1.0f);
  EXPECT_EQ(q.corners[2][1], 1.0f);
}

class AircraftShadowDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    kxdynamics::RegisterAll();  // the component types know their bases: a rotor is a body
    Load("SCENERY 6000\n");
    sim::players[0].flight_state = &state_;
  }
  // The aircraft at place: a root body at the origin of its frame, lists built.
  kxgeometricobject* Aircraft(const float place[3]) {
    kxgeometricobject* root = Part("root", &body_, white_, nullptr, kxgeometricobject::kFlagList);
    root->Matrix.R = {place[0], place[1], place[2], 1.0f};
    state_.graphics_root = root;
    return root;
  }
  kxgeometricobject* At(const char* name, kxgeometricobject* parent, float x, float y, int flags) {
    kxgeometricobject* o = Part(name, &body_, white_, parent, flags);
    o->Matrix.R = {x, y, 0, 1.0f};
    return o;
  }
  void BuildLists() {
    int next = sim::kFirstAircraftList;
    sim::BuildAircraftLists(&sim::players[0], &next);
  }
  // Renders player 1's caster at place into a size x size texture over +-2 m.
  std::vector<pixel> Render(const float place[3], int size, const kxgeometricobject* playback = nullptr,
                            const kxgeometry* balloons = nullptr) {
    record_ = Box(2);
    if (!texture_) texture_ = Texture("acft0shadow0", size, size);
    record_.texture = texture_;
    sim::RenderAircraftShadow(&sim::players[0], &record_, place, playback, balloons);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return Texels(texture_);
  }
  // The texel under the point (x, y) m of the box.
  pixel TexelAt(const std::vector<pixel>& texels, float x, float y) const {
    const float s = static_cast<float>(texture_->width) / 4.0f;
    int i = static_cast<int>((x + 2.0f) * s), j = static_cast<int>((y + 2.0f) * s);
    return texels[static_cast<size_t>(j) * texture_->width + i];
  }

  kxdflightstate state_;
  shadowquad record_;
  kxtexture* texture_ = nullptr;
  meshgen::mesh body_ = meshgen::Box(0.5f, 0.5f, 0.2f);
  const float white_[3] = {1, 1, 1};
  const float place_[3] = {10, 20, 3};
};

TEST_F(AircraftShadowDraw, TheSilhouetteIsWhiteOnBlackOverTheWholeTexture) {
  kxgeometricobject* root = Aircraft(place_);
  At("wingtip", root, 1.5f, 1.5f, kxgeometricobject::kFlagList);  // beyond the 160 x 120 window
  At("tail", root, -1.5f, -1.5f, 0);                               // no textured list: shadows still come from every part
  BuildLists();
  glClearColor(0.2f, 0.4f, 0.6f, 0.3f);
  glClear(GL_COLOR_BUFFER_BIT);
  std::vector<pixel> texels = Render(place_, 256);
  for (auto [x, y] : {std::pair{0.0f, 0.0f}, {1.5f, 1.5f}, {-1.5f, -1.5f}})
    EXPECT_EQ(TexelAt(texels, x, y).r, 255) << x << ", " << y;
  for (auto [x, y] : {std::pair{1.5f, -1.5f}, {-1.5f, 1.5f}, {-1.9f, 0.0f}})
    EXPECT_EQ(TexelAt(texels, x, y).r, 0) << x << ", " << y;
  EXPECT_TRUE(Near(Centre(), 0.2f, 0.4f, 0.6f));  // drawn offscreen: the window untouched
  EXPECT_EQ(record_.corners[1][2], 2.0f);           // no sun: the box's corners
}

TEST_F(AircraftShadowDraw, OnTheBackBufferOnlyTheWindowsPartIsDrawnAndItsAlphaIsKept) {
  kxgl::caps.framebuffer_object = 0;
  kxgeometricobject* root = Aircraft(place_);
  At("wingtip", root, 1.5f, 1.5f, kxgeometricobject::kFlagList);
  At("tail", root, -1.5f, -1.5f, kxgeometricobject::kFlagList);
  BuildLists();
  glClearColor(0.2f, 0.4f, 0.6f, 0.3f);
  glClear(GL_COLOR_BUFFER_BIT);
  std::vector<pixel> texels = Render(place_, 256);
  EXPECT_EQ(TexelAt(texels, -1.5f, -1.5f).r, 255);
  EXPECT_EQ(TexelAt(texels, 1.5f, 1.5f).r, 0);  // above the window: left as the texture was
  pixel drawn = kxtest::ReadPixel(32, 32);        // the tail, on the back buffer
  EXPECT_EQ(drawn.r, 255);
  EXPECT_NEAR(drawn.a, 77, 1);                    // the frame's alpha as cleared
}

TEST_F(AircraftShadowDraw, RotatingPartsShowByTheirSpeedAndPropellersAlways) {
  kxgeometricobject* root = Aircraft(place_);
  kxdtailrotor00 rotor;
  kxdpropeller00 propeller;
  kxgeometricobject* blades = At("rotor", root, 1.0f, 0.0f, kxgeometricobject::kFlagRotating);
  blades->Object = &rotor;
  At("prop", root, -1.0f, 0.0f, kxgeometricobject::kFlagRotating)->Object = &propeller;
  propeller.RPMValue = 3000;
  BuildLists();
  struct {
    float rpm;
    int red;
  } speeds[] = {{0, 255}, {600, 191}, {1200, 128}, {1500, 0}, {-1, 255}};
  for (const auto& s : speeds) {
    rotor.RPMValue = s.rpm;
    std::vector<pixel> texels = Render(place_, 64);
    EXPECT_NEAR(TexelAt(texels, 1.0f, 0.0f).r, s.red, 2) << s.rpm;
    EXPECT_EQ(TexelAt(texels, 1.0f, 0.0f).g, s.red ? 255 : 0) << s.rpm;
    EXPECT_EQ(TexelAt(texels, -1.0f, 0.0f).r, 255) << s.rpm;  // the propeller, white in the fixed pass
    EXPECT_EQ(TexelAt(texels, 0.0f, 0.0f).r, 255) << s.rpm;
  }
  // With a blur disc the rotor casts its disc's shadow too, lighter the faster it turns.
  blades->discTexture = texture_;
  blades->discRadius = 0.6f;
  rotor.RPMValue = 1500;
  std::vector<pixel> texels = Render(place_, 64);
  EXPECT_NEAR(TexelAt(texels, 1.0f, 0.45f).r, 140, 2);  // 0.5 + 0.05 at full speed
  EXPECT_EQ(TexelAt(texels, 1.0f, 0.75f).r, 0);
  blades->discTexture = nullptr;
  blades->Object = nullptr;
}

TEST_F(AircraftShadowDraw, ASunAsideDrawsTheAircraftAlongItsRays) {
  world& w = *sim::TheWorld();
  w.has_shadow = 1;
  const float sun[3] = {0.6f, 0, 0.8f};
  std::copy(sun, sun + 3, w.sun_direction);
  kxgeometricobject* root = Aircraft(place_);
  At("above", root, 0.0f, 0.0f, kxgeometricobject::kFlagList)->Matrix.R.z = 1.0f;
  BuildLists();
  // Light-view x = -r . p = y, y = u . p = -0.8 x + 0.6 z: a part 1 m up shows 0.6 m higher.
  std::vector<pixel> texels = Render(place_, 64);
  EXPECT_EQ(TexelAt(texels, 0.0f, 0.6f).r, 255);
  EXPECT_EQ(TexelAt(texels, 0.0f, -0.6f).r, 0);
  EXPECT_NEAR(record_.corners[0][2], 1.6f, 1e-5f);  // (-2, -2) in the light view: 2 r - 2 u
  EXPECT_NEAR(record_.corners[0][4], -1.2f, 1e-5f);
}

TEST_F(AircraftShadowDraw, ARecordedAircraftShowsItsOpaquePartsAndBalloonsTheirList) {
  Aircraft(place_);  // the player's own aircraft must not show in either
  BuildLists();
  kxgeometricobject* playback = Part("playback", &body_, white_);
  playback->Matrix.R = {place_[0], place_[1], place_[2], 1.0f};
  At("solid", playback, 1.0f, 1.0f, 0);
  kxgeometricobject* glass = At("glass", playback, -1.0f, 1.0f, 0);
  glass->mesh->transparent = 1;
  std::vector<pixel> texels = Render(place_, 64, playback);
  EXPECT_EQ(TexelAt(texels, 0.0f, 0.0f).r, 255);
  EXPECT_EQ(TexelAt(texels, 1.0f, 1.0f).r, 255);
  EXPECT_EQ(TexelAt(texels, -1.0f, 1.0f).r, 0);

  meshgen::mesh ball = meshgen::Box(1.0f, 1.0f, 1.0f);
  meshgen::Translate(ball, -1.0f, -1.0f, 0.0f);
  kxgeometry* balloon = meshgen::ColouredElement(ball, "balloon", "", white_);
  const float origin[3] = {0, 0, 0};
  texels = Render(origin, 64, nullptr, balloon);
  EXPECT_EQ(TexelAt(texels, -1.0f, -1.0f).r, 255);
  EXPECT_EQ(TexelAt(texels, 0.8f, 0.8f).r, 0);
  kxgeometry::Free(&balloon);
}

}  // namespace
