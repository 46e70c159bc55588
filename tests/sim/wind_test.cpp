#include "sim/wind.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dynamics/air_model.h"
#include "sim/session.h"
#include "sim/world/world.h"

namespace {

constexpr float kPi = 3.14159265f;

class Wind : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<world>();
    w->scenery_size = 6000;
    w->cloud_repeat = 4;
    sim::session.run.sim_time_step = 0.02f;
    kxdynamics::Environment() = kxdenvironment{};
  }
  void TearDown() override {
    sim::session.run = {};
    kxdynamics::Environment() = kxdenvironment{};
  }
  void Blow(float speed, float direction) {
    kxdynamics::Environment().wind_speed = speed;
    kxdynamics::Environment().wind_direction = direction;
  }
  // A wind wheel: blades (kind 90) on a base (kind 91).
  void WindWheel(float angle, float spin) {
    wheel[0] = kxgeometrydynobject{};
    wheel[1] = kxgeometrydynobject{};
    wheel[0].kind = kDynWindBlades;
    wheel[0].angle = angle;
    wheel[0].spin = spin;
    wheel[0].position[0] = 100, wheel[0].position[1] = 50, wheel[0].position[2] = 3;
    wheel[0].hub[0] = 0.5f, wheel[0].hub[2] = 12;
    wheel[0].next = &wheel[1];
    wheel[1].kind = kDynWindBase;
    wheel[1].position[0] = 100, wheel[1].position[1] = 50, wheel[1].position[2] = 3;
    w->dynobjects = wheel;
  }
  static void ExpectRow(const kxvector4r& row, float x, float y, float z, float wv) {
    EXPECT_NEAR(row.x, x, 1e-5f);
    EXPECT_NEAR(row.y, y, 1e-5f);
    EXPECT_NEAR(row.z, z, 1e-5f);
    EXPECT_EQ(row.w, wv);
  }

  std::unique_ptr<world> w;
  kxgeometrydynobject wheel[2];
};

TEST_F(Wind, CloudsAndOceanDriftDownwindAtTheirRates) {
  struct {
    float direction;
    float cloud[2];  // per second of 10 m/s wind
  } cases[] = {{0, {10 * 5 * 4 / 6000.0f, 0}}, {90, {0, 10 * 5 * 4 / 6000.0f}}, {180, {-10 * 5 * 4 / 6000.0f, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.direction);
    w->cloud_scroll[0] = w->cloud_scroll[1] = w->ocean_scroll[0] = w->ocean_scroll[1] = 0;
    Blow(10, c.direction);
    for (int i = 0; i < 50; ++i) sim::UpdateWind(w.get());
    for (int k = 0; k < 2; ++k) {
      EXPECT_NEAR(w->cloud_scroll[k], c.cloud[k], 1e-5f);
      EXPECT_NEAR(w->ocean_scroll[k], c.cloud[k] / (5 * 4 / 6000.0f) * 0.001f, 1e-6f);
    }
  }
}

TEST_F(Wind, EachScrollValueWrapsOnceIntoTheOpenUnitRange) {
  Blow(0, 0);
  const float before[4] = {1.2f, -1.0f, 0.5f, -1.5f}, after[4] = {0.2f, 0.0f, 0.5f, -0.5f};
  w->cloud_scroll[0] = before[0], w->cloud_scroll[1] = before[1];
  w->ocean_scroll[0] = before[2], w->ocean_scroll[1] = before[3];
  sim::UpdateWind(w.get());
  EXPECT_NEAR(w->cloud_scroll[0], after[0], 1e-6f);
  EXPECT_NEAR(w->cloud_scroll[1], after[1], 1e-6f);
  EXPECT_NEAR(w->ocean_scroll[0], after[2], 1e-6f);
  EXPECT_NEAR(w->ocean_scroll[1], after[3], 1e-6f);
}

TEST_F(Wind, BladesSpinAboutTheirXAxisTurnedIntoTheWindAndTheBaseOnlyTurns) {
  WindWheel(30, 1.1f);
  Blow(8, 60);
  sim::UpdateWind(w.get());
  const float angle = 30 + 1.1f * 30 * 8 * 0.02f;
  EXPECT_FLOAT_EQ(wheel[0].angle, angle);
  const float d = 60 * kPi / 180, a = angle * kPi / 180;
  const float cd = std::cos(d), sd = std::sin(d), c = std::cos(a), s = std::sin(a);
  ExpectRow(wheel[0].frame.X, cd, sd, 0, 0);
  ExpectRow(wheel[0].frame.Y, -c * sd, c * cd, -s, 0);
  ExpectRow(wheel[0].frame.Z, -s * sd, s * cd, c, 0);
  ExpectRow(wheel[0].frame.R, 100.5f, 50, 15, 1);
  ExpectRow(wheel[1].frame.X, cd, sd, 0, 0);
  ExpectRow(wheel[1].frame.Y, -sd, cd, 0, 0);
  ExpectRow(wheel[1].frame.Z, 0, 0, 1, 0);
  ExpectRow(wheel[1].frame.R, 100, 50, 3, 1);
}

TEST_F(Wind, WithoutWindNothingMovesButTheWheelStillFacesTheWindDirection) {
  WindWheel(400, 1.0f);
  Blow(0, 90);
  w->cloud_scroll[0] = 0.25f;
  sim::UpdateWind(w.get());
  EXPECT_EQ(wheel[0].angle, 400.0f);  // no wrap: the frame is periodic in 360
  EXPECT_EQ(w->cloud_scroll[0], 0.25f);
  EXPECT_EQ(w->ocean_scroll[1], 0.0f);
  ExpectRow(wheel[0].frame.X, 0, 1, 0, 0);
  ExpectRow(wheel[1].frame.X, 0, 1, 0, 0);
  // 400 degrees turns the blades as 40 does.
  const float c = std::cos(40 * kPi / 180), s = std::sin(40 * kPi / 180);
  ExpectRow(wheel[0].frame.Y, -c, 0, -s, 0);
}

TEST_F(Wind, ASceneryWithoutExtentMovesNoClouds) {
  w->scenery_size = 0;
  Blow(10, 0);
  sim::UpdateWind(w.get());
  EXPECT_EQ(w->cloud_scroll[0], 0.0f);
  EXPECT_GT(w->ocean_scroll[0], 0.0f);
}

}  // namespace
