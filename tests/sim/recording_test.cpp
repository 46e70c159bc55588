#include "sim/recording.h"

#include <cmath>

#include "tests/sim/recording_support.h"

namespace {

using simtest::Meshed;
using simtest::recordingtest;
using simtest::World;

class Recording : public recordingtest {
 protected:
  // root (no mesh) at (10, 0, 0)
  //   A turned 90 degrees, at (0, 5, 0)
  //     A1 at (1, 0, 0)
  //     A2 (no mesh) at (0, 2, 0)
  //       A21
  //   B at (0, 0, 3)
  kxgeometricobject* Tree() {
    kxgeometricobject* root = Part(nullptr, false, 10, 0, 0);
    kxgeometricobject* a = Part(root, true, 0, 5, 0, 90);
    Part(a, true, 1, 0, 0);
    Part(Part(a, false, 0, 2, 0), true, 0, 0, 0);
    Part(root, true, 0, 0, 3);
    return root;
  }
  static void ExpectRecord(const float* r, const float X[3], const float Y[3], const float P[3]) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(r[k], X[k], 1e-5f);
      EXPECT_NEAR(r[3 + k], Y[k], 1e-5f);
      EXPECT_NEAR(r[6 + k], P[k], 1e-5f);
    }
  }
  // Two frames of one record each, with X axes 90 degrees apart.
  void TwoFrames(float t0, float t1) {
    static float records[18] = {1, 0, 0, 0, 1, 0, 0, 0, 0, /**/ 0, 1, 0, -1, 0, 0, 4, 0, 2};
    p.record_store.frames[0] = {t0, 1, records};
    p.record_store.frames[1] = {t1, 1, records + 9};
    p.record_store.frames[2].records = nullptr;
    p.recording.present = 1;
    p.recording.state = sim::kRecordPlaying;
    p.recording.frame = 1;
    p.recording.header.length = t1;
  }
};

TEST_F(Recording, PartsAreRecordedInWorldFramesChildrenFirstAndOnlyWithAMesh) {
  float out[5 * 9] = {};
  ASSERT_EQ(sim::RecordParts(Tree(), out, 5), 4);
  const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, turnedX[3] = {0, 1, 0}, turnedY[3] = {-1, 0, 0};
  const float a1[3] = {10, 6, 0}, a21[3] = {8, 5, 0}, a[3] = {10, 5, 0}, b[3] = {10, 0, 3};
  ExpectRecord(out, turnedX, turnedY, a1);
  ExpectRecord(out + 9, turnedX, turnedY, a21);  // the part without a mesh still carries it
  ExpectRecord(out + 18, turnedX, turnedY, a);
  ExpectRecord(out + 27, x, y, b);
  EXPECT_EQ(sim::RecordParts(Tree(), out, 3), -1);
}

TEST_F(Recording, AtAHundredFramesASecondEveryFourthFrameIsTaken) {
  state.graphics_root = Tree();
  StartRecording();
  for (int frame = 0; frame < 13; ++frame) sim::UpdateRecordingClock(&p, 0.01f);
  ASSERT_EQ(p.recording.frame, 4);
  EXPECT_EQ(Frames(), 4);
  const float times[4] = {0, 0.04f, 0.08f, 0.12f};
  for (int f = 0; f < 4; ++f) {
    EXPECT_NEAR(p.record_store.frames[f].time, times[f], 1e-5f);
    EXPECT_EQ(p.record_store.frames[f].count, 4);
    EXPECT_EQ(p.record_store.frames[f].records, p.record_store.positions + 36 * f);
  }
  EXPECT_NEAR(p.recording.header.length, 0.12f, 1e-5f);
  EXPECT_EQ(p.record_store.write, p.record_store.positions + 4 * 36);
  EXPECT_EQ(p.recording.state, sim::kRecording);
}

TEST_F(Recording, AFullFrameIndexEndsTheRecordingPlayableWithItsEndMark) {
  state.graphics_root = Part(nullptr, true, 0, 0, 0);
  StartRecording();
  for (int frame = 0; frame < simplayer::kRecordFrames; ++frame) sim::UpdateRecordingClock(&p, 0.04f);
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);
  EXPECT_EQ(p.recording.present, 1);
  EXPECT_EQ(p.recording.frame, simplayer::kRecordFrames);
  EXPECT_EQ(p.record_store.frames[simplayer::kRecordFrames].records, nullptr);
  for (int frame = 0; frame < 5; ++frame) sim::UpdateRecordingClock(&p, 0.04f);  // held, not recorded
  EXPECT_EQ(Frames(), simplayer::kRecordFrames);
  EXPECT_EQ(p.record_store.write, p.record_store.positions + simplayer::kRecordFrames * 9);
}

