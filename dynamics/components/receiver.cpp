#include "dynamics/components/receiver.h"

#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/links.h"
#include "platform/device_mapper.h"

kxtype kxdreceiver00::Type("kxdreceiver00", sizeof(kxdreceiver00), kxcreate<kxdreceiver00>);

namespace {

constexpr float kDefaultVTailElevator = 0.77f;
constexpr float kDefaultVTailRudder = 0.42f;
constexpr int kListedOutputs = 8;  // a link chooser offers the first eight

// The channel source is bound by the aircraft analysis only: an aircraft
// file that could point it anywhere would make the receiver read foreign
// memory every frame.
int RefuseSlotAssignment(const kxvalue&, void**) {
  kxcore::Log("kxdreceiver00:  SlotAnalog is set by the aircraft analysis; assignment refused\n");
  return 0;
}

}  // namespace

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

kxvalueptr kxdreceiver00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "Out") == 0) {
    int i = args.Index(0, kOutputs);
    if (i < 0) {
      kxcore::Log("kxdreceiver00:  Out(%d) is no output of %s\n", args.Int(0, -1), name.Text());
      return nullptr;
    }
    return kxvalueptr(new kxrealref(&Out[i], &kxdlinktypes::Signal));
  }
  if (std::strcmp(member, "SlotAnalog") == 0) {
    return kxvalueptr(new kxpointerref(&SlotAnalog, &kxvaluetypes::RealPtr, RefuseSlotAssignment));
  }
  if (std::strcmp(member, "VTailMixElevator") == 0) return kxvalueptr(new kxrealref(&VTailMixElevator));
  if (std::strcmp(member, "VTailMixRudder") == 0) return kxvalueptr(new kxrealref(&VTailMixRudder));
  return kxdbody::GetMember(member, args);
}

void kxdreceiver00::CopyTo(kxnode* other) {
  kxdreceiver00* r = As(other);
  if (!r || r == this) return;
  // The source points into the pinboard, outside the aircraft: not remapped.
  r->SlotAnalog = SlotAnalog;
  r->VTailMixElevator = VTailMixElevator;
  r->VTailMixRudder = VTailMixRudder;
  kxdbody::CopyTo(other);
}

int kxdreceiver00::GetMemberName(const void* position, kxstring& out) {
  const float* p = static_cast<const float*>(position);
  if (p >= Out && p < Out + kOutputs) {
    out.Format("Out(%d)", static_cast<int>(p - Out));
    return 1;
  }
  return kxdbody::GetMemberName(position, out);
}

void kxdreceiver00::GetMemberNames(const kxtype* valueType, std::vector<kxstring>& out) {
  if (valueType == &kxdlinktypes::Signal) {
    for (int i = 0; i < kListedOutputs; ++i) {
      kxstring s;
      s.Format("Out(%d)", i);
      out.push_back(s);
    }
  }
  out.push_back(kxstring(""));
}

void kxdreceiver00::ComputeChange(kxdintegrable*, int) {}

void kxdreceiver00::Integrate(kxdintegrable*, int, float) {}

void kxdreceiver00::UpdateVisual() { UpdateChannels(); }

void kxdreceiver00::ResetState() { UpdateChannels(); }

void kxdreceiver00::UpdateChannels() {
  if (!SlotAnalog) return;
  std::memcpy(Out, SlotAnalog, sizeof Out);
}

void kxdreceiver00::Write(kxout& out) {
  kxdbody::Write(out);
  out.Printf("VTailMixElevator = %g\n", VTailMixElevator);
  out.Printf("VTailMixRudder   = %g\n", VTailMixRudder);
}

void kxdreceiver00::BindToPlayer(kxnode* component, int player, float* slots) {
  kxdreceiver00* r = As(component);
  if (!r) return;
  r->SlotAnalog = slots;
  if (player < 0 || player > 1) return;
  input::vtail[player].elevator = r->VTailMixElevator;
  input::vtail[player].rudder = r->VTailMixRudder;
}
