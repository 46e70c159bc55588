#include "platform/device_simple.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/arguments.h"
#include "core/reference.h"
#include "platform/clock.h"
#include "platform/codes.h"

namespace {
constexpr double kClockResolution = 1e-6;  // s
}  // namespace

kxtype kxdevicemouse::Type{"kxdevicemouse", sizeof(kxdevicemouse), kxcreate<kxdevicemouse>};
kxtype kxdevicekeyboard::Type{"kxdevicekeyboard", sizeof(kxdevicekeyboard), kxcreate<kxdevicekeyboard>};
kxtype kxdevicetimer::Type{"kxdevicetimer", sizeof(kxdevicetimer), kxcreate<kxdevicetimer>};

// ---- mouse ---------------------------------------------------------------------------

kxdevicemouse::kxdevicemouse() {
  type = &Type;
  channels = kChannels;
}

kxvalueptr kxdevicemouse::GetMember(const char* member, const kxargs& args) {
  if (std::string_view(member) == "Out") return outputs ? kxvalueptr(new kxrealref(outputs)) : nullptr;
  return kxdevice::GetMember(member, args);
}

void kxdevicemouse::Sample(float fx, float fy, int buttons) {
  if (!outputs) return;
  outputs[0] = std::isfinite(fx) ? fx : 0.0f;
  outputs[1] = std::isfinite(fy) ? fy : 0.0f;
  outputs[2] = buttons & kButtonLeft ? 1.0f : 0.0f;
  outputs[3] = buttons & kButtonRight ? 1.0f : 0.0f;
  outputs[4] = buttons & kButtonMiddle ? 1.0f : 0.0f;
}

// ---- keyboard ----------------------------------------------------------------------------

kxdevicekeyboard::kxdevicekeyboard() {
  type = &Type;
  channels = kChannels;
}

void kxdevicekeyboard::KeyDown(int key, int mods) {
  ++presses;
  if (!outputs) return;
  outputs[0] = static_cast<float>(key);
  outputs[1] = static_cast<float>(mods);
  outputs[2] = static_cast<float>(presses);
}

// ---- timer ----------------------------------------------------------------------------------

kxdevicetimer::kxdevicetimer() {
  type = &Type;
  channels = kChannels;
}

kxvalueptr kxdevicetimer::GetMember(const char* member, const kxargs& args) {
  if (std::string_view(member) == "Interval") return kxvalueptr(new kxrealref(&Interval));
  return kxdevice::GetMember(member, args);
}

void kxdevicetimer::CopyTo(kxnode* other) {
  static_cast<kxdevicetimer*>(other)->Interval = Interval;
  kxdevice::CopyTo(other);
}

void kxdevicetimer::Update() {
  uint32_t now = kxsystem::GetTime();
  // Unsigned difference: right across the timer's wrap after 71.6 minutes.
  double dt = started_ ? static_cast<uint32_t>(now - last_) * 1e-6 : 0.0;
  started_ = true;
  last_ = now;
  elapsed_ += dt;
  sinceEvent_ += dt;
  if (outputs) {
    outputs[0] = static_cast<float>(elapsed_);
    outputs[1] = static_cast<float>(dt);
  }
  // The interval is a float; the clock counts whole microseconds.
  double interval = std::isfinite(Interval) && Interval > 0.0f ? Interval : 0.0;
  if (sinceEvent_ + kClockResolution < interval) return;
  // One event per update at most; a long frame does not post a burst.
  sinceEvent_ = sinceEvent_ - interval >= interval ? 0.0 : std::max(0.0, sinceEvent_ - interval);
  input::Dispatch(kxcode::kTimerEvent, 0, 0);
}
