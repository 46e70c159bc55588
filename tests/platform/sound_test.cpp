#include "platform/sound.h"

#include <cstring>
#include <string>

#include "platform/codes.h"
#include "platform/log.h"
#include "platform/wave_file.h"
#include "tests/temp_dir.h"
#include "wave_maker.h"

namespace {

using kxcode::kSoundLoop;
using kxcode::kSoundOnce;

const float kOrigin[3] = {0, 0, 0};

class SoundTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    directsound::Reset();
    directsound::SetBackend(&fake_);
    kxsystem::ClearLogHistory();
    Write("sound/beep.wav", MakeWave(22050, 1, 2205));
    Write("sound/stereo.wav", MakeWave(44100, 2, 441));
  }
  void TearDown() override {
    directsound::Reset();
    directsound::SetBackend(nullptr);
    TempDirTest::TearDown();
  }
  kxsound* Loaded(const char* path) {
    kxsound* s = directsound::RegisterSound(path);
    directsound::LoadSounds();
    return s;
  }
  const fakesoundbackend::Voice& VoiceOf(kxsound* s) { return fake_.voices[s->voice]; }
  fakesoundbackend fake_;
};

TEST_F(SoundTest, RegisterReadsTheWaveAsMonoAtItsRateAndLogsOneLine) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* s = directsound::RegisterSound("sound/beep.wav");
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "directsound:  register sound sound/beep.wav=ok");
  EXPECT_EQ(s->rate, 22050);
  EXPECT_FLOAT_EQ(s->frequency, 22050.0f);
  EXPECT_FLOAT_EQ(s->volume, 1.0f);
  EXPECT_EQ(s->samples.size(), 2205u);
  kxsound* stereo = directsound::RegisterSound("SOUND/Stereo.WAV");  // case-blind
  ASSERT_NE(stereo, nullptr);
  EXPECT_EQ(stereo->samples.size(), 441u);
  EXPECT_EQ(s->voice, 0);
  EXPECT_EQ(directsound::LoadSounds(), 1);
  EXPECT_EQ(VoiceOf(s).count, 2205);
  EXPECT_EQ(VoiceOf(stereo).rate, 44100);
}

TEST_F(SoundTest, UnreadableFullAndSuppressedRegistrationsGiveNull) {
  Write("sound/bad.wav", "RIFF....WAVEjunk");
  EXPECT_EQ(directsound::RegisterSound("sound/missing.wav"), nullptr);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "directsound:  register sound sound/missing.wav=fail (not found)");
  EXPECT_EQ(directsound::RegisterSound("sound/bad.wav"), nullptr);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "directsound:  register sound sound/bad.wav=fail (no wave sound of a rate and "
                                        "kind that can be played)");
  directsound::suppress_registration = 1;
  EXPECT_EQ(directsound::RegisterSound("sound/beep.wav"), nullptr);
  directsound::suppress_registration = 0;
  for (int i = 0; i < directsound::kSlotCount; ++i) ASSERT_NE(directsound::RegisterSound("sound/beep.wav"), nullptr);
  EXPECT_EQ(directsound::RegisterSound("sound/beep.wav"), nullptr);
}

// A loop started without playing is marked; StopAll keeps or clears the
// marks, ResumeAll plays marked loops but never one-shots, and a playing
// slot is not restarted.
TEST_F(SoundTest, MarksDecideWhatResumeAllPlays) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* loop = Loaded("sound/beep.wav");
  kxsound* once = Loaded("sound/beep.wav");
  const float at[3] = {10, 0, 0};
  directsound::PlaySound3D(loop, kSoundLoop, at, kOrigin, 0);
  directsound::PlaySound3D(once, kSoundOnce, at, kOrigin, 1);
  EXPECT_EQ(loop->playing, 1);
  EXPECT_EQ(VoiceOf(loop).playing, 0);
  EXPECT_EQ(VoiceOf(once).playing, 1);
  EXPECT_EQ(VoiceOf(once).position[0], 10.0f);
  EXPECT_EQ(directsound::StopAll(kxcode::kStopKeepMark), 1);
  EXPECT_EQ(directsound::ResumeAll(), 1);
  EXPECT_EQ(VoiceOf(loop).playing, 1);
  EXPECT_EQ(VoiceOf(loop).loop, 1);
  EXPECT_EQ(VoiceOf(once).playing, 0);
  directsound::PlaySound(loop, kSoundLoop, 1);
  EXPECT_EQ(VoiceOf(loop).plays, 1);
  EXPECT_EQ(directsound::StopAll(kxcode::kStopClearMark), 1);
  EXPECT_EQ(loop->playing, 0);
  directsound::ResumeAll();
  EXPECT_EQ(VoiceOf(loop).playing, 0);
}

