// The parts of a player's view that need no OpenGL: the flight information
// texts and height, the overlay titles, the second camera's near plane, the
// wind arrow, the view from above and where the sun's glare goes.
#include "sim/views/player_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "dynamics/flight_state.h"
#include "sim/hud_texts.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/view_matrices.h"
#include "sim/world/world.h"

namespace {

class PlayerView : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetHudTexts();
    player_->flight_state = state_.get();
    player_->hud.show_velocity = player_->hud.show_height = player_->hud.show_heightmsl = 0;
    player_->hud.show_heading = player_->hud.show_rpm = player_->hud.show_fps = 0;
  }
  std::vector<std::string> Lines() {
    sim::hudline lines[sim::kFlightInfoLines];
    int n = sim::FlightInfoLines(*player_, session_, lines);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(lines[i].text);
    return out;
  }
  std::unique_ptr<simplayer> player_ = std::make_unique<simplayer>();
  std::unique_ptr<kxdflightstate> state_ = std::make_unique<kxdflightstate>();
  simsession session_;
};

TEST_F(PlayerView, FlightInformationShowsEachValueInTheChosenUnits) {
  player_->hud.show_velocity = player_->hud.show_height = player_->hud.show_heightmsl = 1;
  player_->hud.show_heading = player_->hud.show_rpm = player_->hud.show_fps = 1;
  player_->hud.speed = 10.0f;
  player_->hud.height_above_ground = 12.5f;
  player_->hud.heading = -0.5f;
  state_->position()[2] = 300.0f;
  state_->engine_rpm = 9876.9f;
  session_.run.fps = 59.94f;
  session_.settings.units = sim::kUnitsMetric;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Speed: 36.0km/h", "Height: 12.5m", "Altitude: 300.0m",
                                               "Heading: -28deg", "RPM: 9876rmin", "FPS: 59.9"}));
  session_.settings.units = sim::kUnitsImperial;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Speed: 22.4mph", "Height: 41.0ft", "Altitude: 984.3ft",
                                               "Heading: -28deg", "RPM: 9876rmin", "FPS: 59.9"}));
  player_->hud.heading = NAN;  // what the HUD cannot show as a number shows 0
  EXPECT_EQ(Lines()[3], "Heading:   0deg");
}

TEST_F(PlayerView, FlightInformationGrowsByALinePerFlagAndThreeWithARecording) {
  const int lh = 14;
  EXPECT_EQ(sim::FlightInfoHeight(*player_, lh), 23);
  EXPECT_TRUE(Lines().empty());
  player_->hud.show_rpm = player_->hud.show_fps = 1;
  EXPECT_EQ(sim::FlightInfoHeight(*player_, lh), 23 + 2 * lh);

  struct {
    sim::recordstate state;
    int present;
    std::vector<std::string> lines;
    float red;
  } rows[] = {
      {sim::kRecording, 0, {"Recording flight: 12sec", "Press 'r' to stop Recording"}, 1},
      {sim::kRecordPlaying, 1, {"Flight length: 40sec", "Playing recorded flight: 12sec", "Press 'w' to stop Playback"}, 0},
      {sim::kRecordIdle, 1, {"Recorded Flight length: 40sec", "Recorded Aircraft: glider", "Press 'w' to play Recording"}, 1},
  };
  player_->hud.show_rpm = player_->hud.show_fps = 0;
  player_->recording.time = 12.7f;
  player_->recording.header.length = 40.2f;
  std::snprintf(player_->recording.header.aircraft, sizeof player_->recording.header.aircraft, "glider");
  for (const auto& row : rows) {
    player_->recording.state = row.state;
    player_->recording.present = row.present;
    EXPECT_EQ(sim::FlightInfoHeight(*player_, lh), 23 + 3 * lh) << static_cast<int>(row.state);
    EXPECT_EQ(Lines(), row.lines) << static_cast<int>(row.state);
    sim::hudline lines[sim::kFlightInfoLines];
    sim::FlightInfoLines(*player_, session_, lines);
    EXPECT_EQ(lines[0].colour[0], row.red) << static_cast<int>(row.state);
  }
}

