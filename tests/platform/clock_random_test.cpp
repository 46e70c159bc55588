#include <unistd.h>

#include <vector>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/random.h"

namespace {

TEST(ClockTest, CountsMicrosecondsFromStart) {
  kxsystem::StartClock();
  uint32_t before = kxsystem::GetTime();
  usleep(20000);
  uint32_t elapsed = kxsystem::GetTime() - before;
  EXPECT_GE(elapsed, 19000u);
  EXPECT_LT(elapsed, 2000000u);
}

TEST(ClockTest, TestSourceReplacesTheClockUntilCleared) {
  kxsystem::SetClockForTest([]() -> uint32_t { return 0xFFFFFFF0u; });
  EXPECT_EQ(kxsystem::GetTime(), 0xFFFFFFF0u);
  kxsystem::SetClockForTest(nullptr);
  kxsystem::StartClock();
  EXPECT_LT(kxsystem::GetTime(), 1000000u);
}

TEST(RandomTest, SameSeedGivesSameSequenceAndZeroActsAsOne) {
  std::vector<float> first, second;
  kxsystem::SeedRandom(7);
  for (int i = 0; i < 50; ++i) first.push_back(kxsystem::Random());
  kxsystem::SeedRandom(7);
  for (int i = 0; i < 50; ++i) second.push_back(kxsystem::Random());
  EXPECT_EQ(first, second);
  kxsystem::SeedRandom(0);
  float zero = kxsystem::Random();
  kxsystem::SeedRandom(1);
  EXPECT_EQ(zero, kxsystem::Random());
  kxsystem::SeedRandom(8);
  EXPECT_NE(first[0], kxsystem::Random());
}

TEST(RandomTest, ValuesAreUniformInHalfOpenUnitInterval) {
  kxsystem::SeedRandom(12345);
  double sum = 0;
  int buckets[10] = {};
  const int count = 100000;
  for (int i = 0; i < count; ++i) {
    float r = kxsystem::Random();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    sum += r;
    ++buckets[static_cast<int>(r * 10)];
  }
  EXPECT_NEAR(sum / count, 0.5, 0.005);
  for (int b : buckets) EXPECT_NEAR(b, count / 10, 600);
}

TEST(RandomTest, KnownFirstValueOfSeedOne) {
  // Reference value of this combined generator for seed 1 (computed once,
  // pins the constants and the shuffle).
  kxsystem::SeedRandom(1);
  EXPECT_NEAR(kxsystem::Random(), 0.285381f, 1e-6f);
}

}  // namespace
