#include "platform/input_devices.h"

#include <SDL2/SDL.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "platform/codes.h"
#include "platform/log.h"
#include "platform/usb_interface.h"

// Sections: record pool and list; joysticks; USB devices; search; mapping.

namespace kxinput {

// ---- record pool and list -----------------------------------------------------

namespace {

// Records of vanished devices stay in the pool for the run; past this many a
// vanished record is reused for a new device, so a cable plugged in and out
// all day cannot grow the pool without end.
constexpr size_t kMaxRecords = 64;
constexpr int kCableCentreUs = 1500;
constexpr int kCableLowUs = 1000;
constexpr int kCableHighUs = 2000;

std::deque<kxinputdevice>& Pool() {
  static std::deque<kxinputdevice> pool;
  return pool;
}
kxinputdevice* first = nullptr;
bool joysticksOpen = false;
bool sdlJoystickReady = false;

kxinputdevice* NewRecord() {
  std::deque<kxinputdevice>& pool = Pool();
  if (pool.size() >= kMaxRecords) {
    for (kxinputdevice& d : pool) {
      if (!d.listed && !d.usb && !d.joystick) {
        d = kxinputdevice();
        return &d;
      }
    }
  }
  pool.emplace_back();
  return &pool.back();
}

// A record for a device seen for the first time, with default calibration.
kxinputdevice* NewDevice(const std::string& key, int kind, int subkind, int fixedChannels,
                         const std::string& product) {
  kxinputdevice* device = NewRecord();
  device->key = key;
  device->kind = kind;
  device->subkind = subkind;
  device->fixed_channels = fixedChannels;
  SetDefaultCalibration(device);
  device->product = product;
  device->name = product;
  kxsystem::Log("kxinput:  found %s\n", device->name.Text());
  return device;
}

kxinputdevice* FindByKey(const std::string& key) {
  for (kxinputdevice& d : Pool()) {
    if (d.key == key) return &d;
  }
  return nullptr;
}

// Names are unique among the listed records, so a chooser that looks a device
// up by name finds the one the user picked.
void NameUniquely(kxinputdevice* device, const std::string& base, const std::vector<kxinputdevice*>& taken) {
  for (int n = 1;; ++n) {
    std::string candidate = n == 1 ? base : base + " #" + std::to_string(n);
    bool used = false;
    for (kxinputdevice* other : taken) used = used || (other != device && other->name == candidate.c_str());
    if (!used) {
      device->name = candidate;
      return;
    }
  }
}

// ---- joysticks ------------------------------------------------------------------

bool JoystickSubsystem() {
  if (sdlJoystickReady) return true;
  // Joysticks are read whether or not the window has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
    kxsystem::Log("kxinput:  joystick subsystem=fail (%s)\n", SDL_GetError());
    return false;
  }
  sdlJoystickReady = true;
  return true;
}

void OpenJoystick(kxinputdevice* device) {
  if (device->joystick || device->joystick_instance < 0) return;
  int count = SDL_NumJoysticks();
  for (int i = 0; i < count && !device->joystick; ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == device->joystick_instance) device->joystick = SDL_JoystickOpen(i);
  }
  if (!device->joystick) kxsystem::Log("kxinput:  open %s=fail\n", device->name.Text());
}

void CloseJoystick(kxinputdevice* device) {
  if (device->joystick) SDL_JoystickClose(device->joystick);
  device->joystick = nullptr;
}

int JoystickAxis(int value) {
  long v = std::lround(value * static_cast<double>(kJoystickRange) / SDL_JOYSTICK_AXIS_MAX);
  if (v < -kJoystickRange) v = -kJoystickRange;
  if (v > kJoystickRange) v = kJoystickRange;
  return static_cast<int>(v);
}

