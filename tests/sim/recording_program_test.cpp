// A recorded flight through the whole program: in the simulation the menu's
// commands record the default aircraft flying over the default scenery, stop
// and play the recording back on its copy beside the live aircraft through
// the recorded-flight views, the recording windows save it and load it back,
// and it replays as it did from memory. Every frame runs through the frame
// update on the test's clock.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "dynamics/instance.h"
#include "gui/edit.h"
#include "gui/gui_state.h"
#include "gui/window.h"
#include "sim/menu_bar.h"
#include "sim/placement.h"
#include "tests/sim/program_support.h"
#include "tests/sim/recording_support.h"

namespace {

using simtest::Largest;
using simtest::Poses;
using simtest::poses;

constexpr float kRecordFor = 3.0f;  // s of recording
constexpr int kPlayHooks = 80;      // script steps (two frames each) of playback: 2.7 s, short of its end
constexpr int kMostSteps = 600;     // script steps of two frames: 20 s

class RecordingProgramTest : public simtest::clockedprogramtest {
 protected:
  enum phase { kMenu, kArm, kRecord, kPlay, kSaved, kReplay, kDone };

  void SetUp() override {
    clockedprogramtest::SetUp();
    CopySampleAircraft();
  }

  static simplayer& P() { return sim::players[0]; }
  static void Command(const char* command) { kxscript::Execute(command); }
  static kxgeometricobject* Live() { return kxnode::As<kxgeometricobject>(P().flight_state->graphics_root); }
  static bool AtTarget(const float* at) {
    const float* r = &P().recording.pose.R.x;
    return at[0] == r[0] && at[1] == r[1] && at[2] == r[2];
  }
  static kxedit* NameField() {
    std::vector<kxnode*> stack = {sim::MenuWindow(sim::kWndSaveRecord)};
    while (!stack.empty()) {
      kxnode* n = stack.back();
      stack.pop_back();
      if (kxedit* e = kxnode::As<kxedit>(n)) return e;
      for (kxnode* c = n ? n->firstChild : nullptr; c; c = c->nextSibling) stack.push_back(c);
    }
    return nullptr;
  }

  // In the simulation, every second frame: true keeps the queued keys waiting.
  bool Script() {
    if (!Flying()) return false;
    if (phase_ != kDone && GiveUp(kMostSteps)) {
      stalled_ = phase_;
      phase_ = kDone;
      return false;
    }
    simplayer& p = P();
    switch (phase_) {
      case kMenu: {
        // Level, 40 m above the runway's start, 14 m/s along its heading.
        const float at[3] = {-90.0f, 0.0f, 40.0f}, velocity[4] = {14.0f, 0.0f, 0.0f, 0.0f};
        sim::SetAircraftPose(&p, sim::HeadingFrame(0.0f, at), velocity);
        // The first start loads the copy; that load reads the clock, which
        // would set the recorded frame times off the frames of a playback.
        Command("RecordFlightOn(0)");
        copy_ = p.recording.instance;
        Command("RecordFlightClear(0)");
        phase_ = kArm;
        break;
      }
      case kArm:
        Command("RecordFlightOn(0)");
        recording_ = p.recording.state == sim::kRecording && copy_ && p.recording.instance == copy_ && copy_ != Live();
        phase_ = kRecord;
        break;
      case kRecord:
        // A frame taken by the latest update holds the live parts as they stand.
        if (p.recording.frame > 0 && p.record_store.frames[p.recording.frame - 1].time == p.recording.header.length) {
          recordedWorst_ =
              std::max(recordedWorst_, Largest(Poses(p.record_store.frames[p.recording.frame - 1]), Poses(Live())));
          ++framesChecked_;
        }
        if (p.recording.header.length < kRecordFor) break;
        Command("RecordFlightStop(0)");
        while (frames_ < simplayer::kRecordFrameEntries && p.record_store.frames[frames_].records) ++frames_;
        if (frames_ > 0)
          stored_.assign(p.record_store.positions,
                         p.record_store.frames[frames_ - 1].records + 9 * p.record_store.frames[frames_ - 1].count);
        timeShift_ = simtest::FileTimeShift(p.record_store.frames, frames_);
        Command("ViewRecordF(0)");
        Command("CameraOnOff(0)");
        Command("View2RecordC(0)");
        Command("RecordFlightPlay(0)");
        phase_ = kPlay;
        break;
      case kPlay:
        Watch();
        fromMemory_.push_back(Poses(p.recording.instance));
        if (fromMemory_.size() == kPlayHooks / 3) Command("ViewRecordC(0)");
        if (fromMemory_.size() == 2 * kPlayHooks / 3) Command("ViewRecordR(0)");
        if (fromMemory_.size() < kPlayHooks) break;
        Command("/Menu/Invisible/wndSaveRecord/Open");
        if (kxedit* field = NameField()) field->SetText("loop");
        Key(kxcode::kKeyReturn);  // into the name field, which saves
        phase_ = kSaved;
        return false;
      case kSaved:
        saved_ = Text("recordings/loop.rec");
        Command("RecordFlightClear(0)");
        cleared_ = p.recording.present == 0;
        Command("/Menu/Invisible/wndLoadRecord/Open");
        Command("/Menu/Visible/wndLoadRecord/Select( \"loop\" )");
        Command("/Menu/Visible/wndLoadRecord/Load");
        loaded_ = p.recording.present == 1;
        if (loaded_) read_.assign(p.record_store.positions, p.record_store.positions + stored_.size());
        Command("RecordFlightPlay(0)");
        phase_ = kReplay;
        break;
      case kReplay:
        if (replayed_ < fromMemory_.size())
          replayWorst_ = std::max(
              replayWorst_, Largest(Poses(p.recording.instance), fromMemory_[replayed_], simtest::kComposeSpacings));
        if (++replayed_ < kPlayHooks) break;
        Key(kxcode::kKeyEscape);
        phase_ = kDone;
        return false;
      default:
        return false;
    }
    return true;
  }

