// The sound slots against OpenAL Soft itself: its null output (no hardware)
// and its wave-file writer, whose file tells which channel a sound went to.
#include <SDL2/SDL.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <thread>

#include "platform/codes.h"
#include "platform/sound.h"
#include "tests/temp_dir.h"
#include "wave_maker.h"

namespace {

const float kOrigin[3] = {0, 0, 0};

class OpenAlSoundTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    directsound::Reset();
    directsound::SetBackend(nullptr);
    Write("sound/tone.wav", MakeWave(22050, 1, 22050, 440.0f, 0.8f));
  }
  void TearDown() override {
    directsound::Reset();
    TempDirTest::TearDown();
  }
};

TEST_F(OpenAlSoundTest, SlotsPlayStopAndResumeOnTheNullDevice) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* s = directsound::RegisterSound("sound/tone.wav");
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(directsound::LoadSounds(), 1);
  ASSERT_NE(s->voice, 0);
  soundbackend* al = kxsystem::OpenAlSoundBackend();
  const float at[3] = {5, 0, 0};
  directsound::PlaySound3D(s, kxcode::kSoundLoop, at, kOrigin, 1);
  EXPECT_EQ(al->IsPlaying(s->voice), 1);
  directsound::UpdateSound(s, at, nullptr, 0.02f);
  EXPECT_EQ(directsound::StopAll(kxcode::kStopKeepMark), 1);
  EXPECT_EQ(al->IsPlaying(s->voice), 0);
  EXPECT_EQ(directsound::ResumeAll(), 1);
  EXPECT_EQ(al->IsPlaying(s->voice), 1);
  directsound::StopSound(s);
  EXPECT_EQ(al->IsPlaying(s->voice), 0);
  directsound::DeleteSound(s);
  directsound::Release();
  EXPECT_EQ(directsound::HasDevice(), 0);
}

// Mean square of each channel of a stereo wave file.
bool ChannelEnergy(const std::string& path, double* left, double* right) {
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(path.c_str(), &spec, &data, &length)) return false;
  bool ok = spec.channels == 2 && (spec.format == AUDIO_S16SYS || spec.format == AUDIO_F32SYS);
  *left = *right = 0;
  if (ok) {
    bool isFloat = spec.format == AUDIO_F32SYS;
    size_t frames = length / (isFloat ? 8 : 4);
    for (size_t i = 0; i < frames; ++i) {
      double l, r;
      if (isFloat) {
        l = reinterpret_cast<float*>(data)[2 * i];
        r = reinterpret_cast<float*>(data)[2 * i + 1];
      } else {
        l = reinterpret_cast<int16_t*>(data)[2 * i] / 32768.0;
        r = reinterpret_cast<int16_t*>(data)[2 * i + 1] / 32768.0;
      }
      *left += l * l;
      *right += r * r;
    }
  }
  SDL_FreeWAV(data);
  return ok;
}

// A sound on the listener's right, heard through the wave writer: 0 when the
// right channel is more than four times as loud as the left, 1 otherwise.
int HeardOnTheRight(const std::string& folder) {
  std::string output = folder + "/heard.wav";
  if (!directsound::Start()) return 1;
  kxsound* s = directsound::RegisterSound("sound/tone.wav");
  if (!s || directsound::LoadSounds() != 1) return 1;
  // Facing +y with world up +z; callers pass the top vector pointing down.
  const float front[3] = {0, 1, 0}, top[3] = {0, 0, -1};
  directsound::SetListener(kOrigin, kOrigin, front, top);
  const float right[3] = {10, 0, 0};
  directsound::PlaySound3D(s, kxcode::kSoundLoop, right, kOrigin, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  directsound::Release();
  double left = 0, rightEnergy = 0;
  if (!ChannelEnergy(output, &left, &rightEnergy)) return 1;
  return rightEnergy > 0.0 && rightEnergy > 4.0 * left ? 0 : 1;
}

// OpenAL reads its configuration once per process, so the wave writer is
// chosen in a process of its own: the test program run again for this test
// alone.
using OpenAlSoundDeathTest = OpenAlSoundTest;

TEST_F(OpenAlSoundDeathTest, LoopOnTheListenersRightIsLouderInTheRightChannel) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Write("alsoft.conf", "[general]\nchannels = stereo\nsample-type = int16\nhrtf = false\n[wave]\nfile = " +
                                 dir_ + "/heard.wav\n");
        setenv("ALSOFT_CONF", (dir_ + "/alsoft.conf").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        int code = HeardOnTheRight(dir_);
        temp_.reset();
        _exit(code);  // no leak report from the library's threads
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
