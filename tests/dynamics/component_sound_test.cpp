// Component sound holders and their queue.
#include <string>

#include "dynamics/component_sound.h"
#include "gtest/gtest.h"
#include "platform/sound.h"
#include "platform/sound_backend.h"
#include "tests/core/test_support.h"
#include "tests/platform/wave_maker.h"
#include "tests/temp_dir.h"

namespace {

int fakeSound = 0;
std::string lastLoaded;
int released = 0;

class componentsound : public ::testing::Test {
 protected:
  void SetUp() override {
    lastLoaded.clear();
    released = 0;
    kxdsound::Reset();
    kxdsound::SetBackend(
        [](const char* path) -> void* {
          lastLoaded = path;
          return std::string(path) == "sound/engine.wav" ? &fakeSound : nullptr;
        },
        [](void*) { ++released; }, nullptr);
  }
  void TearDown() override { kxdsound::Reset(); }
  const float position[4] = {1, 2, 3, 1};
  const float velocity[4] = {4, 5, 6, 0};
  kxtest::logcapture log;
};

TEST_F(componentsound, StartThenUpdateThenStop) {
  kxdcomponentsound holder;
  holder.name = "engine";
  holder.Load();
  EXPECT_EQ(lastLoaded, "sound/engine.wav");
  ASSERT_EQ(holder.sample, &fakeSound);
  holder.Update(1000.0f, 0.5f, position, velocity);
  holder.Update(1100.0f, 0.5f, position, velocity);
  holder.Update(1100.0f, 0.0f, position, velocity);
  EXPECT_EQ(holder.playing, 0);
  const kxdsoundentry* e = kxdsoundqueue::Entries();
  ASSERT_EQ(kxdsoundqueue::Count(), 3);
  EXPECT_EQ(e[0].kind, kxdsoundentry::kLoopStart);
  EXPECT_EQ(e[1].kind, kxdsoundentry::kUpdate);
  EXPECT_EQ(e[2].kind, kxdsoundentry::kStop);
  EXPECT_EQ(e[3].kind, kxdsoundentry::kEnd);
  EXPECT_EQ(e[0].sound, &fakeSound);
  EXPECT_EQ(e[0].position[2], 3.0f);
  EXPECT_EQ(e[0].velocity[0], 4.0f);
}

// A sound name read from an aircraft file stays inside the data folder.
TEST_F(componentsound, ANameLeavingTheDataFolderIsNotLoaded) {
  kxdcomponentsound holder;
  for (const char* name : {"../../../outside/x", "/etc/x"}) {
    holder.name = name;
    holder.Load();
    EXPECT_EQ(holder.sample, nullptr) << name;
    const std::string said = std::string("kxdynamics:  sound ") + name + " leaves the data folder; ignored\n";
    EXPECT_TRUE(log.Contains(said.c_str()));
  }
  EXPECT_EQ(lastLoaded, "");
}

TEST_F(componentsound, NothingQueuedWithoutSampleOrWhileDisabled) {
  kxdcomponentsound missing;
  missing.name = "nosuch";
  missing.Load();
  EXPECT_EQ(missing.sample, nullptr);
  missing.Update(1000.0f, 0.5f, position, velocity);
  kxdcomponentsound holder;
  holder.name = "engine";
  holder.Load();
  kxdsound::SetEnabled(0);
  holder.Update(1000.0f, 0.5f, position, velocity);
  EXPECT_EQ(kxdsoundqueue::Count(), 0);
  EXPECT_EQ(kxdsoundqueue::Entries()[0].kind, kxdsoundentry::kEnd);
}

TEST_F(componentsound, AssignCopiesTheNameAndReleaseUnloads) {
  kxdcomponentsound a, b;
  a.name = "engine";
  b.Assign(a);
  EXPECT_STREQ(b.name.Text(), "engine");
  EXPECT_EQ(b.sample, nullptr);
  b.Load();
  b.Update(1000.0f, 1.0f, position, velocity);
  b.Release();
  EXPECT_EQ(released, 1);
  EXPECT_EQ(b.sample, nullptr);
  EXPECT_EQ(b.playing, 0);
}

TEST_F(componentsound, FullQueueDropsTheExcessWithOneLogLine) {
  kxdcomponentsound holders[kxdsoundqueue::kCapacity + 10];
  for (auto& h : holders) {
    h.name = "engine";
    h.Load();
    h.Update(1000.0f, 0.5f, position, velocity);
  }
  EXPECT_EQ(kxdsoundqueue::Count(), kxdsoundqueue::kCapacity);
  EXPECT_EQ(kxdsoundqueue::Entries()[kxdsoundqueue::kCapacity].kind, kxdsoundentry::kEnd);
  EXPECT_EQ(log.Lines(), 1);
  kxdsoundqueue::Clear();
  EXPECT_EQ(kxdsoundqueue::Count(), 0);
}

TEST(componentsounddevice, QueueStartsLoopsAndStopsTheSampleOnTheDevice) {
  kxtest::tempdir folder(true);
  folder.Write("sound/engine.wav", MakeWave(8000, 1, 800));
  fakesoundbackend fake;
  directsound::SetBackend(&fake);
  ASSERT_EQ(directsound::Start(), 1);
  kxdsound::Reset();
  {
    kxdcomponentsound holder;
    holder.name = "engine";
    holder.Load();
    ASSERT_NE(holder.sample, nullptr);
    directsound::LoadSounds();
    const float position[4] = {0, 0, 0, 1}, velocity[4] = {0, 0, 0, 0};
    holder.Update(9000.0f, 0.5f, position, velocity);
    kxdsoundqueue::Run(1.0f / 60.0f);
    EXPECT_EQ(kxdsoundqueue::Count(), 0);
    int voice = static_cast<kxsound*>(holder.sample)->voice;
    EXPECT_EQ(fake.voices[voice].playing, 1);
    EXPECT_EQ(fake.voices[voice].loop, 1);
    holder.Update(9000.0f, 0.0f, position, velocity);
    kxdsoundqueue::Run(1.0f / 60.0f);
    EXPECT_EQ(fake.voices[voice].playing, 0);
  }
  directsound::Reset();
  directsound::Release();
  directsound::SetBackend(nullptr);
}

}  // namespace