  // The playback beside the live aircraft, seen through its views.
  void Watch() {
    simplayer& p = P();
    if (p.recording.blend == 1.0f) {  // the clock stands on a recorded frame
      playedWorst_ =
          std::max(playedWorst_, Largest(Poses(p.recording.instance), Poses(p.record_store.frames[p.recording.frame])));
      ++onFrames_;
    }
    targetMissed_ += !AtTarget(p.viewer_target);
    cameraMissed_ += !AtTarget(p.camera[2].position);
    if (p.view_mode == sim::kViewRecordCockpit) cockpitMissed_ += !AtTarget(p.viewer_position());
    modes_.push_back(p.view_mode);
    const float* live = p.flight_state->position();
    const float* copy = &p.recording.pose.R.x;
    apart_ = std::min(apart_, std::hypot(live[0] - copy[0], live[1] - copy[1], live[2] - copy[2]));
  }

  phase phase_ = kMenu, stalled_ = kDone;
  bool recording_ = false, cleared_ = false, loaded_ = false;
  int frames_ = 0, framesChecked_ = 0, onFrames_ = 0;
  int targetMissed_ = 0, cameraMissed_ = 0, cockpitMissed_ = 0;
  size_t replayed_ = 0;
  float recordedWorst_ = 0, playedWorst_ = 0, replayWorst_ = 0, timeShift_ = 0, apart_ = 1e9f;
  std::vector<float> stored_, read_;
  std::vector<poses> fromMemory_;
  std::vector<sim::viewmode> modes_;
  std::string saved_;
  kxgeometricobject* copy_ = nullptr;
};

TEST_F(RecordingProgramTest, RecordsPlaysBesideTheLiveAircraftSavesLoadsAndReplays) {
  window_.beforeEvent = [this] { return Script(); };
  Key(kxcode::kKeyReturn);  // fly, without a device
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(stalled_, kDone) << "stalled";

  // Recorded from the menu's command: the copy was loaded once, every frame
  // the script saw taken held the live parts.
  EXPECT_TRUE(recording_);
  EXPECT_NEAR(frames_, kRecordFor * 20.0f, 2.0f);  // every third frame at 60 a second
  EXPECT_GT(framesChecked_, 5);
  EXPECT_LT(recordedWorst_, 1e-5f);
  EXPECT_TRUE(simtest::InOrder(Text("kx.log"), {"sim:  loading aircraft copy christeneagle=ok"}));

  // Played back: on each recorded frame the copy stands as recorded; the
  // views and camera 2 look at it, not at the live aircraft flying on.
  EXPECT_GT(onFrames_, 5);
  EXPECT_LT(playedWorst_, 2e-5f);
  EXPECT_GT(apart_, 10.0f);
  EXPECT_EQ(targetMissed_, 0);
  EXPECT_EQ(cameraMissed_, 0);
  EXPECT_EQ(cockpitMissed_, 0);
  for (sim::viewmode mode : {sim::kViewRecordFollow, sim::kViewRecordCockpit, sim::kViewRecordFixed})
    EXPECT_NE(std::find(modes_.begin(), modes_.end(), mode), modes_.end()) << static_cast<int>(mode);

  // Saved through the window's name field, cleared, loaded through the load
  // window after its scenery check: four decimals of what was recorded.
  EXPECT_EQ(saved_.rfind("aircraft christeneagle\nscenery winzeln\nlength ", 0), 0u);
  EXPECT_EQ(saved_.compare(saved_.size() - 6, 6, "  \nend"), 0);
  EXPECT_TRUE(cleared_);
  ASSERT_TRUE(loaded_);
  ASSERT_EQ(read_.size(), stored_.size());
  float worst = 0;
  for (size_t i = 0; i < stored_.size(); ++i)
    worst = std::max(worst, std::fabs(read_[i] - stored_[i]) - std::fabs(stored_[i]) * 1.2e-7f);
  EXPECT_LE(worst, 5e-5f);
  EXPECT_TRUE(simtest::InOrder(Text("kx.log"), {"record:  loading recorded aircraft geometry christeneagle=ok"}));

  // Replayed from the file, the copy stands where it stood from memory.
  EXPECT_LE(replayWorst_, simtest::kFileDecimals + timeShift_);
  RecordProperty("largest_difference_replayed_from_file", std::to_string(replayWorst_));
  RecordProperty("allowed_for_the_frame_times", std::to_string(timeShift_));

  // The program's exit unloaded the copy too.
  EXPECT_FALSE(kxdaircraftinstance::Slot(2)->IsLoaded());
  EXPECT_EQ(P().recording.instance, nullptr);
}

}  // namespace
