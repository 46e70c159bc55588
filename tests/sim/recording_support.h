// Shared set-up of the recording tests: the interpreter and the geometry
// types, part trees built in code, and the world frames their drawing
// composes.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/interpreter.h"
#include "graphics/geometric_object.h"
#include "graphics/graphics_init.h"
#include "sim/recording.h"
#include "tests/graphics/geometry_support.h"
#include "tests/sim/sim_support.h"

namespace simtest {

// The frame the drawing gives the part: its Matrix placed in its parents'.
inline kxmatrix World(const kxgeometricobject* o) {
  kxmatrix m = o->Matrix;
  for (const kxnode* up = o->parent; up; up = up->parent) {
    const kxgeometricobject* g = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(up));
    if (!g) break;
    kxmatrix::Multiply4x4(&m, &g->Matrix, &m);
  }
  return m;
}
// The meshed parts in record order: children before their parent.
inline void Meshed(kxgeometricobject* o, std::vector<kxgeometricobject*>& out) {
  for (kxnode* c = o->firstChild; c; c = c->nextSibling)
    if (kxgeometricobject* g = kxnode::As<kxgeometricobject>(c)) Meshed(g, out);
  if (o->mesh) out.push_back(o);
}

using poses = std::vector<kxmatrix>;
// The frames the drawing gives the tree's meshed parts, in record order.
inline poses Poses(kxgeometricobject* root) {
  std::vector<kxgeometricobject*> parts;
  if (root) Meshed(root, parts);
  poses out;
  for (kxgeometricobject* part : parts) out.push_back(World(part));
  return out;
}
// Largest difference of the X and Y axes and positions, by component,
// beyond `spacings` times the float's own spacing at the component's size;
// trees of different part counts differ by 1e9.
inline float Largest(const poses& a, const poses& b, float spacings = 0.0f) {
  float most = a.size() == b.size() ? 0.0f : 1e9f;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    for (int k = 0; k < 3; ++k)
      for (const kxvector4r kxmatrix::*row : {&kxmatrix::X, &kxmatrix::Y, &kxmatrix::R}) {
        const float x = (&(a[i].*row).x)[k], y = (&(b[i].*row).x)[k];
        most = std::max(most, std::fabs(x - y) - spacings * 1.2e-7f * std::max(std::fabs(x), std::fabs(y)));
      }
  return most;
}
// The records of a frame as the poses they stand for (X, Y and position;
// Z and the fourth column as the drawing's frames have them).
inline poses Poses(const recordframe& f) {
  poses out;
  for (int i = 0; i < f.count; ++i) {
    const float* r = f.records + 9 * i;
    kxmatrix m = kxmatrix::Identity();
    m.X = {r[0], r[1], r[2], 0};
    m.Y = {r[3], r[4], r[5], 0};
    m.R = {r[6], r[7], r[8], 1};
    out.push_back(m);
  }
  return out;
}

// A file keeps four decimals of each number and six of each frame time.
// The numbers put a replayed pose within 5e-5 of the recorded one; a frame
// time off by up to 5e-7 s shifts the blend between two frames, and with it
// a part, by up to 1e-6 s of its step over their interval. This is that
// share for the fastest step of the first `count` frames.
constexpr float kFileDecimals = 5e-5f;
inline float FileTimeShift(const recordframe* frames, int count) {
  float most = 0.0f;
  for (int f = 1; f < count; ++f) {
    const recordframe& a = frames[f - 1];
    const recordframe& b = frames[f];
    const float interval = b.time - a.time;
    if (interval <= 0.0f || !a.records || !b.records) continue;
    for (int i = 0; i < 9 * std::min(a.count, b.count); ++i)
      most = std::max(most, std::fabs(b.records[i] - a.records[i]) * 1e-6f / interval);
  }
  return most;
}
// Spacings of the float a replayed pose may differ by beyond the file's own
// rounding: the placement composes each part from its parent's frame.
constexpr float kComposeSpacings = 16.0f;

class recordingtest : public simtest {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxgraphics::RegisterTypes();
  }
  void SetUp() override {
    simtest::SetUp();
    p.flight_state = &state;
  }
  void TearDown() override {
    for (kxgeometricobject* t : trees_) delete t;
    simtest::TearDown();
  }

  // A part under parent (a new tree when null) at (x, y, z) turned by
  // degrees about z, with a unit square mesh when meshed.
  kxgeometricobject* Part(kxgeometricobject* parent, bool meshed, float x, float y, float z, float degrees = 0) {
    kxgeometricobject* o = new kxgeometricobject;
    o->name = "part";
    kxmatrix::SetRotation(&o->Matrix, {0, 0, 1, 0}, degrees * 3.14159265f / 180.0f);
    o->Matrix.R = {x, y, z, 1};
    if (meshed) o->SetMesh(kxgeomtest::UnitSquare());
    if (parent) parent->AppendChild(o);
    else trees_.push_back(o);
    return o;
  }
  // Starts recording as the menu's record command does.
  void StartRecording() {
    p.recording.present = 0;
    p.recording.state = sim::kRecording;
    p.recording.frame = 0;
    p.recording.time = 0;
    p.record_store.write = p.record_store.positions;
  }
  // Stops it as the menu's stop command does.
  void StopRecording() {
    p.recording.state = sim::kRecordIdle;
    p.recording.time = 0;
    p.recording.frame = 1;
    p.record_store.write = p.record_store.positions;
    p.recording.present = p.recording.header.length > 2.0f ? 1 : 0;
  }
  int Frames() const {
    int n = 0;
    while (n < simplayer::kRecordFrameEntries && p.record_store.frames[n].records) ++n;
    return n;
  }

  simplayer& p = sim::players[0];
  kxdflightstate state;

 private:
  std::vector<kxgeometricobject*> trees_;
};

}  // namespace simtest