// A non-positional sound plays at the listener, and playing it again does
// not restart it.
TEST_F(SoundTest, PlayingSlotIsNotRestarted) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* s = Loaded("sound/beep.wav");
  directsound::PlaySound(s, kSoundLoop, 1);
  directsound::PlaySound(s, kSoundLoop, 1);
  EXPECT_EQ(VoiceOf(s).plays, 1);
  EXPECT_EQ(VoiceOf(s).relative, 1);
}

// Pitch follows the approach speed; a paused frame, a jump, a bad base
// frequency or position keep it within bounds.
TEST_F(SoundTest, DopplerRaisesThePitchOfAnApproachingSoundWithinBounds) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* s = Loaded("sound/beep.wav");
  const float far[3] = {100, 0, 0}, near[3] = {99, 0, 0}, jump[3] = {0, 1, 0};
  directsound::PlaySound3D(s, kSoundLoop, far, kOrigin, 1);
  directsound::UpdateSound(s, far, nullptr, 0.0f);
  EXPECT_FLOAT_EQ(VoiceOf(s).pitch, 1.0f);
  directsound::UpdateSound(s, near, nullptr, 0.01f);
  EXPECT_NEAR(VoiceOf(s).pitch * 22050.0f, 28711.6f, 0.5f);
  EXPECT_FLOAT_EQ(s->distance, 99.0f);
  EXPECT_FLOAT_EQ(s->frequency, 22050.0f);  // the base stays the caller's
  directsound::UpdateSound(s, jump, nullptr, 0.001f);
  EXPECT_FLOAT_EQ(VoiceOf(s).pitch, 2.0f);
  s->frequency = 0;
  directsound::UpdateSound(s, jump, nullptr, 0.01f);
  EXPECT_FLOAT_EQ(VoiceOf(s).pitch * 22050.0f, directsound::kMinFrequency);
  const float nan[3] = {NAN, 0, 0};
  directsound::UpdateSound(s, nan, nullptr, 0.01f);
  EXPECT_FLOAT_EQ(s->position[0], 0.0f);
}

TEST_F(SoundTest, VolumeFollowsTheDecibelCurve) {
  EXPECT_FLOAT_EQ(directsound::VolumeToGain(0.0f), 0.0f);
  EXPECT_FLOAT_EQ(directsound::VolumeToGain(1.0f), 1.0f);
  EXPECT_NEAR(directsound::VolumeToGain(0.5f), 0.1f, 1e-6f);
  EXPECT_FLOAT_EQ(directsound::VolumeToGain(7.0f), 1.0f);
  ASSERT_EQ(directsound::Start(), 1);
  directsound::SetMasterVolume(0.5f);
  EXPECT_NEAR(fake_.master_gain, 0.1f, 1e-6f);
  kxsound* s = Loaded("sound/beep.wav");
  s->volume = 0.75f;
  directsound::UpdateSound(s, kOrigin, nullptr, 0.01f);
  EXPECT_NEAR(VoiceOf(s).gain, std::pow(10.0f, -0.5f), 1e-6f);
}

TEST_F(SoundTest, ListenerUpIsTheCallersTopNegated) {
  ASSERT_EQ(directsound::Start(), 1);
  const float pos[3] = {1, 2, 3}, front[3] = {0, 1, 0}, top[3] = {0, 0, -1};
  directsound::SetListener(pos, kOrigin, front, top);
  EXPECT_EQ(fake_.listener_up[2], 1.0f);
  EXPECT_EQ(fake_.listener_at[1], 1.0f);
}