TEST_F(Recording, AFrameThatWouldNotFitTheStoreEndsTheRecording) {
  state.graphics_root = Tree();
  StartRecording();
  sim::UpdateRecordingClock(&p, 0.04f);
  sim::UpdateRecordingClock(&p, 0.04f);
  ASSERT_EQ(p.recording.frame, 2);
  p.record_store.write =
      p.record_store.positions + (simplayer::kRecordPositions - 3) * 9;  // room for 3 of the tree's 4
  sim::UpdateRecordingClock(&p, 0.04f);
  EXPECT_EQ(p.recording.state, sim::kRecordIdle);
  EXPECT_EQ(p.recording.present, 1);
  EXPECT_EQ(p.recording.frame, 2);
  EXPECT_EQ(p.record_store.frames[2].records, nullptr);
}

TEST_F(Recording, PlaybackRunsAtPlaybackSpeedAndStartsAgainAtTheEnd) {
  state.graphics_root = Tree();
  StartRecording();
  for (int frame = 0; frame < 100; ++frame) sim::UpdateRecordingClock(&p, 0.01f);  // 0.99 s, 25 frames
  StopRecording();
  p.recording.present = 1;
  p.recording.state = sim::kRecordPlaying;
  sim::session.settings.playback_speed = 2;
  for (int frame = 0; frame < 11; ++frame) sim::UpdateRecordingClock(&p, 0.01f);
  EXPECT_NEAR(p.recording.time, 0.22f, 1e-5f);
  EXPECT_EQ(p.recording.frame, 6);  // the first frame not before 0.22 s
  for (int frame = 0; frame < 38; ++frame) sim::UpdateRecordingClock(&p, 0.01f);
  EXPECT_NEAR(p.recording.time, 0.98f, 1e-4f);
  EXPECT_EQ(p.recording.frame, 25 - 1);
  sim::UpdateRecordingClock(&p, 0.01f);  // 1.0 s: past the length
  EXPECT_EQ(p.recording.time, 0.0f);
  EXPECT_EQ(p.recording.frame, 1);
  // An idle recording keeps its clock; only playing advances it.
  p.recording.state = sim::kRecordIdle;
  sim::UpdateRecordingClock(&p, 0.01f);
  EXPECT_EQ(p.recording.time, 0.0f);
}

TEST_F(Recording, HalfwayBetweenAxesNinetyDegreesApartThePoseTakesTheirBisector) {
  TwoFrames(0.0f, 1.0f);
  p.recording.time = 0.5f;
  sim::UpdatePlaybackPose(&p, 0.01f);
  EXPECT_FLOAT_EQ(p.recording.blend, 0.5f);
  const float h = std::sqrt(0.5f);
  EXPECT_NEAR(p.recording.pose.X.x, h, 1e-6f);
  EXPECT_NEAR(p.recording.pose.X.y, h, 1e-6f);
  EXPECT_NEAR(p.recording.pose.Y.x, -h, 1e-6f);
  EXPECT_NEAR(p.recording.pose.Y.y, h, 1e-6f);
  EXPECT_NEAR(p.recording.pose.Z.z, 1.0f, 1e-6f);
  EXPECT_NEAR(p.recording.pose.R.x, 2.0f, 1e-6f);  // positions blend unnormalised
  EXPECT_NEAR(p.recording.pose.R.z, 1.0f, 1e-6f);
}

