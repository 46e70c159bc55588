// Component sounds on the platform's sound slots: a holder loads its sample
// as a registered slot and hands frequency and volume to it.
#include "dynamics/components/sound_binding.h"

#include <cstdint>
#include <fstream>

#include "dynamics/component_sound.h"
#include "platform/sound.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

// A mono 16-bit wave file of n samples at rate Hz.
void PutWave(const char* path, int rate, int n) {
  auto u32 = [](std::ofstream& f, uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](std::ofstream& f, uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  std::ofstream f(path, std::ios::binary);
  f.write("RIFF", 4);
  u32(f, 36 + 2 * n);
  f.write("WAVEfmt ", 8);
  u32(f, 16);
  u16(f, 1);
  u16(f, 1);
  u32(f, rate);
  u32(f, rate * 2);
  u16(f, 2);
  u16(f, 16);
  f.write("data", 4);
  u32(f, 2 * n);
  for (int i = 0; i < n; ++i) u16(f, static_cast<uint16_t>((i % 50) * 100));
}

class soundbinding : public componenttest {
 protected:
  void SetUp() override {
    componenttest::SetUp();
    directsound::Reset();
    components::UsePlatformSound();
    kxdsound::SetEnabled(1);
    kxdsoundqueue::Clear();
  }
  void TearDown() override {
    kxdsound::SetBackend(nullptr, nullptr, nullptr);
    kxdsoundqueue::Clear();
    directsound::Reset();
    componenttest::TearDown();
  }
};

TEST_F(soundbinding, HolderLoadsASlotAndSetsItsFrequencyAndVolume) {
  kxsystem::CreateDirectory("sound");
  PutWave("sound/engine.wav", 22050, 2205);
  kxdcomponentsound holder;
  holder.name = "engine";
  holder.Load();
  kxsound* slot = static_cast<kxsound*>(holder.sample);
  ASSERT_NE(slot, nullptr) << kxtest::logcapture::Text();
  EXPECT_EQ(slot->rate, 22050);
  float position[4] = {1, 2, 3, 1}, velocity[4] = {};
  holder.Update(44100.0f, 0.5f, position, velocity);
  EXPECT_FLOAT_EQ(slot->frequency, 44100.0f);
  EXPECT_FLOAT_EQ(slot->volume, 0.5f);
  EXPECT_EQ(kxdsoundqueue::Count(), 1);
  EXPECT_EQ(kxdsoundqueue::Entries()[0].sound, slot);
  holder.Update(22050.0f, 3.0f, position, velocity);
  EXPECT_FLOAT_EQ(slot->volume, 1.0f);
  holder.Release();
  EXPECT_EQ(slot->used, 0);
}

TEST_F(soundbinding, MissingWaveLeavesTheHolderSilent) {
  kxdcomponentsound holder;
  holder.name = "nosuch";
  holder.Load();
  EXPECT_EQ(holder.sample, nullptr);
  float p[4] = {};
  holder.Update(1000.0f, 1.0f, p, p);
  EXPECT_EQ(kxdsoundqueue::Count(), 0);
}

}  // namespace
