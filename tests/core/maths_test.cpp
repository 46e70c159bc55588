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
  };
  for (const row& r : rows) EXPECT_EQ(Bits(r.shared), Bits(r.old)) << r.name;
}

}  // namespace
