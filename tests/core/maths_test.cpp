// The shared factors are the very floats each file used to spell out: one
// bit off would move every flight trace, so each is held to its old value.
#include <cstdint>
#include <cstring>

#include "core/maths.h"
#include "gtest/gtest.h"

namespace {

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

TEST(MathsTest, FactorsKeepTheFloatsTheFilesComputedWith) {
  struct row {
    const char* name;
    float shared, old;
  };
  const row rows[] = {
      {"pi", kxmaths::kPi, 3.14159265358979f},
      {"two pi", kxmaths::kTwoPi, 6.2831855f},
      {"radians per degree", kxmaths::kRadiansPerDegree, 0.0174532924f},
      {"radians per degree, worked", kxmaths::kRadiansPerDegree, 3.14159265358979f / 180.0f},
      {"degrees per radian", kxmaths::kDegreesPerRadian, 57.2957764f},
      {"rpm per rad/s", kxmaths::kRpmPerRadianPerSecond, 30.0f / 3.1415927f},
      {"rpm per rad/s, from two pi", kxmaths::kRpmPerRadianPerSecond, 60.0f / (2.0f * 3.1415927f)},
      {"rpm per rad/s, written", kxmaths::kRpmPerRadianPerSecond, 9.5492964f},
      {"rad/s per rpm", kxmaths::kRadiansPerSecondPerRpm, 2.0f * 3.1415927f / 60.0f},
      {"radians per degree, display units", kxmaths::kRadiansPerDegree, 0.017453292f},
      {"degrees per radian, display units", kxmaths::kDegreesPerRadian, 57.295776f},
      {"shown degrees per radian", kxmaths::kShownDegreesPerRadian, 57.29578f},
      {"km/h per m/s", kxmaths::kKmhPerMs, 3.6f},
  };
  for (const row& r : rows) EXPECT_EQ(Bits(r.shared), Bits(r.old)) << r.name;
  EXPECT_EQ(kxmaths::kRadiansPerDegreeDouble, 3.14159265358979323846 / 180.0);
}

// The shown factor is a float of its own: folded into 180/pi, a heading
// truncated to whole degrees would read one lower.
TEST(MathsTest, ShownDegreesAreOneBitAboveTheWorkedFactor) {
  EXPECT_EQ(Bits(kxmaths::kShownDegreesPerRadian), Bits(kxmaths::kDegreesPerRadian) + 1);
  const float heading = 0.506145477f;  // 29 degrees as the float a record holds
  EXPECT_EQ(static_cast<int>(heading * kxmaths::kShownDegreesPerRadian), 29);
  EXPECT_EQ(static_cast<int>(heading * kxmaths::kDegreesPerRadian), 28);
}

}  // namespace
