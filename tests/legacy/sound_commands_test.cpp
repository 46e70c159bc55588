// A model's sounds through the platform's sound slots on a recording
// device: registration at load, the loop started silent at placing, the
// frame's updates, stops, the codes each runner carries out, the folders
// and the bounds of the lists.
#include "legacy/sound_commands.h"
#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

class LegacySoundTest : public kxltest::modeltest {
 protected:
  void SetUp() override {
    modeltest::SetUp();
    directsound::SetBackend(&fake);
    ASSERT_EQ(directsound::Start(), 1);
    state().soundOn = 1;
  }
  void TearDown() override {
    modeltest::TearDown();
    directsound::Reset();
    directsound::Release();
    directsound::SetBackend(nullptr);
  }
  void CopySound(const std::string& relative) {
    std::filesystem::create_directories(std::filesystem::path(relative).parent_path());
    std::filesystem::copy_file(kxltest::DataPath(relative), relative);
  }
  const fakesoundbackend::Voice& VoiceOf(const kxsound* s) { return fake.voices[s->voice]; }

  fakesoundbackend fake;
};

TEST_F(LegacySoundTest, TrainerEngineRegistersLoopsFollowsThrottleAndStops) {
  BuildWorld();
  Install("trainer");
  CopySound("airlark/sound/engine.wav");
  Load("trainer");
  ASSERT_EQ(state().soundCount, 1);
  kxsound* engineSound = state().sounds[0];
  ASSERT_NE(engineSound, nullptr);
  EXPECT_EQ(engineSound->name, "airlark/sound/engine.wav");
  directsound::LoadSounds();

  Place(0, 0, 1, 0, 0);
  EXPECT_EQ(VoiceOf(engineSound).playing, 1);
  EXPECT_EQ(VoiceOf(engineSound).loop, 1);
  state().controls[0] = 1.0f;
  Frame(0.02f);
  RunPendingSoundCommands(0.02f);
  EXPECT_EQ(engineSound->volume, 1.0f);
  EXPECT_EQ(engineSound->frequency, 11025.0f + 22050.0f);
  EXPECT_FLOAT_EQ(VoiceOf(engineSound).gain, 1.0f);

  const soundcommand stop[] = {{kSoundStop, engineSound, nullptr}, {kSoundListEnd, nullptr, nullptr}};
  RunSoundCommands(stop);
  EXPECT_EQ(VoiceOf(engineSound).playing, 0);
  Unload();
  EXPECT_EQ(engineSound->used, 0);
  EXPECT_EQ(state().soundCount, 0);
}

// Updates only in the frame's pass, registrations only in a run list;
// plays in both, once or looping; a pass skips commands without a sound.
TEST_F(LegacySoundTest, EachRunnerCarriesOutItsOwnCodes) {
  CopySound("airlark/sound/engine.wav");
  kxsound* s = directsound::RegisterSound("airlark/sound/engine.wav");
  directsound::LoadSounds();
  kxsound* registered = nullptr;
  char file[] = "engine";
  struct run {
    int32_t code;
    bool pending;
    size_t calls;      // plays and stops on the device
    int registered;    // sounds added to the model's list
    bool gainSet;      // the slot's volume reached the device
  };
  for (run r : {run{kSoundUpdate, false, 0, 0, false}, run{kSoundUpdate, true, 0, 0, true},
                run{kSoundRegister, true, 0, 0, false}, run{kSoundRegister, false, 0, 1, false},
                run{kSoundPlayOnce, false, 1, 0, true}, run{kSoundPlayLooping, true, 1, 0, true},
                run{kSoundStop, true, 1, 0, false}, run{99, false, 0, 0, false}}) {
    fake.calls.clear();
    fake.voices[s->voice].gain = -1.0f;
    state().soundCount = 0;
    soundcommand command = r.code == kSoundRegister ? soundcommand{r.code, file, &registered}
                                                    : soundcommand{r.code, s, nullptr};
    const soundcommand list[] = {command, {kSoundPlayOnce, nullptr, nullptr}, {kSoundListEnd, nullptr, nullptr}};
    if (r.pending) {
      std::copy(std::begin(list), std::end(list), Runtime().soundCommands);
      RunPendingSoundCommands(0.02f);
    } else {
      RunSoundCommands(list);
    }
    EXPECT_EQ(fake.calls.size(), r.calls) << r.code << " " << r.pending;
    EXPECT_EQ(state().soundCount, r.registered) << r.code;
    EXPECT_EQ(VoiceOf(s).gain != -1.0f, r.gainSet) << r.code << " " << r.pending;
    if (r.code == kSoundPlayOnce || r.code == kSoundPlayLooping) {
      EXPECT_EQ(VoiceOf(s).loop, r.code == kSoundPlayLooping);
    }
  }
  ASSERT_NE(registered, nullptr);
  EXPECT_EQ(registered->name, "airlark/sound/engine.wav");
}

// The model named "piccolo", in any case, takes its sounds from the
// program's folder.
TEST_F(LegacySoundTest, PiccoloSoundsComeFromTheProgramsFolder) {
  Write("aircraft/piccolo/Piccolo.dns", "// DNS FILE\nengine Eng;\nstrcpy( Eng.SoundFile, \"motor\" );\n");
  CopySound("sound/motor.wav");
  Load("Piccolo");
  ASSERT_EQ(state().soundCount, 1);
  ASSERT_NE(state().sounds[0], nullptr);
  EXPECT_EQ(state().sounds[0]->name, "sound/motor.wav");
}

// A sound file named by the model is read from inside the data folder only.
TEST_F(LegacySoundTest, ASoundFileOutsideTheDataFolderIsNotRegistered) {
  Write("outside/x.wav", "RIFF");
  Write("airlark/aircraft/stray.dns",
        "// DNS FILE\nengine Eng;\nstrcpy( Eng.SoundFile, \"../../../../outside/x\" );\n");
  Load("stray");
  for (int i = 0; i < state().soundCount; ++i) EXPECT_EQ(state().sounds[i], nullptr);
  EXPECT_NE(Log().find("dnsmodel:  sound ../../../../outside/x leaves the data folder; ignored\n"), std::string::npos)
      << Log();
}

TEST_F(LegacySoundTest, ListsStopAtTheirRoom) {
  CopySound("airlark/sound/engine.wav");
  std::string text = "// DNS FILE\n";
  for (int i = 0; i <= kModelSounds; ++i) {
    std::string name = std::to_string(i);
    text.append("engine E").append(name).append(";\nstrcpy( E").append(name).append(".SoundFile, \"engine\" );\n");
  }
  Write("airlark/aircraft/loud.dns", text);
  Load("loud");
  EXPECT_EQ(state().soundCount, kModelSounds);
  EXPECT_NE(Log().find("dnsmodel:  a model registers at most 32 sounds; engine is left silent\n"), std::string::npos);

  capture_.Clear();
  RestartPendingSounds();
  for (int i = 0; i < kPendingSoundCommands + 3; ++i) QueueSoundCommand(kSoundUpdate, nullptr);
  EndPendingSounds();
  EXPECT_EQ(Runtime().soundQueue, kPendingSoundCommands - 1);
  EXPECT_EQ(Runtime().soundCommands[kPendingSoundCommands - 1].code, kSoundListEnd);
  EXPECT_EQ(capture_.Lines(), 4);
}

}  // namespace
