// The frame update's sounds on the recording sound device: the listener on
// player 1's viewer, the glider's airflow pair, and the components' queue
// played after the listener is placed.
#include <cmath>
#include <filesystem>

#include "platform/codes.h"
#include "platform/sound.h"
#include "sim/vec3.h"
#include "standin_support.h"

namespace {

namespace fs = std::filesystem;
using ::simtest::kGround;

class FrameSounds : public simtest::standintest {
 protected:
  void SetUp() override {
    standintest::SetUp();
    const fs::path data = (fs::path(KX_TEST_DATA) / "../../../data").lexically_normal();
    fs::create_symlink(data / "sound", "sound");
    directsound::Reset();
    directsound::SetBackend(&device_);
    ASSERT_EQ(directsound::Start(), 1);
    sim::session.settings.sound = 1;
    // The aircraft 300 m from the pilot, who stands still and turns his head.
    state_.frame.R = {300, 0, kGround + 10, 1};
    sim::vec3::Set(sim::players[0].viewer_position(), 0, 0, kGround + 10);
  }
  void TearDown() override {
    sim::session.media.glider_sound = sim::session.media.glider2_sound = nullptr;
    directsound::Reset();
    directsound::SetBackend(nullptr);
    standintest::TearDown();
  }
  kxsound* Loaded(const char* path) {
    kxsound* s = directsound::RegisterSound(path);
    directsound::LoadSounds();
    return s;
  }
  const fakesoundbackend::Voice& VoiceOf(const kxsound* s) { return device_.voices[s->voice]; }

  fakesoundbackend device_;
};

// The device's up is the caller's top negated: the update hands it the
// viewer's Z negated, so a source on the viewer's right sounds on the right.
TEST_F(FrameSounds, TheListenerStandsOnPlayerOnesViewerFacingAlongItsForwardAxis) {
  Step(0.02f);
  const simplayer& p = sim::players[0];
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(device_.listener_position[k], p.viewer_position()[k]) << k;
    EXPECT_EQ(device_.listener_at[k], p.viewer_row_x()[k]) << k;
    EXPECT_EQ(device_.listener_up[k], p.viewer_row_z()[k]) << k;
  }
  EXPECT_NEAR(device_.listener_at[0], 1.0f, 1e-5f);  // turned towards the aircraft
  EXPECT_NEAR(device_.listener_up[2], 1.0f, 1e-5f);
}

// 12 m/s: 44,000 + 12 x 500 Hz; strength sqrt((12 - 2) / 20); the pilot
// 300 m away hears 0.4 of it, and the second sound follows the throttle.
TEST_F(FrameSounds, AGliderAtTwelveMetresPerSecondWhistlesAtFiftyKilohertz) {
  kxsound* airflow[2] = {Loaded("sound/glider.wav"), Loaded("sound/glider2.wav")};
  ASSERT_TRUE(airflow[0] && airflow[1]);
  sim::session.media.glider_sound = airflow[0];
  sim::session.media.glider2_sound = airflow[1];
  state_.velocity[0] = 12.0f;
  state_.control_value = 0.5f;
  struct {
    int flags;
    float frequency, volume[2];
  } rows[] = {
      {0, 22050.0f, {0.0f, 0.0f}},                           // an airplane: the pair stays silent
      {kxdflightstate::kTowed, 50000.0f, {0.2828427f, 0.1414214f}},
  };
  for (const auto& row : rows) {
    for (kxsound* s : airflow) s->volume = 0.0f, s->frequency = 22050.0f;
    state_.flags = row.flags;
    Step(0.02f);  // the first frame measures the distance the second one hears
    Step(0.02f);
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(testing::Message() << "flags " << row.flags << ", sound " << i);
      EXPECT_FLOAT_EQ(airflow[i]->frequency, row.frequency);
      EXPECT_NEAR(airflow[i]->volume, row.volume[i], 1e-5f);
      if (row.flags) {
        EXPECT_EQ(airflow[i]->position[0], 300.0f);
        EXPECT_NEAR(VoiceOf(airflow[i]).gain, directsound::VolumeToGain(row.volume[i]), 1e-6f);
      }
    }
  }
}

// Loop, once, stop, update; any other kind is passed over. A start measures
// its distance from where the listener stands in this frame.
TEST_F(FrameSounds, TheComponentQueueStartsStopsAndMovesItsSounds) {
  kxsound* s[5];
  for (kxsound*& slot : s) ASSERT_NE(slot = Loaded("sound/engine0.wav"), nullptr);
  const float origin[3] = {}, still[4] = {};
  for (int i : {2, 3}) directsound::PlaySound3D(s[i], kxcode::kSoundLoop, origin, still, 1);
  struct {
    int kind;
    float at[4];
    int playing, loop;
  } rows[] = {
      {kxdsoundentry::kLoopStart, {1, 2, 3, 1}, 1, 1}, {kxdsoundentry::kOnce, {0, 40, kGround + 10, 1}, 1, 0},
      {kxdsoundentry::kStop, {0, 0, 0, 1}, 0, 1},      {kxdsoundentry::kUpdate, {7, 8, 9, 1}, 1, 1},
      {44, {5, 5, 5, 1}, 0, 0},
  };
  for (int i = 0; i < 5; ++i) kxdsoundqueue::Push(rows[i].kind, s[i], rows[i].at, still);
  Step(0.02f);
  EXPECT_EQ(kxdsoundqueue::Count(), 0);
  const float moved[5][3] = {{1, 2, 3}, {0, 40, kGround + 10}, {0, 0, 0}, {7, 8, 9}, {0, 0, 0}};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(rows[i].kind);
    EXPECT_EQ(VoiceOf(s[i]).playing, rows[i].playing);
    EXPECT_EQ(VoiceOf(s[i]).loop, rows[i].loop);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(VoiceOf(s[i]).position[k], moved[i][k]) << k;
  }
  EXPECT_FLOAT_EQ(s[1]->distance, 40.0f);  // from the viewer, not from where the listener stood before
}

}  // namespace
