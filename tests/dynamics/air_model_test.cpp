// The air model: wind profile, gusts, thermals and the ground bump field.
#include <algorithm>
#include <cmath>

#include "dynamics/air_model.h"
#include "dynamics/driver.h"
#include "dynamics_support.h"

namespace {

using kxdtest::dynamicstest;

TEST_F(dynamicstest, AirVelocityWithoutInstanceIsZero) {
  kxvector4r v = kxdaircraftinstance::AirVelocityAt(nullptr, {10.0f, 20.0f, 30.0f, 1.0f});
  EXPECT_EQ(v.x, 0.0f);
  EXPECT_EQ(v.y, 0.0f);
  EXPECT_EQ(v.z, 0.0f);
  EXPECT_EQ(v.w, 0.0f);
}

TEST_F(dynamicstest, WindFromNinetyDegreesFollowsTheHeightProfile) {
  const kxdenvironment e{.wind_speed = 5.0f, .wind_thermic = 0.0f, .wind_direction = 90.0f};
  kxdynamics::InitField(e);
  kxvector4r high = kxdynamics::AirVelocity({0.0f, 0.0f, 100.0f, 1.0f}, 0.0f);
  float f = std::min(std::pow(100.0f / 10.0f, 0.1f + 0.2f * 0.5f), 1.3f);
  EXPECT_NEAR(high.x, 0.0f, 1e-5f);
  EXPECT_NEAR(high.y, 5.0f * f, 1e-5f);
  EXPECT_NEAR(high.z, 0.0f, 1e-6f);
  kxvector4r ground = kxdynamics::AirVelocity({0.0f, 0.0f, 0.0f, 1.0f}, 0.0f);
  EXPECT_EQ(ground.y, 0.0f);
  // Heights count from the ground below the point.
  kxvector4r hill = kxdynamics::AirVelocity({0.0f, 0.0f, 150.0f, 1.0f}, 50.0f);
  EXPECT_NEAR(hill.y, high.y, 1e-5f);
}

TEST_F(dynamicstest, PublishedAirVelocityOfAnInstanceIncludesTheGradient) {
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  kxdbody main;
  main.B.R = {0.0f, 0.0f, 20.0f, 1.0f};
  instance->SimMainBody = &main;
  const kxdenvironment e{.wind_speed = 4.0f, .wind_thermic = 0.0f, .wind_direction = 0.0f};
  kxdynamics::InitField(e);
  kxdynamics::UpdateAir(instance, nullptr);
  kxvector4r above = kxdaircraftinstance::AirVelocityAt(instance, {0.0f, 0.0f, 21.0f, 1.0f});
  kxvector4r model = kxdynamics::AirVelocity({0.0f, 0.0f, 21.0f, 1.0f}, 0.0f);
  EXPECT_NEAR(above.x, model.x, 0.01f);
  EXPECT_GT(above.x, instance->AirVelocity.x);
  instance->SimMainBody = nullptr;
}

TEST_F(dynamicstest, AirVelocityAtAPointSumsEachGradientRowInOrder) {
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
  const kxvector4r savedAir = instance->AirVelocity;
  float saved[9];
  std::copy(instance->AirGradient, instance->AirGradient + 9, saved);
  kxdbody main;
  main.B.R = {3.25f, -7.5f, 41.0f, 1.0f};
  instance->SimMainBody = &main;
  instance->AirVelocity = {1.1f, -2.3f, 0.7f, 5.0f};
  const float G[9] = {0.013f, -0.071f, 0.29f, 0.0037f, 0.11f, -0.53f, 0.097f, -0.0011f, 0.43f};
  std::copy(G, G + 9, instance->AirGradient);
  const kxvector4r p = {-12.7f, 31.9f, 44.3f, 1.0f};
  kxvector4r v = kxdaircraftinstance::AirVelocityAt(instance, p);
  float dx = p.x - main.B.R.x, dy = p.y - main.B.R.y, dz = p.z - main.B.R.z;
  // Row by row, term by term, bit for bit; the w of a velocity is 0.
  EXPECT_EQ(v.x, 1.1f + G[0] * dx + G[1] * dy + G[2] * dz);
  EXPECT_EQ(v.y, -2.3f + G[3] * dx + G[4] * dy + G[5] * dz);
  EXPECT_EQ(v.z, 0.7f + G[6] * dx + G[7] * dy + G[8] * dz);
  EXPECT_EQ(v.w, 0.0f);
  instance->SimMainBody = nullptr;
  instance->AirVelocity = savedAir;
  std::copy(saved, saved + 9, instance->AirGradient);
}

TEST_F(dynamicstest, TurbulenceGivesGustsThatDependOnPlace) {
  const kxdenvironment e{.wind_turbulence = 2.0f, .wind_thermic = 0.0f};
  kxdynamics::InitField(e);
  kxvector4r a = kxdynamics::AirVelocity({3.0f, 4.0f, 50.0f, 1.0f}, 0.0f);
  kxvector4r b = kxdynamics::AirVelocity({47.0f, 81.0f, 50.0f, 1.0f}, 0.0f);
  EXPECT_NE(a.x, b.x);
  EXPECT_LE(std::fabs(a.x), 2.0f * 1.3f);
  EXPECT_LE(std::fabs(a.z), 1.0f * 1.3f);
  // The grid repeats every 160 m across.
  kxvector4r c = kxdynamics::AirVelocity({163.0f, 4.0f, 50.0f, 1.0f}, 0.0f);
  EXPECT_NEAR(a.x, c.x, 1e-4f);
  // Below zero as well, in every direction.
  kxvector4r d = kxdynamics::AirVelocity({3.0f - 160.0f, 4.0f - 320.0f, 50.0f, 1.0f}, 0.0f);
  EXPECT_NEAR(a.x, d.x, 1e-4f);
  EXPECT_NEAR(a.y, d.y, 1e-4f);
  EXPECT_NEAR(a.z, d.z, 1e-4f);
}

TEST_F(dynamicstest, ThermalLiftsInsideAndSinksAroundIt) {
  const kxdenvironment e{.wind_thermic = 5.0f};
  kxdynamics::InitField(e);
  kxdthermal* t = kxdynamics::Thermals();
  for (int i = 0; i < kxdynamics::kThermals; ++i) t[i].radius = 0.0f;
  t[0] = {100.0f, 100.0f, 50.0f, 5.0f, 300.0f, 0.0f};
  EXPECT_NEAR(kxdynamics::AirVelocity({100.0f, 100.0f, 60.0f, 1.0f}, 0.0f).z, 5.0f, 1e-4f);
  EXPECT_NEAR(kxdynamics::AirVelocity({100.0f, 100.0f, 15.0f, 1.0f}, 0.0f).z, 2.5f, 1e-4f);
  EXPECT_NEAR(kxdynamics::AirVelocity({175.0f, 100.0f, 60.0f, 1.0f}, 0.0f).z, -1.0f, 1e-4f);
  EXPECT_EQ(kxdynamics::AirVelocity({300.0f, 100.0f, 60.0f, 1.0f}, 0.0f).z, 0.0f);
  // Nothing at or above the cloud height.
  EXPECT_EQ(kxdynamics::AirVelocity({100.0f, 100.0f, 250.0f, 1.0f}, 0.0f).z, 0.0f);
}

TEST_F(dynamicstest, ThermalsDriftWithTheWindAndRespawnWhenExpired) {
  const kxdenvironment e{.wind_speed = 2.0f, .wind_thermic = 1.0f, .wind_direction = 0.0f};
  kxdynamics::InitField(e);
  kxdthermal* t = kxdynamics::Thermals();
  t[0] = {0.0f, 0.0f, 40.0f, 1.0f, 1000.0f, 0.0f};
  t[1] = {0.0f, 0.0f, 40.0f, 1.0f, 10.0f, 9.5f};
  kxdynamics::AdvanceField(1.0f, 6000.0f, 200.0f);
  EXPECT_NEAR(t[0].x, 2.0f, 1e-5f);
  EXPECT_LT(t[1].age, 1.0f);
  EXPECT_GE(t[1].radius, 30.0f);
  EXPECT_LE(t[1].radius, 80.0f);
  EXPECT_LE(std::fabs(t[1].x), 1000.0f);
}

TEST_F(dynamicstest, NegativeSettingsCountAsZero) {
  const kxdenvironment e{.wind_speed = -3.0f, .wind_turbulence = -1.0f, .wind_thermic = 0.0f};
  kxdynamics::InitField(e);
  kxvector4r v = kxdynamics::AirVelocity({5.0f, 5.0f, 50.0f, 1.0f}, 0.0f);
  EXPECT_EQ(v.x, 0.0f);
  EXPECT_EQ(v.y, 0.0f);
}

TEST_F(dynamicstest, BumpFieldRepeatsEveryTileAndScalesWithRoughness) {
  const kxdenvironment e{.surface_roughness = 0.0f};
  kxdynamics::InitField(e);
  float largest = 0.0f;
  for (float x = -20.0f; x < 20.0f; x += 0.173f) {
    for (float y = -3.0f; y < 3.0f; y += 0.31f) {
      float h = kxdynamics::SampleField(x, y, nullptr);
      largest = std::max(largest, std::fabs(h));
      EXPECT_NEAR(kxdynamics::SampleField(x + 12.8f, y, nullptr), h, 1e-5f);
    }
  }
  EXPECT_LE(largest, 0.005f);
  EXPECT_GT(largest, 0.0f);
  kxvector4r n;
  kxdynamics::SampleField(1.23f, 4.56f, &n);
  float dx = (kxdynamics::SampleField(1.235f, 4.56f, nullptr) - kxdynamics::SampleField(1.225f, 4.56f, nullptr)) / 0.01f;
  EXPECT_NEAR(n.x, -dx, 1e-3f);
}

}  // namespace