void EnumerateJoysticks(std::vector<kxinputdevice*>& found) {
  if (!JoystickSubsystem()) return;
  SDL_JoystickUpdate();
  int count = SDL_NumJoysticks();
  for (int i = 0; i < count && static_cast<int>(found.size()) < kMaxJoysticks; ++i) {
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
    if (id < 0) continue;
    kxinputdevice* device = nullptr;
    for (kxinputdevice& d : Pool()) {
      if (d.kind == kxcode::kDeviceJoystick && d.joystick_instance == id) device = &d;
    }
    if (!device) {
      // A joystick plugged in again gets a new instance id; its old record
      // (same identity, not attached) takes it back with its calibration.
      char guid[64];
      SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(i), guid, sizeof guid);
      const char* name = SDL_JoystickNameForIndex(i);
      std::string key = std::string("joystick:") + guid + ":" + (name ? name : "");
      for (kxinputdevice& d : Pool()) {
        if (d.key == key && d.joystick_instance < 0 && !device) device = &d;
      }
      if (!device) {
        device = NewDevice(key, kxcode::kDeviceJoystick, 0, kJoystickChannels, name && *name ? name : "Joystick");
      }
      device->joystick_instance = id;
    }
    device->channel_count = kJoystickChannels;
    device->listed = 1;  // claimed: NewRecord must not hand it out again in this search
    found.push_back(device);
  }
}

// ---- USB devices ------------------------------------------------------------------

void EnumerateUsb(std::vector<kxinputdevice*>& found) {
  struct product {
    uint16_t id;
    int subkind;
    const char* fallback;
  };
  const product products[] = {
      {usbinterface::kCableProductIdPlaceholder, kxcode::kDeviceCable, "USB Interface"},
      {usbinterface::kPadPilotProductIdPlaceholder, kxcode::kDevicePadPilot, "PadPilot"},
  };
  usbtransport* transport = usbinterface::Transport();
  for (const product& p : products) {
    std::vector<usbdeviceinfo> infos;
    transport->Enumerate(usbinterface::kVendorIdPlaceholder, p.id, infos);
    for (const usbdeviceinfo& info : infos) {
      if (static_cast<int>(found.size()) >= kMaxUsbDevices) return;
      kxinputdevice* device = FindByKey(info.path);
      if (!device) {
        device = NewDevice(info.path, kxcode::kDeviceUsb, p.subkind,
                           p.subkind == kxcode::kDeviceCable ? 0 : kPadPilotChannels,
                           info.product.empty() ? p.fallback : info.product);
      }
      device->listed = 1;  // claimed: NewRecord must not hand it out again in this search
      found.push_back(device);
    }
  }
}

}  // namespace

kxinputdevice* FirstDevice() { return first; }

int DeviceCount() {
  int n = 0;
  for (kxinputdevice* d = first; d; d = d->next) ++n;
  return n;
}

void Neutralise(kxinputdevice* device) {
  for (int c = 0; c < kxinputdevice::kChannels; ++c) device->raw[c] = device->zero[c];
  device->channel_count = 0;
}

// ---- search ------------------------------------------------------------------------

int SearchDevices(int mode) {
  kxsystem::Log("kxinput:  searching for input devices...(%d)\n", mode);
  if (mode & kSearchEnumerate) {
    std::vector<kxinputdevice*> usb, joysticks;
    EnumerateUsb(usb);
    EnumerateJoysticks(joysticks);
    std::vector<kxinputdevice*> list = usb;
    list.insert(list.end(), joysticks.begin(), joysticks.end());

    // Devices that left the list: closed, centred, kept for the nodes that
    // may still point at them.
    for (kxinputdevice& d : Pool()) {
      bool present = false;
      for (kxinputdevice* p : list) present = present || p == &d;
      if (present || !d.listed) continue;
      usbinterface::Close(&d);
      CloseJoystick(&d);
      d.joystick_instance = -1;
      d.listed = 0;
      d.next = nullptr;
      Neutralise(&d);
    }
    std::vector<kxinputdevice*> named;
    first = nullptr;
    kxinputdevice* last = nullptr;
    for (size_t i = 0; i < list.size(); ++i) {
      kxinputdevice* d = list[i];
      d->index = static_cast<int>(i);
      d->listed = 1;
      d->next = nullptr;
      NameUniquely(d, d->product, named);
      named.push_back(d);
      if (last) last->next = d;
      else first = d;
      last = d;
      if (d->kind == kxcode::kDeviceUsb) {
        usbinterface::Open(d);
      } else if (joysticksOpen) {
        OpenJoystick(d);
      }
    }
  }
  if ((mode & kSearchRequery) && first && first->kind == kxcode::kDeviceUsb) {
    for (kxinputdevice* d = first; d; d = d->next) {
      if (d->kind != kxcode::kDeviceUsb) continue;
      if (usbinterface::IsOpen(d)) usbinterface::SendStart(d);
      else usbinterface::Open(d);
    }
  }
  return DeviceCount();
}

