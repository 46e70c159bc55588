// The input pinboard and the event panel. "/Pinboard/" holds 4096 float
// slots; each input device under it publishes its calibrated values at its
// plug-in slot, and the control mappers turn slots into function channels in
// the same table. "/Panel/" routes mouse, key and timer events to the event
// bindings under it.
#pragma once

#include "core/node.h"

class kxpinboard : public kxnode {
 public:
  static kxtype Type;
  static constexpr int kSlots = 4096;

  kxpinboard();
  // The pinboard of a value that holds a kxpinboard node, else null.
  static kxpinboard* FromValue(const kxvalue* value);
  // Devices first, then the control mappers, so a mapper reads this frame's
  // values wherever it stands among the children.
  void Update() override;

  float table[kSlots] = {};  // zero at construction
  float* slots = table;
};

// Base of the nodes under "/Panel/" that receive events.
class kxeventbinding : public kxnode {
 public:
  // isKey 1: a key-down code; 0: a mouse or timer code.
  virtual void OnEvent(int code, int mods, int isKey) = 0;
};

class kxpanel : public kxnode {
 public:
  static kxtype Type;
  kxpanel();
  // Hands the event to every event binding among the children, in order.
  void Dispatch(int code, int mods, int isKey);
  void Update() override;
};

// Base of the input devices: a run of output slots on the parent pinboard.
class kxdevice : public kxnode {
 public:
  static kxtype Type;
  static constexpr int kPlugInFlags = 0;

  kxdevice();
  // "PlugIn( slot )".
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // Points the outputs at slots [slot, slot + channels) of the parent
  // pinboard; refused, with a log line, without a pinboard parent or when the
  // run would pass the last slot. 1 or 0.
  virtual int PlugIn(int slot, int flags);
  // 1 while the device behind the node is there to be read.
  virtual int Present() const { return 1; }

  float* outputs = nullptr;  // into the parent pinboard's slots; null until plugged in
  int channels = 0;          // slots the device writes
  int slot = -1;             // first slot, -1 until plugged in
};

namespace input {

// Where the device nodes of the devices found plug in: joystick n (from 0)
// at 600 + 50 n, USB device n at 1000 + 100 n, up to four of each.
constexpr int kJoystickSlot = 600, kJoystickSlotStep = 50;
constexpr int kUsbSlot = 1000, kUsbSlotStep = 100;
constexpr int kDevicesOfAKind = 4;

// 1 when slot lies among the joystick and USB device slots and no device
// node under the pinboard with its device present fills it: the device it
// belongs to is missing (never found, or gone since).
int DeviceMissing(const kxpinboard* pinboard, int slot);

// "/Panel/" then "/Pinboard/"; each missing one is skipped.
void Update();
// Hands an event to "/Panel/"; nothing without one.
void Dispatch(int code, int mods, int isKey);
// "/Pinboard/" when it exists and is a pinboard, else null.
kxpinboard* Pinboard();
kxpanel* Panel();

}  // namespace input
