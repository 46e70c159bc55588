#include "platform/input_types.h"

#include "platform/device_mapper.h"
#include "platform/device_nodes.h"
#include "platform/device_simple.h"
#include "platform/event_nodes.h"
#include "platform/pinboard.h"

namespace input {

void RegisterTypes() {
  kxtype::RegisterDerived(&kxpanel::Type, &kxnode::Type);
  kxtype::RegisterDerived(&kxpinboard::Type, &kxnode::Type);
  kxtype::RegisterDerived(&kxdevice::Type, &kxnode::Type);
  kxtype::RegisterDerived(&kxdevicemouse::Type, &kxdevice::Type);
  kxtype::RegisterDerived(&kxdevicekeyboard::Type, &kxdevice::Type);
  kxtype::RegisterDerived(&kxdevicetimer::Type, &kxdevice::Type);
  kxtype::RegisterDerived(&kxdevicegame::Type, &kxdevice::Type);
  // Not derived from "kxdevicegame" as a type: type tests must tell the
  // joysticks from the USB devices.
  kxtype::RegisterDerived(&kxdevicetransmitter::Type, &kxdevice::Type);
  kxtype::RegisterDerived(&kxdevicemapper::Type, &kxdevice::Type);
  kxtype::RegisterDerived(&kxeventcontroller::Type, &kxnode::Type);
  kxtype::RegisterDerived(&kxeventdisplay::Type, &kxnode::Type);
}

}  // namespace input
