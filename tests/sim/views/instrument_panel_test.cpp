// The instrument row: needle angles without OpenGL, then the row's place
// and the artificial horizon under a real context.
#include "sim/views/instrument_panel.h"

#include <cmath>
#include <memory>

#include "dynamics/flight_state.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "graphics/texture_table.h"
#include "sim/resources.h"
#include "sim/views/gl_state.h"
#include "views_gl_support.h"

namespace {

TEST(InstrumentPanel, NeedleAnglesFollowTheirScales) {
  struct {
    float kmh, degrees;
  } airspeed[] = {{-5, 0}, {0, 0}, {50, 90}, {100, 180}, {150, 225}, {200, 270}, {399, 359.55f}, {400, 0}, {550, 0}};
  for (const auto& row : airspeed) EXPECT_NEAR(sim::AirspeedNeedle(row.kmh), row.degrees, 1e-3f) << row.kmh;
  EXPECT_EQ(sim::AirspeedNeedle(NAN), 0.0f);

  EXPECT_EQ(sim::AltimeterShortHand(0), 0.0f);
  EXPECT_EQ(sim::AltimeterLongHand(0), 0.0f);
  EXPECT_NEAR(sim::AltimeterShortHand(550), -198.0f, 1e-3f);  // clockwise
  EXPECT_NEAR(sim::AltimeterLongHand(550), -1980.0f, 1e-2f);  // 5.5 turns: pointing down
}

TEST(InstrumentPanel, TheVariometerClampsAtSevenMetresPerSecondAndSettlesOverAboutAHundredFrames) {
  EXPECT_EQ(sim::VariometerTarget(20), sim::VariometerTarget(7));
  EXPECT_FLOAT_EQ(sim::VariometerTarget(7), 157.5f);
  EXPECT_FLOAT_EQ(sim::VariometerTarget(-2), -45.0f);
  EXPECT_EQ(sim::VariometerTarget(INFINITY), 0.0f);
  float angle = 0;
  for (int i = 0; i < 100; ++i) angle = sim::SmoothVariometer(angle, sim::VariometerTarget(20));
  EXPECT_NEAR(angle, 157.5f * (1 - std::pow(0.99f, 100)), 0.05f);
}

class InstrumentPanelDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    Load("SCENERY 6000\n");
    sim::SetupGL();
    sim::ResetInstrumentPanel();
    player_->flight_state = state_.get();
  }
  void TearDown() override {
    if (kxgl::HasContext()) {
      for (kxtexture*& t : sim::session.media.instrument_textures) kxgl::FreeTexture(t), t = nullptr;
      kxgeometry::Free(&sim::session.media.horizon_mesh);
    }
    viewsgltest::TearDown();
  }
  // The row on grey for a view of width w.
  void DrawRow(int w) {
    sim::WindowOrtho(kWidth_, kHeight_);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sim::DrawInstrumentPanel(player_.get(), w, kHeight_, 1.0f, 0, 0);
  }
  static bool Grey(kxtest::pixel p) { return Near(p, 0.5f, 0.5f, 0.5f); }

  static constexpr int kWidth_ = viewstest::kWidth, kHeight_ = viewstest::kHeight;
  std::unique_ptr<simplayer> player_ = std::make_unique<simplayer>();
  std::unique_ptr<kxdflightstate> state_ = std::make_unique<kxdflightstate>();
};

TEST_F(InstrumentPanelDraw, TheRowStaysCentredInANarrowView) {
  sim::session.media.instrument_textures[1] = kxgl::LoadTexture((ProgramData() / "texture/caltimeter.bmp").c_str());
  ASSERT_NE(sim::session.media.instrument_textures[1], nullptr);
  DrawRow(kWidth_);  // 160 px: the altimeter, the row's middle dial, stands in the middle
  EXPECT_FALSE(Grey(kxtest::ReadPixel(kWidth_ / 2, 64)));
  EXPECT_TRUE(Grey(kxtest::ReadPixel(8, 64)));
  EXPECT_TRUE(Grey(kxtest::ReadPixel(kWidth_ / 2 + 70, 64)));
  DrawRow(800);  // wide: the altimeter moves out of the window's left part
  EXPECT_TRUE(Grey(kxtest::ReadPixel(kWidth_ / 2, 64)));
  player_->flight_state = nullptr;  // no aircraft: no instruments
  DrawRow(kWidth_);
  EXPECT_TRUE(Grey(kxtest::ReadPixel(kWidth_ / 2, 64)));
}

TEST_F(InstrumentPanelDraw, TheHorizonShowsMoreSkyWhenTheNoseComesUp) {
  ASSERT_EQ(kxgl::LoadGeometry((ProgramData() / "objects/horizon.obj").c_str(), &sim::session.media.horizon_mesh, 0, 0), 1);
  auto skyAt = [](int x, int y) {
    kxtest::pixel p = kxtest::ReadPixel(x, y);
    return p.b > p.r + 20;
  };
  const int w = 384;  // the horizon, second in the row, stands at x = 64
  DrawRow(w);
  EXPECT_TRUE(skyAt(64, 64 + 25));
  EXPECT_FALSE(skyAt(64, 64 - 25));
  EXPECT_FALSE(Grey(kxtest::ReadPixel(64, 64 - 25)));  // the ground half is there
  const float pitch = 0.5f;  // rad, nose up
  state_->row_x()[0] = std::cos(pitch), state_->row_x()[2] = std::sin(pitch);
  state_->row_z()[0] = -std::sin(pitch), state_->row_z()[2] = std::cos(pitch);
  DrawRow(w);
  EXPECT_TRUE(skyAt(64, 64 - 25));
}