// A part the drawing hides by shrinking it (a broken propeller's blades)
// is recorded with short axes and stays that small in the playback.
TEST_F(Recording, AShrunkPartStaysShrunkInThePlayback) {
  kxgeometricobject* live = Tree();
  kxgeometricobject* b = kxnode::As<kxgeometricobject>(live->lastChild);
  b->Matrix.X = {0.01f, 0, 0, 0};
  b->Matrix.Y = {0, 0.01f, 0, 0};
  b->Matrix.Z = {0, 0, 0.01f, 0};
  float records[4 * 9];
  ASSERT_EQ(sim::RecordParts(live, records, 4), 4);
  kxgeometricobject* copy = Tree();
  sim::PlaybackParts(copy, records, records, 4, 0.5f);
  const kxmatrix w = World(kxnode::As<kxgeometricobject>(copy->lastChild));
  EXPECT_NEAR(w.X.x, 0.01f, 1e-6f);
  EXPECT_NEAR(w.Y.y, 0.01f, 1e-6f);
  EXPECT_NEAR(w.Z.z, 0.01f, 1e-6f);
}

TEST_F(Recording, FramesWithoutTimeBetweenThemShowTheEarlierOne) {
  TwoFrames(0.5f, 0.5f);
  p.recording.time = 0.5f;
  sim::UpdatePlaybackPose(&p, 0.01f);
  EXPECT_EQ(p.recording.blend, 0.0f);
  EXPECT_EQ(p.recording.pose.X.x, 1.0f);
  EXPECT_EQ(p.recording.pose.R.x, 0.0f);
}

TEST_F(Recording, TheFrameSearchStopsAtTheEndMarkBeforeOlderFrames) {
  TwoFrames(0.0f, 1.0f);
  static float stale[9] = {};
  p.record_store.frames[3] = {5.0f, 1, stale};  // left over beyond the end mark
  p.recording.header.length = 3.0f;             // a file may claim more than its frames
  p.recording.time = 1.5f;
  p.recording.state = sim::kRecordIdle;
  sim::UpdateRecordingClock(&p, 0.01f);
  EXPECT_EQ(p.recording.frame, 1);
  sim::UpdatePlaybackPose(&p, 0.01f);
  EXPECT_EQ(p.recording.blend, 1.0f);
  EXPECT_NEAR(p.recording.pose.R.x, 4.0f, 1e-6f);
}

TEST_F(Recording, PlaybackPlacesEachPartSoItsDrawnFrameIsTheBlendOfItsRecords) {
  kxgeometricobject* live = Tree();
  float a[4 * 9], b[4 * 9];
  ASSERT_EQ(sim::RecordParts(live, a, 4), 4);
  static_cast<kxgeometricobject*>(live->firstChild)->Matrix.R.z = 2;  // A and below rise by 2 m
  ASSERT_EQ(sim::RecordParts(live, b, 4), 4);
  kxgeometricobject* copy = Tree();
  copy->Matrix.R = {-50, 7, 1, 1};  // the copy's own placement must not matter
  sim::PlaybackParts(copy, a, b, 4, 0.25f);
  std::vector<kxgeometricobject*> parts;
  Meshed(copy, parts);
  ASSERT_EQ(parts.size(), 4u);
  for (size_t i = 0; i < parts.size(); ++i) {
    SCOPED_TRACE(i);
    const kxmatrix w = World(parts[i]);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR((&w.X.x)[k], a[9 * i + k], 1e-5f);
      EXPECT_NEAR((&w.Y.x)[k], a[9 * i + 3 + k], 1e-5f);
      EXPECT_NEAR((&w.R.x)[k], 0.75f * a[9 * i + 6 + k] + 0.25f * b[9 * i + 6 + k], 1e-5f);
    }
    EXPECT_NEAR(parts[i]->MatrixDraw.R.z, w.R.z, 1e-5f);
  }
}

TEST_F(Recording, PlaybackUsesNoMoreRecordsThanTheFrameHas) {
  float a[4 * 9] = {}, b[4 * 9] = {};
  ASSERT_EQ(sim::RecordParts(Tree(), a, 4), 4);
  ASSERT_EQ(sim::RecordParts(Tree(), b, 4), 4);
  kxgeometricobject* copy = Tree();
  std::vector<kxgeometricobject*> parts;
  Meshed(copy, parts);
  parts[3]->Matrix.R = {0, 0, 9, 1};  // B would be the fourth record
  sim::PlaybackParts(copy, a, b, 3, 0.0f);
  EXPECT_EQ(parts[3]->Matrix.R.z, 9.0f);
  EXPECT_NEAR(World(parts[0]).R.y, 6.0f, 1e-5f);
}

}  // namespace
