// What each class's Init does once the model's parts are read: links to the
// parts it names, the propellers' and rotors' inertia reflected onto their
// engine, the rest poses the simulation moves parts from, the contact
// points of wheels and tips, and the sounds.
//
// Links are made by exact name over the whole list, the last match winning
// (and a per-match effect, the reflected inertia, happening once per
// match). A link is made only to a part of the expected class: a name of
// another class would have the linking part write fields that class does
// not have.
#include <cstring>

#include "core/hooks.h"
#include "legacy/part_operations.h"
#include "legacy/parts.h"
#include "legacy/sound_commands.h"

namespace dnsmodel {
namespace {

// Calls found(T&) for every part of class T named name, in list order; a
// part of that name but another class is refused with a log line.
template <class T, class Found>
void ForNamed(const dynamicsystem* model, const object* from, const char* name, Found found) {
  if (!name[0]) return;
  for (object* p = model->objects; p; p = p->next) {
    if (std::strncmp(p->Name, name, kNameBytes) != 0) continue;
    if (T* target = As<T>(p)) found(*target);
    else kxcore::Log("dnsmodel:  %s names %s, which is of class %s, not %s; no link\n", from->Name, name,
                     p->GetTypeName(), T::kClass.typeName);
  }
}

int ClaimPoint(dynamicsystem* model) { return interaction::AddSegment(&model->interaction, 0, 0, 0, 0, 0, 0); }

// Links a propeller or rotor to its engine's shaft and reflects its inertia
// through the gear ratio onto the engine.
template <class Airscrew, class BackLink>
void LinkEngine(dynamicsystem* model, Airscrew& a, BackLink back) {
  a.engineLink = nullptr;
  ForNamed<engine>(model, &a.base, a.Engine, [&](engine& e) {
    a.engineLink = &e.shaftSpeed;
    e.Inertia += a.Trans * a.Inertia * a.Trans;
    e.*back = &a;
  });
  if (!a.engineLink) kxcore::Log("dnsmodel:  %s has no engine named \"%s\"; it does not turn\n", a.base.Name, a.Engine);
  if (!(a.Radius > 0.0f && a.Area > 0.0f && a.Sigma > 0.0f)) {
    kxcore::Log("dnsmodel:  %s has no radius, area or solidity; it does not turn\n", a.base.Name);
  }
}

}  // namespace

void InitWing(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  wing& w = Self<wing>(part);
  w.brakeLink = nullptr;
  w.flapLink = nullptr;
  ForNamed<brake>(model, part, w.Brake, [&](brake& b) { w.brakeLink = &b.input; });
  ForNamed<flap>(model, part, w.Flap, [&](flap& f) { w.flapLink = &f.input; });
}

void InitTip(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  tip& t = Self<tip>(part);
  t.contactA = ClaimPoint(model);
  t.contactB = ClaimPoint(model);
}

void InitEngine(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  engine& e = Self<engine>(part);
  sound::Init(&e.soundRecord);
}

void InitPropeller(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  propeller& p = Self<propeller>(part);
  LinkEngine(model, p, &engine::propellerLink);
  sound::Init(&p.soundRecord);
}

void InitFlap(object* part, dynamicsystem*) {
  flap& f = Self<flap>(part);
  std::memcpy(f.savedX, part->X, sizeof f.savedX);
  std::memcpy(f.savedY, part->Y, sizeof f.savedY);
}

void InitRotor(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  rotor& r = Self<rotor>(part);
  r.discAxis[0] = r.discAxis[1] = 0.0f;
  r.discAxis[2] = 1.0f;
  LinkEngine(model, r, &engine::rotorLink);
  ForNamed<flap>(model, part, r.Flap, [&](flap& f) { r.flapLink = &f.input; });
  std::memcpy(r.savedX, part->X, sizeof r.savedX);
  std::memcpy(r.savedY, part->Y, sizeof r.savedY);
  sound::Init(&r.soundRecord);
}

void InitBrake(object* part, dynamicsystem*) { Self<brake>(part).rest = part->R[2]; }

void InitVario(object* part, dynamicsystem*) {
  vario& v = Self<vario>(part);
  v.energy = v.previousEnergy = v.filteredChange = 0.0f;
}

void InitHarrier(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  harrier& h = Self<harrier>(part);
  sound::Init(&h.soundRecord);
  h.throttle = 0.0f;
}

void InitWheel(object* part, dynamicsystem* model) {
  object::InitFrame(part, model);
  wheel& w = Self<wheel>(part);
  std::memcpy(w.savedX, part->X, sizeof w.savedX);
  std::memcpy(w.savedY, part->Y, sizeof w.savedY);
  w.contact = ClaimPoint(model);
}

}  // namespace dnsmodel
