// Runs arbitrary bytes as an aircraft component file with the controls and
// powerplants registered, then analyses, writes, clones and steps the
// result: indices, links and keys from a file must never reach past a table,
// and every body of the stepped clone keeps a finite frame and motion.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/node_copy.h"
#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/component_file.h"
#include "dynamics/components/register.h"
#include "dynamics/driver.h"
#include "dynamics/registry.h"
#include "dynamics/write_links.h"
#include "fuzz/aircraft_roots.h"
#include "fuzz/input_file.h"
#include "graphics/geometric_object.h"

namespace {

// Every body's frame, motion and momenta are finite.
void CheckFinite(kxnode* node) {
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) {
      for (const kxmatrix* m : {&b->B, &b->D}) {
        for (float v : {m->X.x, m->X.y, m->X.z, m->Y.x, m->Y.y, m->Y.z, m->Z.x, m->Z.y, m->Z.z, m->R.x, m->R.y, m->R.z}) {
          if (!std::isfinite(v)) std::abort();
        }
      }
      for (const kxvector4r* v : {&b->P, &b->L}) {
        if (!std::isfinite(v->x) || !std::isfinite(v->y) || !std::isfinite(v->z)) std::abort();
      }
    }
    CheckFinite(c);
  }
}

void WriteAll(kxnode* node, kxout& out) {
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    if (kxdintegrable* i = kxdintegrable::As(c)) i->Write(out);
    WriteAll(c, out);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    fuzzaircraft::Init();
    components::RegisterTypes();
    return true;
  }();
  (void)ready;
  fuzzinput::file input("powerplant.kxd", data, size);
  if (!input.Path()) return 0;

  fuzzaircraft::roots scene = fuzzaircraft::Mount();
  kxdaircraft* root = scene.aircraft;
  kxnode* geometry = scene.geometry;
  kxdload::RunComponentFile(input.Path(), root);
  root->Analyse();
  kxdwrite::SetRoots(root, geometry);
  kxout out;
  WriteAll(root, out);
  kxdwrite::SetRoots(nullptr, nullptr);

  // A clone and its twin, stepped a few substeps like the driver does.
  kxnode* state = nullptr;
  kxnode* change = nullptr;
  {
    kxclonemap map;
    state = root->Clone(nullptr);
    map.CopyAll();
  }
  {
    kxclonemap map;
    change = state ? state->Clone(nullptr) : nullptr;
    map.CopyAll();
  }
  if (kxdintegrable* s = kxdintegrable::As(state)) {
    s->Prepare();
    s->ResetState();
    kxdynamics::RunSubsteps(state, change, 3);
    s->UpdateVisual();
    CheckFinite(state);
  }
  delete change;
  delete state;
  fuzzaircraft::Unmount(scene);
  return 0;
}
