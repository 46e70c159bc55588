// A recording started and stopped while paused, through the whole program:
// the heli's recording of an earlier flight must not come back under the
// name of the trainer flown now. The paused one holds nothing and is
// dropped; a recording made after it holds the trainer's frames under the
// trainer's name, in memory and in its file.
#include <fstream>
#include <string>
#include <vector>

#include "dynamics/instance.h"
#include "sim/recording.h"
#include "sim/session.h"
#include "sim/views/shadow_prep.h"
#include "tests/sim/program_support.h"
#include "tests/sim/recording_support.h"

namespace {

constexpr float kRecordFor = 4.0f;    // s with the heli, and then 3 s with the trainer
constexpr int kMostSteps = 1500;

class RecordingPausedProgramTest : public simtest::clockedprogramtest {
 protected:
  enum phase { kHeli, kHeliRecording, kHeliStopped, kTrainer, kPausedRecording, kPausedDone, kRecording, kDone };

  void SetUp() override {
    clockedprogramtest::SetUp();
    CopySampleAircraft();
    simtest::fs::path data = simtest::fs::path(KX_TEST_DATA) / "../../../data/aircraft";
    for (const char* folder : {"heli", "trainer"})
      simtest::fs::copy(data / folder, dir_ / "aircraft" / folder, simtest::fs::copy_options::recursive);
    std::ofstream(dir_ / "config/main.mcf") << "aircraft0  heli\n";
  }
  static simplayer& P() { return sim::players[0]; }
  // Records per frame of every frame taken, in order.
  static std::vector<int> Counts() {
    std::vector<int> counts;
    for (int f = 0; f < simplayer::kRecordFrames && P().record_store.frames[f].records; ++f)
      counts.push_back(P().record_store.frames[f].count);
    return counts;
  }
  static size_t Meshed() {
    std::vector<kxgeometricobject*> parts;
    simtest::Meshed(kxnode::As<kxgeometricobject>(P().flight_state->graphics_root), parts);
    return parts.size();
  }
  // As the aircraft window loads an aircraft for player 1.
  static void ChooseTrainer() {
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad("trainer", 0), 1);
    std::snprintf(sim::session.settings.aircraft0, sizeof sim::session.settings.aircraft0, "trainer");
    P().flight_state = kxdaircraftinstance::FlightStateOf(0);
    sim::PrepareAircraftGraphics(0);
  }

  // Every second frame: true keeps the queued keys waiting.
  bool Script() {
    if (phase_ != kDone && GiveUp(kMostSteps)) {
      stalled_ = phase_;
      phase_ = kDone;
      return false;
    }
    if (!Flying()) {
      if (phase_ == kHeliStopped && entered_ == 1) {
        ChooseTrainer();
        phase_ = kTrainer;
        Key(kxcode::kKeyReturn);
      }
      return false;
    }
    if (!wasFlying_) ++entered_;
    wasFlying_ = true;
    simplayer& p = P();
    switch (phase_) {
      case kHeli:
        Key('r');
        phase_ = kHeliRecording;
        return false;
      case kHeliRecording:
        if (p.recording.header.length < kRecordFor) return true;
        Key('r');
        heliParts_ = Meshed();
        phase_ = kHeliStopped;
        return false;
      case kHeliStopped:
        heliPresent_ = p.recording.present && std::string(p.recording.header.aircraft) == "heli";
        heliCounts_ = Counts();
        Key(kxcode::kKeyEscape);
        wasFlying_ = false;
        return false;
      case kTrainer:
        for (int k : {'p', 'r', 'r', 'p'}) Key(k);
        phase_ = kPausedRecording;
        return false;
      case kPausedRecording:
        if (sim::session.run.pause || p.recording.state != sim::kRecordIdle) return false;  // the four keys still run
        pausedPresent_ = p.recording.present;
        pausedLength_ = p.recording.header.length;
        sim::SaveRecording("paused", &p);
        pausedFile_ = Text("recordings/paused.rec");
        Key('r');
        phase_ = kRecording;
        return false;
      case kRecording:
        if (p.recording.state != sim::kRecording || p.recording.header.length < kRecordFor - 1.0f) return true;
        Key('r');
        trainerParts_ = Meshed();
        phase_ = kPausedDone;
        return false;
      case kPausedDone:
        trainerCounts_ = Counts();
        trainerPresent_ = p.recording.present;
        trainerRadius_ = p.recording.header.radius;
        liveRadius_ = p.flight_state->radius;
        sim::SaveRecording("flown", &p);
        flownFile_ = Text("recordings/flown.rec");
        Key(kxcode::kKeyEscape);
        phase_ = kDone;
        return false;
      default:
        return false;
    }
  }

  phase phase_ = kHeli, stalled_ = kDone;
  int entered_ = 0;
  bool wasFlying_ = false, heliPresent_ = false;
  int pausedPresent_ = -1, trainerPresent_ = 0;
  float pausedLength_ = -1.0f, trainerRadius_ = 0.0f, liveRadius_ = 0.0f;
  size_t heliParts_ = 0, trainerParts_ = 0;
  std::vector<int> heliCounts_, trainerCounts_;
  std::string pausedFile_, flownFile_;
};

int Lines(const std::string& text, const char* start) {
  int n = 0;
  for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) ++n;
  return n;
}

TEST_F(RecordingPausedProgramTest, APausedRecordingIsDroppedAndTheNextHoldsTheFlownAircraft) {
  window_.beforeEvent = [this] { return Script(); };
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(stalled_, kDone) << "stalled";
  ASSERT_TRUE(heliPresent_);
  ASSERT_NE(heliParts_, trainerParts_) << "the two aircraft must differ to tell their frames apart";
  EXPECT_EQ(heliCounts_.front(), static_cast<int>(heliParts_));

  // Started and stopped while paused: nothing recorded, nothing kept, and
  // nothing of the heli's written under the trainer's name.
  EXPECT_EQ(pausedPresent_, 0);
  EXPECT_EQ(pausedLength_, 0.0f);
  EXPECT_EQ(pausedFile_.rfind("aircraft trainer\n", 0), 0u) << pausedFile_.substr(0, 40);
  EXPECT_NE(pausedFile_.find("\nlength 0.00\n"), std::string::npos);
  EXPECT_EQ(Lines(pausedFile_, "records "), 0);

  // Recorded while running: the trainer's frames under its name.
  EXPECT_EQ(trainerPresent_, 1);
  EXPECT_NEAR(trainerRadius_, liveRadius_, 0.05f * liveRadius_);  // the reach of its ground shadow
  ASSERT_FALSE(trainerCounts_.empty());
  for (int count : trainerCounts_) ASSERT_EQ(count, static_cast<int>(trainerParts_));
  EXPECT_EQ(flownFile_.rfind("aircraft trainer\n", 0), 0u);
  EXPECT_EQ(Lines(flownFile_, "records "), static_cast<int>(trainerCounts_.size()));
  EXPECT_EQ(Lines(flownFile_, "  pos "), static_cast<int>(trainerCounts_.size() * trainerParts_));
}

}  // namespace
