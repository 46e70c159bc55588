#include "dynamics/instance.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/lanes.h"
#include "core/value.h"
#include "dynamics/aircraft.h"
#include "dynamics/attach.h"
#include "dynamics/body.h"
#include "dynamics/geometry_link.h"

namespace {

kxdaircraftinstance* Table() {
  static kxdaircraftinstance slots[kxdaircraftinstance::kSlots];
  static bool numbered = false;
  if (!numbered) {
    for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) {
      slots[i].slotIndex = i;
      slots[i].Player = i % kxdaircraftinstance::kPlayers;
    }
    numbered = true;
  }
  return slots;
}

constexpr float kExtentStart = 10.0f;  // m, first minimum of the extents (maximum: minus it)

// The main rotors' types, found by name so no component header is needed.
const char* const kMainRotorTypes[] = {"kxdrotor00", "kxdrotor01"};
// Wing types whose area counts, with everything derived from them.
const char* const kCountedWingTypes[] = {"kxdwing00", "kxdwing20", "kxdwing10"};

kxnode* FindByType(kxnode* node, const char* const* names, int count) {
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    for (int i = 0; i < count; ++i) {
      if (c->type && c->type->name == names[i]) return c;
    }
    if (kxnode* found = FindByType(c, names, count)) return found;
  }
  return nullptr;
}

}  // namespace

kxdaircraftinstance* kxdaircraftinstance::Slot(int index) {
  if (index < 0 || index >= kSlots) return nullptr;
  return &Table()[index];
}

kxdaircraftinstance* kxdaircraftinstance::Loaded(int player) {
  kxdaircraftinstance* i = Slot(player);
  return i && player < kPlayers && i->IsLoaded() ? i : nullptr;
}

kxvector4r kxdaircraftinstance::AirVelocityAt(const kxdaircraftinstance* instance, const kxvector4r& point) {
  if (!instance) return {0.0f, 0.0f, 0.0f, 0.0f};
  const kxdbody* main = instance->SimMainBody;
  if (!main) {
    kxvector4r v = instance->AirVelocity;
    v.w = 0.0f;
    return v;
  }
  // Asked several times a substep: the three rows worked as four-float
  // lanes, a column of the gradient at a time. Each lane sums its row term
  // by term from the air at the main body, in the scalar formula's order,
  // so the results are the same to the bit. Each column is shuffled out of
  // two overlapping loads of the nine (G + k holds G[k] .. G[k + 3]); the
  // fourth lane is dropped.
  using namespace kxlanes;
  const float* G = instance->AirGradient;
  const f4 g0 = LoadU(G), g1 = LoadU(G + 1), g2 = LoadU(G + 2), g5 = LoadU(G + 5);
  const f4 cx = Shuffle<0, 3, 1, 1>(g0, g5);  // G0 G3 G6
  const f4 cy = Shuffle<0, 3, 2, 2>(g1, g5);  // G1 G4 G7
  const f4 cz = Shuffle<0, 3, 3, 3>(g2, g5);  // G2 G5 G8
  const f4 d = Sub(LoadU(&point.x), LoadU(&main->B.R.x));
  f4 a = LoadU(&instance->AirVelocity.x);
  a = Add(a, Mul(cx, Broadcast<0>(d)));
  a = Add(a, Mul(cy, Broadcast<1>(d)));
  a = Add(a, Mul(cz, Broadcast<2>(d)));
  kxvector4r v;
  StoreU(&v.x, a);
  v.w = 0.0f;
  return v;
}

const float* kxdaircraftinstance::AirGradientOf(const kxdaircraftinstance* instance) {
  static const float kNone[9] = {};
  return instance && instance->SimMainBody ? instance->AirGradient : kNone;
}

float kxdaircraftinstance::TotalWingArea(const kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return 0.0f;
  float area = 0.0f;
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) {
    kxdbody* b = kxdbody::As(c);
    if (!b) continue;
    for (const char* name : kCountedWingTypes) {
      if (kxtype::IsDerivedFrom(c->type, kxtype::Find(name))) {
        area += b->WingArea();
        break;
      }
    }
  }
  return area;
}

float kxdaircraftinstance::TotalMass(const kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return 0.0f;
  float mass = 0.0f;
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) mass += b->Mass;
  }
  return mass;
}

float kxdaircraftinstance::RotorDiameter(const kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return 0.0f;
  kxnode* rotor = FindByType(instance->Template, kMainRotorTypes, 2);
  if (!rotor) return 0.0f;
  kxvalueptr radius = rotor->GetMember("Radius", kxargs::None());
  double r = 0.0;
  if (!radius || !radius->GetNumber(r)) return 0.0f;
  return 2.0f * static_cast<float>(r);
}

namespace {

float ExtentAlong(const kxdaircraftinstance* instance, const kxvector4r& direction) {
  if (!instance || !instance->Template) return -2.0f * kExtentStart;
  // The running bounds start at 10 and -10 m as the designer's readouts
  // expect: without geometry the extent reads -20, and a part lying wholly
  // beyond 10 m from the origin is measured from there.
  float lo = kExtentStart, hi = -kExtentStart;
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) kxdgeometry::Extent(b->Geometry, direction, &lo, &hi);
  }
  return hi - lo;
}

}  // namespace

float kxdaircraftinstance::ExtentA(const kxdaircraftinstance* instance) {
  return ExtentAlong(instance, {0.0f, 1.0f, 0.0f, 0.0f});
}

float kxdaircraftinstance::ExtentB(const kxdaircraftinstance* instance) {
  return ExtentAlong(instance, {1.0f, 0.0f, 0.0f, 0.0f});
}

void kxdaircraftinstance::PrepareClone(kxdaircraftinstance* instance) {
  if (!instance || !instance->Clone) return;
  kxdattach::Resolve(instance->Clone, instance->SimMainBody);
  instance->Clone->Prepare();
  kxdattach::Aggregate(instance->Clone);
}

void kxdaircraftinstance::UpdateTemplateGraphics(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return;
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) b->UpdateGraphics();
  }
}

void kxdaircraftinstance::SetName(kxdaircraftinstance* instance, const char* name) {
  if (!instance || !name) return;
  instance->Directory.Format("aircraft/%s", name);
  instance->Name = name;
}

int kxdaircraftinstance::TakeEngineRecord() {
  int record = EngineCounter < kEngineRecords ? EngineCounter : kEngineRecords - 1;
  if (EngineCounter < kEngineRecords) ++EngineCounter;
  return record;
}

void kxdaircraftinstance::ClearShared() {
  Slipstream = {};
  Crash = SurfaceCode = GroundContact = WheelContact = 0;
  EngineCounter = 0;
  for (kxdenginerecord& e : Engines) e = {};
}
