#include "designer/new_components.h"

#include <cstdio>

#include "core/type.h"
#include "designer/new_wing_mesh.h"
#include "designer/state.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/instance.h"
#include "dynamics/wings/wing.h"
#include "platform/log.h"

namespace svdesign {

namespace {

bool NameTaken(const kxnode* parent, const char* name) {
  for (const kxnode* c = parent->firstChild; c; c = c->nextSibling) {
    if (c->name.Equal(name)) return true;
  }
  return false;
}

// What a new component's pages may set. They admit the constructors'
// values (a mass of 1 kg, a rotor radius of 1 m, a blade of 100 g).
constexpr float kMassMax = 10.0f;                       // kg; from 0: a joint weighs nothing
constexpr float kLengthMin = 0.05f, kLengthMax = 5.0f;  // m, a wing's semi-span, a rotor's radius
constexpr float kBladeMassMin = 0.01f, kBladeMassMax = 1.0f;  // kg

/* The constructors leave the designer's ranges unset (0): an analysis fills
   them about what it measures on the mesh, and a file's own ranges stand.
   A new component has nothing measured (a new wing's mesh is a default
   panel, not a model's), so its ranges would stay 0..0 and hold every edit
   at 0 or be fitted to that panel (or, for the mass, at half and twice the
   default). It gets ranges wide enough for any model instead; they are
   set, so no analysis replaces them, and Save writes them. */
void GiveRanges(kxdbody* component) {
  component->RangeMassMin = 0.0f;
  component->RangeMassMax = kMassMax;
  if (kxdwing* wing = kxdwing::As(component)) {
    wing->RangeSpanMin = kLengthMin;
    wing->RangeSpanMax = kLengthMax;
  }
  if (kxdmainrotor* rotor = kxdmainrotor::As(component)) {
    rotor->RangeRadiusMin = kLengthMin;
    rotor->RangeRadiusMax = kLengthMax;
    rotor->RangeBladeMassMin = kBladeMassMin;
    rotor->RangeBladeMassMax = kBladeMassMax;
  }
  if (kxdtailrotor00* tail = kxdtailrotor00::As(component)) {
    tail->RangeRadiusMin = kLengthMin;
    tail->RangeRadiusMax = kLengthMax;
  }
}

}  // namespace

void FreeName(const kxnode* parent, const char* stem, char* out, int capacity) {
  // Each child blocks at most one candidate, so this ends.
  for (int n = 0;; ++n) {
    std::snprintf(out, capacity, "%s%02d", stem, n);
    if (!parent || !NameTaken(parent, out)) return;
  }
}

kxdbody* NewComponent(const char* typeName, const char* stem, int first) {
  designstate& s = State();
  kxdaircraft* components = s.aircraft ? s.aircraft->Template : nullptr;
  kxtype* type = kxtype::Find(typeName);
  if (!components || !type) return nullptr;
  kxnode* made = type->Create();
  kxdbody* component = kxdbody::As(made);
  if (!component) {
    delete made;
    kxsystem::Log("svdesign:  cannot make a new %s\n", typeName);
    return nullptr;
  }
  char name[64];
  FreeName(components, stem, name, sizeof name);
  component->name = name;
  component->Instance = s.aircraft;
  GiveRanges(component);
  if (first) components->AddChild(component);
  else components->AppendChild(component);
  // A wing's span, dihedral and incidence need a mesh to be kept in.
  if (kxdwing* wing = kxdwing::As(component)) GiveNewWingMesh(wing, s.aircraft);
  return component;
}

}  // namespace svdesign
