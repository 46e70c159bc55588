#include "dynamics/tow.h"

#include <cmath>

#include "dynamics/aircraft.h"
#include "dynamics/compiled.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"

kxtype kxdhook00::Type("kxdhook00", sizeof(kxdhook00), kxcreate<kxdhook00>);
kxtype kxdrope00::Type("kxdrope00", sizeof(kxdrope00), kxcreate<kxdrope00>);

namespace {
constexpr float kReleaseSignal = 0.5f;
constexpr float kStiffnessPerKg = 50.0f;  // N/m per kg of the towed aircraft
constexpr float kBreakBase = 1.0f;        // x towed weight at strength 0
constexpr float kBreakPerStrength = 9.0f; // added x towed weight at strength 1

kxnode* AircraftOf(kxnode* node) {
  while (node && !kxdaircraft::As(node)) node = node->parent;
  return node;
}

using kxvector4ops::Difference3;

using namespace kxdkeys;

// The hook's line before the body's.
constexpr kxdkey kRows[] = {
    KXD_KEY(kxdhook00, SignalIn, kSignalIn, kRemap),
    Field(kRemap, KXD_AT(kxdhook00, Rope), sizeof(kxdrope00*)),
    Include(kxdbody::Keys),
};

}  // namespace

const kxdkeytable kxdhook00::Keys(kRows);

kxdhook00* kxdhook00::As(kxnode* node) { return kxnode::As<kxdhook00>(node); }

kxdhook00::kxdhook00() {
  type = &Type;
  SignalIn = nullptr;
  Rope = nullptr;
}

void kxdhook00::ComputeChange(kxdintegrable* change, int flag) {
  if (PlacesItself() && !kxdcompiled::FoldOf(this)) {
    if (!Joint && (!Contact || (Instance && Instance->FrameClear))) {
      FollowCarrierOrigin();
    } else {
      FollowCarrier();
    }
  }
  kxdbody::ComputeChange(change, flag);
}

kxdrope00* kxdrope00::As(kxnode* node) { return kxnode::As<kxdrope00>(node); }

kxdrope00::kxdrope00() {
  type = &Type;
  Hooks[0] = Hooks[1] = nullptr;
  Length = 20.0f;
  Strength = 0.5f;
  Active[0] = Active[1] = 0;
  Ends[0] = Ends[1] = {0.0f, 0.0f, 0.0f, 1.0f};
  Tension = 0.0f;
}

void kxdrope00::CopyTo(kxnode* other) {
  kxdrope00* r = As(other);
  if (!r || r == this) return;
  for (int i = 0; i < 2; ++i) {
    r->Hooks[i] = Hooks[i];
    r->Active[i] = Active[i];
    r->Ends[i] = Ends[i];
  }
  r->Length = Length;
  r->Strength = Strength;
  r->Tension = Tension;
}

void kxdrope00::ComputeChange(kxdintegrable*, int) {
  Tension = 0.0f;
  for (int i = 0; i < 2; ++i) {
    kxdhook00* h = Hooks[i];
    if (!h) {
      Active[i] = 0;
      continue;
    }
    Ends[i] = h->B.R;
    if (h->SignalIn && *h->SignalIn > kReleaseSignal) Active[i] = 0;
  }
  if (!Active[0] || !Active[1]) return;
  kxdbody* towing = Hooks[0]->RootCarrier();
  kxdbody* towed = Hooks[1]->RootCarrier();
  float towedMass = towed->SystemMass > 0.0f ? towed->SystemMass : 1.0f;
  kxvector4r d = Difference3(Ends[1], Ends[0]);
  float distance = std::sqrt(kxvector4r::Dot3(d, d));
  if (!(distance > Length) || !std::isfinite(distance)) return;
  kxvector4r dir = {d.x / distance, d.y / distance, d.z / distance, 0.0f};
  float k = kStiffnessPerKg * towedMass;
  float c = 2.0f * std::sqrt(k * towedMass);
  float stretchRate = kxvector4r::Dot3(Difference3(Hooks[1]->PointVelocity(Ends[1]), Hooks[0]->PointVelocity(Ends[0])), dir);
  float t = k * (distance - Length) + c * stretchRate;
  if (t <= 0.0f) return;
  if (t > (kBreakBase + kBreakPerStrength * Strength) * towedMass * kGravity) {
    Active[0] = Active[1] = 0;
    return;
  }
  Tension = t;
  towing->AddForceAt({t * dir.x, t * dir.y, t * dir.z, 0.0f}, Ends[0]);
  towed->AddForceAt({-t * dir.x, -t * dir.y, -t * dir.z, 0.0f}, Ends[1]);
}

namespace kxdynamics {

kxdhook00* FirstHook(kxnode* node) {
  if (!node) return nullptr;
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    if (kxdhook00* h = kxdhook00::As(c)) return h;
    if (kxdhook00* h = FirstHook(c)) return h;
  }
  return nullptr;
}

int FindHookPair() {
  kxdaircraftinstance* a = kxdaircraftinstance::Loaded(0);
  kxdaircraftinstance* b = kxdaircraftinstance::Loaded(1);
  return a && b && FirstHook(a->Clone) && FirstHook(b->Clone) ? 1 : 0;
}

kxdrope00* CreateTowRope(kxdbody* first, kxdbody* second, float length, float strength) {
  kxdhook00* h0 = first ? FirstHook(AircraftOf(first)) : nullptr;
  kxdhook00* h1 = second ? FirstHook(AircraftOf(second)) : nullptr;
  kxnode* state = Tree(kxdtree::kState);
  kxnode* change = Tree(kxdtree::kChange);
  if (!h0 || !h1 || h0 == h1 || !state || !change) return nullptr;
  kxdrope00* rope = new kxdrope00;
  kxdrope00* twin = new kxdrope00;
  if (!rope || !twin) {
    delete rope;
    delete twin;
    return nullptr;
  }
  rope->name = twin->name = "Rope";
  rope->Hooks[0] = h0;
  rope->Hooks[1] = h1;
  rope->Length = std::isfinite(length) && length > 0.0f ? length : 20.0f;
  rope->Strength = std::isfinite(strength) && strength >= 0.0f ? strength : 0.5f;
  rope->Active[0] = rope->Active[1] = 1;
  rope->Ends[0] = h0->B.R;
  rope->Ends[1] = h1->B.R;
  h0->Rope = h1->Rope = rope;
  kxdcompiled::Prepared();  // the hooks now keep their frames in the substeps
  state->AppendChild(rope);
  change->AppendChild(twin);
  return rope;
}

void RebuildChange(kxdrope00* rope) {
  if (!rope) return;
  for (kxdhook00* h : rope->Hooks) {
    if (h && h->Rope == rope) h->Rope = nullptr;
  }
  kxdcompiled::Prepared();
  delete rope;
  RebuildChangeTree();
}

}  // namespace kxdynamics