TEST_F(PlayerView, OverlayTitlesFollowTheCameraTypeAndTheContestKind) {
  contestrec contest{};
  struct {
    sim::cameraview type;
    contestkind kind;
    const char* title;
  } rows[] = {{sim::kCameraFlightInfo, {}, "Flight Info"},
              {sim::kCameraAircraft, {}, "Aircraft only"},
              {sim::kCameraWind, {}, "Wind and Variometer"},
              {sim::kViewFollow, {}, "Follow Mode"},
              {sim::kViewFixed, {}, "Fixed Viewing Position"},
              {sim::kViewRecordFixed, {}, "Recorded Flight (fixed Viewer)"},
              {sim::kViewRecordFollow, {}, "Recorded Flight (Follow Mode)"},
              {sim::kViewRecordCockpit, {}, "Recorded Flight (Cockpit Mode)"},
              {sim::kViewFixedAutozoom, {}, "dummy"},
              {sim::kViewCockpit, {}, "dummy"},
              {sim::kCameraContest, kContestPylonRace, "Pylon Race"},
              {sim::kCameraContest, kContestDragRace, "Drag Race"},
              {sim::kCameraContest, kContestBalloonPop, "Balloon Popping"},
              {sim::kCameraContest, kContestSpotLanding, "Spot Landing"},
              {sim::kCameraContest, kContestNone, "dummy"}};
  for (const auto& row : rows) {
    contest.kind = row.kind;
    EXPECT_STREQ(sim::OverlayTitle(row.type, &contest), row.title)
        << row.type.Code() << " " << static_cast<int>(row.kind);
  }
  EXPECT_STREQ(sim::OverlayTitle(sim::kCameraContest, nullptr), "dummy");
}

TEST_F(PlayerView, TheSecondCamerasNearPlaneGrowsWithTheSquareOfItsFieldOfView) {
  auto w = std::make_unique<world>();
  w->view_real = 1.0f;
  w->pilot_view_scale = 0.15f;
  EXPECT_FLOAT_EQ(sim::OverlayNear(0.0f, *w), 0.15f);
  EXPECT_FLOAT_EQ(sim::OverlayNear(0.3f, *w), 0.24f);
  EXPECT_FLOAT_EQ(sim::OverlayNear(1.0f, *w), 1.15f);
}

TEST_F(PlayerView, TheWindArrowSitsUpwindAndGrowsToFullSizeAtTwoMetresPerSecond) {
  float arrow[3][2] = {};
  EXPECT_EQ(sim::WindArrow(0.05f, 0.05f, 10.0f, arrow), 0);  // calm
  EXPECT_EQ(arrow[0][0], 0.0f);
  // Wind along world x, which points up the screen: the arrow stands below
  // the centre and points up.
  ASSERT_EQ(sim::WindArrow(1.0f, 0.0f, 10.0f, arrow), 1);
  EXPECT_NEAR(arrow[0][0], 0.0f, 1e-5f);
  EXPECT_NEAR(arrow[0][1], -7.0f + 0.35f, 1e-5f);  // tip: c + a d with a = 0.7 x 0.5
  EXPECT_NEAR(arrow[1][1], -7.0f - 0.35f, 1e-5f);
  EXPECT_NEAR(arrow[1][0], -0.35f, 1e-5f);  // counter-clockwise: the left corner first
  EXPECT_NEAR(arrow[2][0], 0.35f, 1e-5f);
  ASSERT_EQ(sim::WindArrow(0.0f, 8.0f, 10.0f, arrow), 1);  // along y, to the left: a = 0.7 at most
  EXPECT_NEAR(arrow[0][0], 7.0f - 0.7f, 1e-5f);
  EXPECT_NEAR(arrow[0][1], 0.0f, 1e-5f);
}

