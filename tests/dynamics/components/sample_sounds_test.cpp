// The generated component sounds the sample aircraft ship with: mono 16-bit
// at 22050 Hz, about a second, and looping without a jump at the seam.
#include <cstdlib>
#include <string>

#include "gtest/gtest.h"
#include "platform/wave_file.h"

namespace {

// The repository's data folder: the test data path with its folder part
// (which need not exist) taken off.
std::string SoundPath(const char* name) {
  std::string root = KX_TEST_DATA;
  const std::string tail = "/tests/dynamics/components/data";
  if (root.size() >= tail.size() && root.compare(root.size() - tail.size(), tail.size(), tail) == 0) {
    root.erase(root.size() - tail.size());
  }
  return root + "/data/sound/" + name + ".wav";
}

class samplesounds : public ::testing::TestWithParam<const char*> {};

TEST_P(samplesounds, LoadAsMono22050AndLoopSmoothly) {
  kxwave wave;
  ASSERT_EQ(kxsystem::LoadWave(SoundPath(GetParam()).c_str(), wave), 1) << GetParam();
  EXPECT_EQ(wave.rate, 22050);
  ASSERT_GT(wave.samples.size(), 22050u * 9 / 10);
  EXPECT_LE(wave.samples.size(), 22050u * 11 / 10);
  int largestStep = 0, peak = 0;
  for (size_t i = 1; i < wave.samples.size(); ++i) {
    largestStep = std::max(largestStep, std::abs(wave.samples[i] - wave.samples[i - 1]));
    peak = std::max(peak, std::abs(static_cast<int>(wave.samples[i])));
  }
  EXPECT_GT(peak, 16000);
  // The step from the last sample back to the first is one the sound makes
  // anyway: no click where the loop restarts.
  int seam = std::abs(wave.samples.front() - wave.samples.back());
  EXPECT_LE(seam, largestStep);
}

INSTANTIATE_TEST_SUITE_P(components, samplesounds,
                         ::testing::Values("engine0", "engine1", "engine2", "motor", "turbine"));

}  // namespace