TEST_F(SoundTest, DeletedAndForeignHandlesAreIgnored) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* s = Loaded("sound/beep.wav");
  directsound::DeleteSound(s);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "directsound:  deleting sound sound/beep.wav=ok");
  EXPECT_TRUE(fake_.voices.empty());
  directsound::PlaySound(s, kSoundLoop, 1);
  directsound::UpdateSound(s, kOrigin, nullptr, 0.1f);
  directsound::StopSound(s);
  directsound::DeleteSound(s);
  kxsound foreign;
  foreign.used = 1;
  directsound::PlaySound(&foreign, kSoundLoop, 1);
  directsound::DeleteSound(nullptr);
  EXPECT_EQ(fake_.calls.back(), "delete 1");
  EXPECT_EQ(directsound::RegisterSound("sound/beep.wav"), directsound::Slot(0));  // the slot is free again
}

TEST_F(SoundTest, ReleaseKeepsRegistrationsMarksAndSettings) {
  ASSERT_EQ(directsound::Start(), 1);
  kxsound* s = Loaded("sound/beep.wav");
  s->volume = 0.3f;
  s->frequency = 30000;
  directsound::PlaySound(s, kSoundLoop, 1);
  directsound::Release();
  EXPECT_EQ(s->voice, 0);
  EXPECT_EQ(s->used, 1);
  EXPECT_EQ(s->playing, 1);
  EXPECT_FLOAT_EQ(s->volume, 0.3f);
  EXPECT_EQ(directsound::StopAll(kxcode::kStopClearMark), 0);
  EXPECT_EQ(directsound::ResumeAll(), 0);
  ASSERT_EQ(directsound::Start(), 1);
  directsound::LoadSounds();
  EXPECT_NE(s->voice, 0);
  directsound::ResumeAll();
  EXPECT_EQ(VoiceOf(s).playing, 1);
}

TEST_F(SoundTest, WithoutDeviceEverythingIsSilentAndReportsZero) {
  fake_.has_device = 0;
  EXPECT_EQ(directsound::Start(), 0);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "directsound:  no sound device");
  kxsound* s = directsound::RegisterSound("sound/beep.wav");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(directsound::LoadSounds(), 0);
  directsound::PlaySound3D(s, kSoundLoop, kOrigin, kOrigin, 1);
  directsound::UpdateSound(s, kOrigin, nullptr, 0.01f);
  EXPECT_EQ(directsound::StopAll(kxcode::kStopKeepMark), 0);
  EXPECT_EQ(directsound::ResumeAll(), 0);
}

TEST(WaveFileTest, RefusesTruncatedAndRatelessFiles) {
  kxwave wave;
  std::string good = MakeWave(8000, 1, 100);
  EXPECT_EQ(kxsystem::DecodeWave(good.data(), good.size(), wave), 1);
  EXPECT_EQ(wave.samples.size(), 100u);
  EXPECT_EQ(kxsystem::DecodeWave(good.data(), 20, wave), 0);
  EXPECT_TRUE(wave.samples.empty());
  std::string slow = MakeWave(50, 1, 100);
  EXPECT_EQ(kxsystem::DecodeWave(slow.data(), slow.size(), wave), 0);
  std::string empty = MakeWave(8000, 1, 0);
  EXPECT_EQ(kxsystem::DecodeWave(empty.data(), empty.size(), wave), 0);
  EXPECT_EQ(kxsystem::DecodeWave(nullptr, 10, wave), 0);
}

TEST(WaveFileTest, StereoDataShorterThanOneMonoSampleIsRefused) {
  // A data chunk of one byte after the cut to the file: nothing mixes down.
  const unsigned char bytes[] = {'R', 'I', 'F', 'F', 0xa4, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                 0x10, 0, 0, 0, 1, 0, 2, 0, 0x23, 0x16, 0, 0, 0x88, 0x58, 1, 0,
                                 2, 0, 0x10, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0x32, 0, 0};
  kxwave wave;
  EXPECT_EQ(kxsystem::DecodeWave(bytes, sizeof(bytes), wave), 0);
  EXPECT_TRUE(wave.samples.empty());
}

TEST(WaveFileTest, DataChunkClaimingMoreThanTheFileHoldsKeepsWhatIsThere) {
  std::string wave = MakeWave(8000, 1, 100);
  const size_t dataSizeAt = wave.size() - 200 - 4;
  for (int i = 0; i < 4; ++i) wave[dataSizeAt + i] = static_cast<char>(0xF0);  // about 4 GB
  kxwave decoded;
  EXPECT_EQ(kxsystem::DecodeWave(wave.data(), wave.size(), decoded), 1);
  EXPECT_EQ(decoded.samples.size(), 100u);
  EXPECT_EQ(decoded.rate, 8000);
}

}  // namespace