TEST_F(PlayerView, TheViewFromAboveKeepsWorldXUpAndSurvivesAVerticalNose) {
  auto eyeOf = [](const float m[16], const float p[3], float out[3]) {
    for (int r = 0; r < 3; ++r) out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
  };
  const float heading = 1.0f;  // a level aircraft turned by 1 rad
  state_->row_x()[0] = std::cos(heading), state_->row_x()[1] = std::sin(heading), state_->row_x()[2] = 0;
  state_->row_y()[0] = -std::sin(heading), state_->row_y()[1] = std::cos(heading), state_->row_y()[2] = 0;
  state_->row_z()[0] = 0, state_->row_z()[1] = 0, state_->row_z()[2] = 1;
  state_->position()[0] = 5, state_->position()[1] = 6, state_->position()[2] = 7;
  float m[16], e[3];
  sim::FromAboveView(*state_, m);
  const float ahead[3] = {6, 6, 7}, left[3] = {5, 7, 7}, below[3] = {5, 6, 6};
  eyeOf(m, ahead, e);  // world x: up the screen
  EXPECT_NEAR(e[0], 0, 1e-5f);
  EXPECT_NEAR(e[1], 1, 1e-5f);
  EXPECT_NEAR(e[2], 0, 1e-5f);
  eyeOf(m, left, e);  // world y: to the left
  EXPECT_NEAR(e[0], -1, 1e-5f);
  EXPECT_NEAR(e[1], 0, 1e-5f);
  eyeOf(m, below, e);  // the camera looks down onto the aircraft
  EXPECT_NEAR(e[2], -1, 1e-5f);

  // Nose straight up: world x has no place in the aircraft's plane.
  state_->row_x()[0] = 0, state_->row_x()[1] = 0, state_->row_x()[2] = 1;
  state_->row_z()[0] = -1, state_->row_z()[1] = 0, state_->row_z()[2] = 0;
  sim::FromAboveView(*state_, m);
  for (float v : m) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(PlayerView, TheGlareStandsOnTheSunWhileTheAircraftIsNearItAndTheSunIsAhead) {
  // Looking straight up from the origin with a 90-degree frustum.
  const float eye[3] = {0, 0, 0}, X[3] = {0, 0, 1}, Y[3] = {0, 1, 0}, Z[3] = {-1, 0, 0};
  float view[16], projection[16] = {};
  sim::ViewMatrix(eye, X, Y, Z, view);
  projection[0] = projection[5] = 1;  // near 1, half-height 1
  projection[10] = -1, projection[11] = -1, projection[14] = -2;
  const float sun[3] = {0, 0, 1};
  sim::sunglare g{};
  const float overhead[3] = {0, 0, 100};
  ASSERT_EQ(sim::SunGlare(view, projection, eye, X, sun, overhead, &g), 1);
  EXPECT_NEAR(g.x, 0, 1e-5f);
  EXPECT_NEAR(g.y, 0, 1e-5f);
  EXPECT_NEAR(g.alpha, 1.05f, 1e-5f);
  const float aside[3] = {0, 50, 100};  // half a screen away: fainter
  ASSERT_EQ(sim::SunGlare(view, projection, eye, X, sun, aside, &g), 1);
  EXPECT_NEAR(g.alpha, (1.5f - 0.5f) * 0.7f, 1e-5f);
  const float far[3] = {0, 200, 100};  // two screens away: none
  EXPECT_EQ(sim::SunGlare(view, projection, eye, X, sun, far, &g), 0);
  const float down[3] = {0, 0, -1};  // the sun behind the viewer
  EXPECT_EQ(sim::SunGlare(view, projection, eye, X, down, overhead, &g), 0);
  EXPECT_EQ(sim::SunGlare(view, projection, eye, X, sun, eye, &g), 0);  // the aircraft at the eye
}

}  // namespace