void OpenJoysticks() {
  joysticksOpen = true;
  for (kxinputdevice* d = first; d; d = d->next) {
    if (d->kind == kxcode::kDeviceJoystick) OpenJoystick(d);
  }
}

void CloseJoysticks() {
  joysticksOpen = false;
  for (kxinputdevice& d : Pool()) CloseJoystick(&d);
}

void Shutdown() {
  for (kxinputdevice& d : Pool()) {
    usbinterface::Close(&d);
    CloseJoystick(&d);
  }
  Pool().clear();
  first = nullptr;
  joysticksOpen = false;
  if (sdlJoystickReady) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  sdlJoystickReady = false;
}

// ---- polling, calibration capture and mapping ----------------------------------

void PollDevice(kxinputdevice* device) {
  if (!device || device->kind != kxcode::kDeviceJoystick || !device->joystick) return;
  SDL_JoystickUpdate();
  SDL_Joystick* j = device->joystick;
  if (!SDL_JoystickGetAttached(j)) {
    CloseJoystick(device);
    device->joystick_instance = -1;
    Neutralise(device);
    kxsystem::Log("kxinput:  %s lost\n", device->name.Text());
    return;
  }
  int axes = SDL_JoystickNumAxes(j), buttons = SDL_JoystickNumButtons(j);
  for (int a = 0; a < kJoystickAxes; ++a) device->raw[a] = a < axes ? JoystickAxis(SDL_JoystickGetAxis(j, a)) : 0;
  for (int b = 0; b < kJoystickButtons; ++b) {
    bool down = b < buttons && SDL_JoystickGetButton(j, b);
    device->raw[kJoystickAxes + b] = down ? kJoystickRange : -kJoystickRange;
  }
  device->channel_count = kJoystickChannels;
}

void CalibrationStart(kxinputdevice* device) {
  if (!device) return;
  PollDevice(device);
  for (int c = 0; c < kxinputdevice::kChannels; ++c) {
    device->zero[c] = device->minimum[c] = device->maximum[c] = device->raw[c];
  }
}

void CalibrationUpdate(kxinputdevice* device) {
  if (!device) return;
  PollDevice(device);
  for (int c = 0; c < kxinputdevice::kChannels; ++c) {
    if (device->raw[c] < device->minimum[c]) device->minimum[c] = device->raw[c];
    if (device->raw[c] > device->maximum[c]) device->maximum[c] = device->raw[c];
  }
}

float MapChannel(const kxinputdevice* device, int c) {
  if (!device || c < 0 || c >= kxinputdevice::kChannels) return 0.0f;
  // In doubles: raw values reach millions when usb_pulse_mul is large.
  double offset = static_cast<double>(device->raw[c]) - device->zero[c];
  double span = offset > 0 ? static_cast<double>(device->maximum[c]) - device->zero[c]
                           : static_cast<double>(device->zero[c]) - device->minimum[c];
  double v = span == 0 ? -1.0 : offset / span;
  if (device->invert[c]) v = -v;
  if (v < -1) v = -1;
  if (v > 1) v = 1;
  return static_cast<float>(v);
}

void SetDefaultCalibration(kxinputdevice* device) {
  int zero = 0, low = -kJoystickRange, high = kJoystickRange;
  if (device->kind == kxcode::kDeviceUsb && device->subkind == kxcode::kDeviceCable) {
    const usbinterface::decodersettings& s = usbinterface::settings;
    zero = kCableCentreUs * s.pulse_mul;
    low = kCableLowUs * s.pulse_mul;
    high = kCableHighUs * s.pulse_mul;
  } else if (device->kind == kxcode::kDeviceUsb) {
    const usbinterface::decodersettings& s = usbinterface::settings;
    low = s.padpilot_min;
    high = s.padpilot_max;
    zero = (low + high) / 2;
  }
  for (int c = 0; c < kxinputdevice::kChannels; ++c) {
    device->zero[c] = device->raw[c] = zero;
    device->minimum[c] = low;
    device->maximum[c] = high;
    device->invert[c] = 0;
  }
}

}  // namespace kxinput
