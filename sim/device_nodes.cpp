#include "sim/device_nodes.h"

#include "core/hooks.h"
#include "core/interpreter.h"
#include "platform/codes.h"
#include "platform/device_nodes.h"
#include "platform/files.h"
#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/pinboard.h"
#include "sim/menu_state.h"

namespace sim {

namespace {

bool IsDeviceNode(const kxnode* node) {
  return kxtype::IsDerivedFrom(node->type, &kxdevicegame::Type) ||
         kxtype::IsDerivedFrom(node->type, &kxdevicetransmitter::Type);
}

// The node of a record with its name and stem, and its slot in *slot.
kxdevicegame* MakeNode(kxinputdevice* record, int counters[4], int* slot) {
  int& joysticks = counters[0];
  int& usb = counters[1];
  int& radios = counters[2];
  int& padpilots = counters[3];
  kxdevicegame* node = nullptr;
  kxstring stem;
  if (record->kind == kxcode::kDeviceJoystick) {
    node = new kxdevicegame(record);
    if (!node) return nullptr;
    *slot = kJoystickSlot + kJoystickSlotStep * joysticks;
    node->name.Format("Analog Joystick #%d", joysticks + 1);
    stem.Format("joystick%d", joysticks++);
  } else if (record->kind == kxcode::kDeviceUsb) {
    node = new kxdevicetransmitter(record);
    if (!node) return nullptr;
    *slot = kUsbSlot + kUsbSlotStep * usb++;
    node->name = record->name;
    if (record->subkind == kxcode::kDeviceCable) stem.Format("radio%d", radios++);
    else stem.Format("usbpp%d", padpilots++);
    node->channels = kxdevicegame::kChannels;
  } else {
    return nullptr;
  }
  node->stem = stem;
  return node;
}

void LoadCalibration(kxdevicegame* node) {
  kxstring path;
  path.Format("config/%s.kxc", node->stem.Text());
  bool joystick = node->device->kind == kxcode::kDeviceJoystick;
  if (joystick && kxsystem::GetFileSize(path.Text()) < kMinJoystickCalibrationBytes) return;
  kxinput::LoadCalibration(path.Text(), node->device);
}

int counts[kRememberedDevices] = {-2, -2, -2, -2, -2, -2, -2, -2};

}  // namespace

void BuildDeviceNodes() {
  kxpinboard* board = input::Pinboard();
  if (!board) {
    kxsystem::Log("sim:  /Pinboard/ missing, the input devices cannot be used\n");
    kxcore::Fatal(kExitNoInputRoots);
  }
  for (kxnode* child = board->firstChild; child;) {
    kxnode* next = child->nextSibling;
    if (IsDeviceNode(child)) delete child;
    child = next;
  }
  int counters[4] = {0, 0, 0, 0};
  for (kxinputdevice* record = kxinput::FirstDevice(); record; record = record->next) {
    int slot = 0;
    kxdevicegame* node = MakeNode(record, counters, &slot);
    if (!node) continue;
    board->AppendChild(node);
    node->PlugIn(slot, kxdevice::kPlugInFlags);
    LoadCalibration(node);
  }
  for (kxnode* child = kxscript::Root()->firstChild; child; child = child->nextSibling) child->Refresh();
}

void ForgetSignalCounts() {
  for (int& c : counts) c = -2;
}

int CheckSignal(signaldisplay* window) {
  kxinputdevice* device = window ? window->SignalDevice() : nullptr;
  if (!device || device->kind != kxcode::kDeviceUsb) return 0;
  if (device->index < 0 || device->index >= kRememberedDevices) return 0;
  int& remembered = counts[device->index];
  if (device->channel_count == remembered) return 0;
  remembered = device->channel_count;
  // The PadPilot always reports its twelve channels: nothing to tell.
  if (device->subkind == kxcode::kDevicePadPilot) return 0;
  if (device->channel_count == 0)
    for (int& raw : device->raw) raw = 0;
  window->ShowSignal(device->channel_count);
  return 1;
}

}  // namespace sim
