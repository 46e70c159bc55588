#include "dynamics/components/receiver.h"

#include <cstring>

#include "core/hooks.h"
#include "platform/device_mapper.h"

kxtype kxdreceiver00::Type("kxdreceiver00", sizeof(kxdreceiver00), kxcreate<kxdreceiver00>);

namespace {

constexpr float kDefaultVTailElevator = 0.77f;
constexpr float kDefaultVTailRudder = 0.42f;
constexpr int kListedOutputs = 8;  // a link chooser offers the first eight

// A link chooser offers the first eight outputs.
int Listed(const kxnode*) { return kListedOutputs; }

using namespace kxdkeys;
using R = kxdreceiver00;

// The body's lines first. The channel source is not written: the aircraft
// analysis binds it; it points into the pinboard, outside the aircraft, so
// a clone keeps it as it is. Outputs are not copied.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(R, SlotAnalog, kSource, kAsIs),
    Each("Out(%d)", kSignal, kNone, KXD_EACH(R, Out), R::kOutputs, Listed,
         kNamed | kListed),
    KXD_KEY(R, VTailMixElevator, kReal, kCopy),
    Key("VTailMixRudder   ", kReal, kCopy, KXD_AT(R, VTailMixRudder)),
};

}  // namespace

const kxdkeytable kxdreceiver00::Keys(kRows);

kxdreceiver00* kxdreceiver00::As(kxnode* node) { return kxnode::As<kxdreceiver00>(node); }

kxdreceiver00::kxdreceiver00() {
  type = &Type;
  Mass = 0.0f;
  for (float& f : Inertia) f = 0.0f;
  SlotAnalog = nullptr;
  for (float& o : Out) o = 0.0f;
  VTailMixElevator = kDefaultVTailElevator;
  VTailMixRudder = kDefaultVTailRudder;
}

void kxdreceiver00::ComputeChange(kxdintegrable*, int) {}

void kxdreceiver00::Integrate(kxdintegrable*, int, float) {}

void kxdreceiver00::UpdateVisual() { UpdateChannels(); }

void kxdreceiver00::ResetState() { UpdateChannels(); }

void kxdreceiver00::UpdateChannels() {
  if (!SlotAnalog) return;
  std::memcpy(Out, SlotAnalog, sizeof Out);
}

void kxdreceiver00::BindToPlayer(kxnode* component, int player, float* slots) {
  kxdreceiver00* r = As(component);
  if (!r) return;
  r->SlotAnalog = slots;
  if (player < 0 || player > 1) return;
  input::vtail[player].elevator = r->VTailMixElevator;
  input::vtail[player].rudder = r->VTailMixRudder;
}
