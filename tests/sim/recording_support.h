// Shared set-up of the recording tests: the interpreter and the geometry
// types, part trees built in code, and the world frames their drawing
// composes.
#pragma once

#include <cstring>
#include <vector>

#include "core/interpreter.h"
#include "graphics/geometric_object.h"
#include "graphics/graphics_init.h"
#include "sim/recording.h"
#include "tests/graphics/geometry_support.h"
#include "tests/sim/sim_support.h"

namespace simtest {

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
  // The frame the drawing gives the part: its Matrix placed in its parents'.
  static kxmatrix World(const kxgeometricobject* o) {
    kxmatrix m = o->Matrix;
    for (const kxnode* up = o->parent; up; up = up->parent) {
      const kxgeometricobject* g = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(up));
      if (!g) break;
      kxmatrix::Multiply4x4(&m, &g->Matrix, &m);
    }
    return m;
  }
  // The meshed parts in record order: children before their parent.
  static void Meshed(kxgeometricobject* o, std::vector<kxgeometricobject*>& out) {
    for (kxnode* c = o->firstChild; c; c = c->nextSibling)
      if (kxgeometricobject* g = kxnode::As<kxgeometricobject>(c)) Meshed(g, out);
    if (o->mesh) out.push_back(o);
  }
  // Starts recording as the menu's record command does.
  void StartRecording() {
    p.rec_present = 0;
    p.rec_state = sim::kRecording;
    p.rec_frame = 0;
    p.rec_time = 0;
    p.rec_write = p.rec_positions;
  }
  // Stops it as the menu's stop command does.
  void StopRecording() {
    p.rec_state = sim::kRecordIdle;
    p.rec_time = 0;
    p.rec_frame = 1;
    p.rec_write = p.rec_positions;
    p.rec_present = p.rec_length > 2.0f ? 1 : 0;
  }
  int Frames() const {
    int n = 0;
    while (n < simplayer::kRecordFrameEntries && p.rec_frames[n].records) ++n;
    return n;
  }

  simplayer& p = sim::players[0];
  kxdflightstate state;

 private:
  std::vector<kxgeometricobject*> trees_;
};

}  // namespace simtest
