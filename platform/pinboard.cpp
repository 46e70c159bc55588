#include "platform/pinboard.h"

#include "core/arguments.h"
#include "core/reference.h"
#include "platform/device_mapper.h"
#include "platform/log.h"

kxtype kxpinboard::Type{"kxpinboard", sizeof(kxpinboard), kxcreate<kxpinboard>};
kxtype kxpanel::Type{"kxpanel", sizeof(kxpanel), kxcreate<kxpanel>};
kxtype kxdevice::Type{"kxdevice", sizeof(kxdevice), kxcreate<kxdevice>};

// ---- pinboard ---------------------------------------------------------------------

kxpinboard::kxpinboard() { type = &Type; }

kxpinboard* kxpinboard::FromValue(const kxvalue* value) { return kxnode::FromValue<kxpinboard>(value); }

void kxpinboard::Update() {
  auto isMapper = [](kxnode* n) { return kxtype::IsDerivedFrom(n->type, &kxdevicemapper::Type) != 0; };
  for (kxnode* child = firstChild; child; child = child->nextSibling) {
    if (kxtype::IsDerivedFrom(child->type, &kxdevice::Type) && !isMapper(child)) child->Update();
  }
  for (kxnode* child = firstChild; child; child = child->nextSibling) {
    if (isMapper(child)) child->Update();
  }
}

// ---- panel ------------------------------------------------------------------------

kxpanel::kxpanel() { type = &Type; }

void kxpanel::Dispatch(int code, int mods, int isKey) {
  kxnode* next = nullptr;
  for (kxnode* child = firstChild; child; child = next) {
    next = child->nextSibling;  // a handler may run a command that moves nodes
    if (kxeventbinding* binding = dynamic_cast<kxeventbinding*>(child)) binding->OnEvent(code, mods, isKey);
  }
}

void kxpanel::Update() {
  for (kxnode* child = firstChild; child; child = child->nextSibling) child->Update();
}

// ---- device base ----------------------------------------------------------------------

kxdevice::kxdevice() { type = &Type; }

kxvalueptr kxdevice::GetMember(const char* member, const kxargs& args) {
  if (std::string_view(member) == "PlugIn") {
    PlugIn(args.Int(0, -1), args.Int(1));
    return kxvoid();
  }
  return kxnode::GetMember(member, args);
}

int kxdevice::PlugIn(int first, int /*flags*/) {
  kxpinboard* board = As<kxpinboard>(parent);
  if (!board) {
    kxsystem::Log("kxinput:  %s: plug-in refused, parent is no pinboard\n", name.Text());
    return 0;
  }
  if (first < 0 || channels < 0 || first > kxpinboard::kSlots - channels) {
    kxsystem::Log("kxinput:  %s: plug-in at slot %d with %d channels refused (slots 0-%d)\n", name.Text(), first,
                  channels, kxpinboard::kSlots - 1);
    return 0;
  }
  slot = first;
  outputs = board->slots + first;
  return 1;
}

void kxdevice::CopyTo(kxnode* other) {
  kxdevice* d = static_cast<kxdevice*>(other);
  d->channels = channels;
  // The copy writes its own parent's slots, never the original's.
  d->outputs = nullptr;
  d->slot = -1;
  if (slot >= 0 && As<kxpinboard>(d->parent)) d->PlugIn(slot, 0);
}

// ---- the two roots ----------------------------------------------------------------------

namespace input {

int DeviceMissing(const kxpinboard* pinboard, int slot) {
  auto within = [slot](int first, int step) { return slot >= first && slot < first + kDevicesOfAKind * step; };
  if (!within(kJoystickSlot, kJoystickSlotStep) && !within(kUsbSlot, kUsbSlotStep)) return 0;
  for (const kxnode* child = pinboard ? pinboard->firstChild : nullptr; child; child = child->nextSibling) {
    if (!kxtype::IsDerivedFrom(child->type, &kxdevice::Type)) continue;
    const kxdevice* d = static_cast<const kxdevice*>(child);
    if (d->slot >= 0 && slot >= d->slot && slot < d->slot + d->channels && d->Present()) return 0;
  }
  return 1;
}

kxpinboard* Pinboard() { return kxnode::As<kxpinboard>(kxnode::Find("/Pinboard/")); }

kxpanel* Panel() { return kxnode::As<kxpanel>(kxnode::Find("/Panel/")); }

void Update() {
  if (kxpanel* panel = Panel()) panel->Update();
  if (kxpinboard* board = Pinboard()) board->Update();
}

void Dispatch(int code, int mods, int isKey) {
  if (kxpanel* panel = Panel()) panel->Dispatch(code, mods, isKey);
}

}  // namespace input
