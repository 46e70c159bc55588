#include "sim/viewer.h"

#include <cmath>

#include "sim/vec3.h"
#include "flight_support.h"

namespace {

using ::simtest::kGround;

class ViewerTest : public simtest::flighttest {
 protected:
  void SetUp() override {
    flighttest::SetUp();
    p = &sim::players[0];
    p->flight_state = &aircraft;
    kxmatrix::SetIdentity(&target);
    sim::session.run.sim_time_step = 0.1f;
  }
  void Aircraft(float x, float y, float z) {
    aircraft.frame.R = {x, y, z, 1.0f};
    target = aircraft.frame;
  }
  void Viewer(float x, float y, float z) { sim::vec3::Set(p->viewer_position(), x, y, z); }
  void Update(sim::viewmode mode) {
    sim::UpdateViewer(mode, p, target, p->viewer_position(), p->viewer_velocity, p->viewer_accel, p->viewer_row_x(),
                      p->viewer_row_y(), p->viewer_row_z());
  }
  simplayer* p = nullptr;
  kxdflightstate aircraft;
  kxmatrix target;
};

TEST_F(ViewerTest, FixedViewerAimsAtTheTargetAndZoomGrowsWithTheFieldOfView) {
  p->pilot_view_delayy = 0.0f;
  *p->fov() = 0.5f;
  Aircraft(10.0f, 10.0f, kGround + 3.0f);
  Viewer(0.0f, 10.0f, kGround + 3.0f);
  Update(sim::kViewFixed);
  EXPECT_NEAR(p->viewer_row_x()[0], 1.0f, 1e-6f);
  EXPECT_NEAR(p->viewer_row_y()[1], 1.0f, 1e-6f);  // to the left of forward
  EXPECT_NEAR(p->viewer_row_z()[2], 1.0f, 1e-6f);
  EXPECT_NEAR(p->view_zoom, 0.25f * 1.1f + 0.4f, 1e-6f);
  sim::TheWorld()->photo = 1;
  Update(sim::kViewFixed);
  EXPECT_NEAR(p->view_zoom, 0.25f * 0.7f + 0.4f, 1e-6f);
  sim::TheWorld()->photo = 0;
  // On the viewer itself there is no direction: the axes stay.
  Aircraft(0.0f, 10.0f, kGround + 3.0f);
  Update(sim::kViewFixed);
  EXPECT_NEAR(p->viewer_row_x()[0], 1.0f, 1e-6f);
}

TEST_F(ViewerTest, VerticalLagAimsBelowAClimbingAircraft) {
  Aircraft(10.0f, 0.0f, 20.0f);
  Viewer(0.0f, 0.0f, 10.0f);
  p->pilot_view_delayy = 0.0f;
  Update(sim::kViewFixed);
  const float direct = p->viewer_row_x()[2];
  p->pilot_view_delayy = 1.0f;
  Update(sim::kViewFixed);
  EXPECT_LT(p->viewer_row_x()[2], direct);
  EXPECT_NEAR(sim::vec3::Length(p->viewer_row_x()), 1.0f, 1e-5f);
}

TEST_F(ViewerTest, HorizontalLagTrailsACrossingAircraftAndIsSkippedOnTheViewer) {
  p->pilot_view_delayy = 0.0f;
  p->pilot_view_delayx = 1.0f;
  Aircraft(20.0f, 0.0f, 5.0f);
  aircraft.velocity[1] = 20.0f;  // crossing to the left
  Viewer(0.0f, 0.0f, 5.0f);
  for (int i = 0; i < 10; ++i) Update(sim::kViewFixed);
  EXPECT_LT(p->viewer_row_x()[1], 0.0f);  // the view lags behind, to the right of the aircraft
  Viewer(20.0f, 0.0f, 5.0f);             // the aircraft's distance is 0
  Update(sim::kViewFixed);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(std::isfinite(p->viewer_row_x()[k]));
}

TEST_F(ViewerTest, AutozoomStepsByDistanceWithAQuadraticEase) {
  p->view_mode = sim::kViewFixedAutozoom;
  p->autozoom_blend = 2.0f;
  p->autozoom_from = p->autozoom_to = 1.0f;
  *p->fov() = 0.0f;  // z = 0.4 times the zoom
  Viewer(0.0f, 0.0f, 3.0f);
  Aircraft(150.0f, 0.0f, 3.0f);
  Update(sim::kViewFixed);
  EXPECT_NEAR(p->view_zoom, 0.4f, 1e-6f);  // this frame still the old factor
  EXPECT_EQ(p->autozoom_to, 1.7f);
  EXPECT_EQ(p->autozoom_blend, 0.0f);
  sim::session.settings.autozoom_speed = 0.5f;
  sim::session.run.sim_time_step = 0.5f;  // a quarter of the blend per frame
  Update(sim::kViewFixed);             // b = 0
  EXPECT_NEAR(p->view_zoom, 0.4f, 1e-6f);
  Update(sim::kViewFixed);  // b = 0.25
  EXPECT_NEAR(p->view_zoom, 0.4f * (1.0f + 2.0f * 0.0625f * 0.7f), 1e-5f);
  Update(sim::kViewFixed);  // b = 0.5
  EXPECT_NEAR(p->view_zoom, 0.4f * (1.0f + 0.7f * 0.5f), 1e-5f);
  Update(sim::kViewFixed);  // b = 0.75
  Update(sim::kViewFixed);  // b = 1: the settled factor
  EXPECT_NEAR(p->view_zoom, 0.4f * 1.7f, 1e-5f);
  Aircraft(350.0f, 0.0f, 3.0f);
  Update(sim::kViewFixed);
  EXPECT_EQ(p->autozoom_to, 3.0f);
  p->autozoom_blend = 2.0f;
  p->autozoom_to = 1.7f;
  sim::TheWorld()->photo = 1;  // a photo scenery never goes beyond 1.5
  Update(sim::kViewFixed);
  EXPECT_EQ(p->autozoom_to, 1.5f);
  sim::TheWorld()->photo = 0;
}

TEST_F(ViewerTest, MouseLookKeepsTheDirectionButNotTheZoom) {
  p->view_mode = sim::kViewFixedAutozoom;
  p->autozoom_blend = 0.5f;
  p->autozoom_from = 1.0f;
  p->autozoom_to = 2.0f;
  sim::vec3::Set(p->viewer_row_x(), 0.0f, 1.0f, 0.0f);
  Aircraft(50.0f, 0.0f, 3.0f);
  Viewer(0.0f, 0.0f, 3.0f);
  sim::session.run.mouse_look = 1;
  Update(sim::kViewFixed);
  EXPECT_EQ(p->viewer_row_x()[1], 1.0f);
  EXPECT_GT(p->autozoom_blend, 0.5f);
}

// The right button turns player 1's main view by hand; through a whole frame
// his second camera and player 2's view keep aiming at their aircraft.
TEST_F(ViewerTest, MouseLookHoldsOnlyPlayerOnesMainView) {
  kxdflightstate second;
  simplayer& q = sim::players[1];
  p->next = &q;
  q.flight_state = &second;
  sim::session.run.player_count = 2;
  sim::session.settings.game_type = sim::kGameSplitAbove;
  Aircraft(50.0f, 0.0f, 5.0f);
  second.frame.R = {0.0f, -50.0f, 5.0f, 1.0f};
  simcamera& camera = p->camera[2];
  camera.on = 1;
  camera.type = sim::kViewFixed;
  struct {
    const char* name;
    float* position;
    float* forward;
    float aim[2];  // where it looks after the frame
  } views[] = {{"player 1", p->viewer_position(), p->viewer_row_x(), {0, 1}},
               {"player 1's camera", camera.position, camera.axis_x, {1, 0}},
               {"player 2", q.viewer_position(), q.viewer_row_x(), {0, -1}}};
  for (const auto& v : views) {
    sim::vec3::Set(v.position, 0.0f, 0.0f, 5.0f);
    sim::vec3::Set(v.forward, 0.0f, 1.0f, 0.0f);  // all look along +y
  }
  p->view_mode = q.view_mode = sim::kViewFixed;
  p->pilot_view_delayx = q.pilot_view_delayx = 0.0f;
  sim::session.run.mouse_look = 1;
  Step(0.02f);
  for (const auto& v : views) {
    EXPECT_NEAR(v.forward[0], v.aim[0], 1e-5f) << v.name;
    EXPECT_NEAR(v.forward[1], v.aim[1], 1e-5f) << v.name;
  }
  q.flight_state = nullptr;
  p->next = nullptr;
}

TEST_F(ViewerTest, ChaseViewerCoastsWhenCloseKeepsClearOfTheGroundAndOnlyTurnsWhenPaused) {
  Aircraft(2.0f, 0.0f, kGround + 0.1f);
  Viewer(0.0f, 0.0f, kGround + 0.5f);
  sim::vec3::Set(p->viewer_velocity, 1.0f, 0.0f, 0.0f);
  Update(sim::kViewFollow);
  EXPECT_EQ(p->viewer_accel[0], 0.0f);  // within 3 m: no horizontal pull
  EXPECT_NEAR(p->viewer_velocity[0], 1.0f - 3.299325f * 0.1f, 1e-6f);
  EXPECT_GE(p->viewer_position()[2], kGround + 0.25f - 1e-6f);
  Viewer(0.0f, 0.0f, kGround - 0.5f);  // sunk into the ground
  Update(sim::kViewFollow);
  EXPECT_NEAR(p->viewer_position()[2], kGround + 0.25f, 1e-5f);
  sim::session.run.pause = 1;
  Viewer(-10.0f, 5.0f, 4.0f);
  Update(sim::kViewFollow);
  EXPECT_EQ(p->viewer_position()[0], -10.0f);
  EXPECT_GT(p->viewer_row_x()[0], 0.0f);
  EXPECT_LT(p->viewer_row_x()[1], 0.0f);
}

TEST_F(ViewerTest, CockpitViewerTakesTheTargetsRowsAboveTheGround) {
  Aircraft(5.0f, 5.0f, kGround + 0.1f);
  target.X = {0.0f, 1.0f, 0.0f, 0.0f};
  Update(sim::kViewCockpit);
  EXPECT_EQ(p->viewer_row_x()[1], 1.0f);
  EXPECT_EQ(p->viewer_position()[0], 5.0f);
  EXPECT_NEAR(p->viewer_position()[2], kGround + 0.25f, 1e-5f);
}

TEST_F(ViewerTest, MoveViewerStepsAFifteenthClampsAndKeepsHalfAMetreAboveTheGround) {
  const float target3[3] = {0.0f, 0.0f, kGround};
  float v[3] = {150.0f, 0.0f, kGround + 3.0f};
  sim::MoveViewer(v, target3, 1, 0.0f, 0);
  EXPECT_NEAR(v[0], 140.0f, 1e-4f);
  sim::MoveViewer(v, target3, 0, 3.14159265f / 2, 0);  // a quarter turn
  EXPECT_NEAR(v[0], 0.0f, 1e-3f);
  EXPECT_NEAR(std::fabs(v[1]), 140.0f, 1e-3f);
  sim::session.settings.viewer_distance_min = 2.0f;
  float near[3] = {1.0f, 0.0f, kGround + 3.0f};
  sim::MoveViewer(near, target3, 0, 0.0f, 0);
  EXPECT_NEAR(near[0], 2.0f, 1e-5f);
  sim::session.settings.viewer_distance_max = 100.0f;
  float far[3] = {300.0f, 0.0f, kGround + 3.0f};
  sim::MoveViewer(far, target3, 0, 0.0f, 0);
  EXPECT_NEAR(far[0], 100.0f, 1e-4f);
  float low[3] = {10.0f, 0.0f, kGround + 1.0f};
  sim::MoveViewer(low, target3, 0, 0.0f, 1);  // within 2 m: one height step
  EXPECT_NEAR(low[2], kGround + 1.0f + sim::session.settings.viewer_change_height, 1e-5f);
  float high[3] = {10.0f, 0.0f, kGround + 12.0f};
  sim::MoveViewer(high, target3, 0, 0.0f, -1);  // a fifth of the difference
  EXPECT_NEAR(high[2], kGround + 12.0f - 2.4f, 1e-4f);
  float ceiling[3] = {10.0f, 0.0f, 700.0f};
  sim::MoveViewer(ceiling, target3, 0, 0.0f, 1);
  EXPECT_NEAR(ceiling[2], 2.1f * 300.0f, 1e-3f);
  float under[3] = {10.0f, 0.0f, kGround - 5.0f};
  sim::MoveViewer(under, target3, 0, 0.0f, 0);
  EXPECT_NEAR(under[2], kGround + 0.5f, 1e-5f);
}

}  // namespace