// The scene's depth is no matter: a scene right at the near plane (the
// ground filling the cockpit view, nose down) leaves the ball whole.
TEST_F(InstrumentPanelDraw, TheHorizonDrawsOverASceneAtAnyDepth) {
  ASSERT_EQ(kxgl::LoadGeometry((ProgramData() / "objects/horizon.obj").c_str(), &sim::session.media.horizon_mesh, 0, 0), 1);
  const int w = 384;  // the horizon at x = 64
  for (double sceneDepth : {1.0, 0.5, 0.0}) {
    SCOPED_TRACE(sceneDepth);
    sim::WindowOrtho(kWidth_, kHeight_);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClearDepth(sceneDepth);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    sim::DrawInstrumentPanel(player_.get(), w, kHeight_, 1.0f, 0, 0);
    kxtest::pixel sky = kxtest::ReadPixel(64, 64 + 25);
    EXPECT_GT(sky.b, sky.r + 20);
    EXPECT_FALSE(Grey(kxtest::ReadPixel(64, 64 - 25)));
  }
  // Only the ball's square is cleared: the scene's depth beside it stays.
  GLfloat depth = 1;
  glReadPixels(64 + 70, 64, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_EQ(depth, 0.0f);
}

// With the shipped pictures: the compass card and the horizon ball turn
// under their fixed glass and bezel, which must let them show through.
class InstrumentPanelPicturesDraw : public InstrumentPanelDraw {
 protected:
  void SetUp() override {
    InstrumentPanelDraw::SetUp();
    if (IsSkipped()) return;
    sim::LoadInstrumentPictures(ProgramData().string() + "/");
  }
  // The row drawn with the dial whose row centre is x in the middle of the window.
  void DrawDialInMiddle(float x) { DrawRow(static_cast<int>(640 + 2 * (kWidth_ / 2 - x))); }
  static kxtest::pixel At(int dx, int dy) { return kxtest::ReadPixel(kWidth_ / 2 + dx, 64 + dy); }
  static bool Red(kxtest::pixel p) { return p.r > 150 && p.g < 100 && p.b < 100; }
  static bool Sky(kxtest::pixel p) { return p.b > p.r + 20; }
};

TEST_F(InstrumentPanelPicturesDraw, TheCompassCardTurnsWithTheHeading) {
  constexpr float kCompassX = 576;
  DrawDialInMiddle(kCompassX);
  EXPECT_TRUE(Red(At(0, 40)));  // north ahead: the card's north mark at the top
  EXPECT_FALSE(Red(At(-40, 0)));
  player_->hud.heading = 1.5707963f;  // heading east: north lies to the left
  DrawDialInMiddle(kCompassX);
  EXPECT_TRUE(Red(At(-40, 0)));
  EXPECT_FALSE(Red(At(0, 40)));
}

// Level flight points the needle to the left; a climb swings it up, a sink
// down, each settling over about a hundred frames.
TEST_F(InstrumentPanelPicturesDraw, TheVariometerNeedleSwingsUpInAClimbAndDownInASink) {
  constexpr float kVariometerX = 448;
  constexpr int kFrames = 100;
  DrawDialInMiddle(kVariometerX);
  EXPECT_TRUE(Red(At(-25, 0)));
  EXPECT_FALSE(Red(At(0, 25)));
  EXPECT_FALSE(Red(At(0, -25)));
  for (float climb : {7.0f, -7.0f}) {
    SCOPED_TRACE(climb);
    sim::ResetInstrumentPanel();
    state_->velocity[2] = climb;
    for (int i = 0; i < kFrames; ++i) DrawDialInMiddle(kVariometerX);
    // Turned counter-clockwise from straight up by 90 degrees less the settled share of 22.5 per m/s.
    const float turn = (90.0f - 22.5f * climb * (1.0f - std::pow(0.99f, kFrames))) * 3.14159265f / 180.0f;
    for (float r : {18.0f, 28.0f}) {
      const int dx = static_cast<int>(std::lround(-r * std::sin(turn))), dy = static_cast<int>(std::lround(r * std::cos(turn)));
      EXPECT_TRUE(Red(At(dx, dy))) << dx << ", " << dy;
    }
    EXPECT_FALSE(Red(At(-25, 0)));
    EXPECT_FALSE(Red(At(0, climb > 0 ? -25 : 25)));
  }
}

TEST_F(InstrumentPanelPicturesDraw, TheHorizonBallShowsPitchAndBankThroughItsBezel) {
  constexpr float kHorizonX = 192;
  DrawDialInMiddle(kHorizonX);
  EXPECT_TRUE(Sky(At(0, 25)));
  EXPECT_FALSE(Sky(At(0, -25)));
  const float pitch = 0.5f;  // rad, nose up
  state_->row_x()[0] = std::cos(pitch), state_->row_x()[2] = std::sin(pitch);
  state_->row_z()[0] = -std::sin(pitch), state_->row_z()[2] = std::cos(pitch);
  DrawDialInMiddle(kHorizonX);
  EXPECT_TRUE(Sky(At(0, -25)));
  // Level, banked right: the horizon tilts the other way, its left end down.
  const float bank = 0.6f;
  state_->row_x()[0] = 1, state_->row_x()[2] = 0;
  state_->row_y()[0] = 0, state_->row_y()[1] = std::cos(bank), state_->row_y()[2] = std::sin(bank);
  state_->row_z()[0] = 0, state_->row_z()[1] = -std::sin(bank), state_->row_z()[2] = std::cos(bank);
  DrawDialInMiddle(kHorizonX);
  EXPECT_TRUE(Sky(At(-30, -10)));
  EXPECT_FALSE(Sky(At(30, 10)));
}

}  // namespace
