#include "platform/device_mapper.h"

#include <cmath>
#include <string_view>

#include "core/arguments.h"
#include "core/reference.h"
#include "platform/log.h"

kxtype kxdevicemapper::Type{"kxdevicemapper", sizeof(kxdevicemapper), kxcreate<kxdevicemapper>};

namespace input {
kxvtail vtail[2];
kxdevicemapper* playermapper[2] = {nullptr, nullptr};
}  // namespace input

namespace {

constexpr int kSecondPlayerSlot = 2100;
constexpr int kConstNeg = 35, kConstZero = 36, kConstPos = 37;
constexpr int kTaileron1 = 38, kTaileron2 = 39, kVTail1 = 40, kVTail2 = 41;
constexpr int kElevator = 4, kRudder = 8, kAileron = 10;
constexpr float kTaileronElevator = 0.8f;
constexpr float kTaileronAileron = 0.4f;

float Clamp1(float v) {
  if (std::isnan(v)) return 0.0f;
  return v < -1.0f ? -1.0f : v > 1.0f ? 1.0f : v;
}

// Travel and expo are fractions of 0 to 1, as the editors set them; a
// file's value outside is held at the nearer end with a log line, so a
// typing slip cannot drive a servo past its end or freeze the aircraft.
class fractionref : public kxrealref {
 public:
  fractionref(float* f, const kxdevicemapper* m, const char* key, int function)
      : kxrealref(f), mapper(m), member(key), index(function) {}
  int Assign(const kxvalue& from) override {
    if (!kxrealref::Assign(from)) return 0;
    const float v = *field;
    const float held = v >= 0.0f ? (v <= 1.0f ? v : 1.0f) : 0.0f;  // NaN as 0
    if (held != v) {  // NaN too
      kxsystem::Log("kxinput:  %s: %s( %d ) = %g outside 0-1, %g taken\n", mapper->name.Text(), member, index,
                    static_cast<double>(v), static_cast<double>(held));
      *field = held;
    }
    return 1;
  }

 private:
  const kxdevicemapper* mapper;
  const char* member;  // "Dual" or "Expo"
  int index;
};

}  // namespace

kxdevicemapper::kxdevicemapper() {
  type = &Type;
  channels = kFunctions;
  for (int f = 0; f < kFunctions; ++f) {
    source[f] = kNoSource;
    Invert[f] = 0.0f;
    Dual[f] = 1.0f;
    Expo[f] = 0.0f;
  }
}

int kxdevicemapper::Assign(int function, int code) {
  if (function < 0 || function >= kFunctions) {
    kxsystem::Log("kxinput:  %s: Assign( %d, %d ) ignored, function outside 0-%d\n", name.Text(), function, code,
                  kFunctions - 1);
    return 0;
  }
  if (code < 0 || code >= kxpinboard::kSlots) {
    kxsystem::Log("kxinput:  %s: Assign( %d, %d ) ignored, source outside 0-%d\n", name.Text(), function, code,
                  kxpinboard::kSlots - 1);
    return 0;
  }
  source[function] = code;
  return 1;
}

int kxdevicemapper::SourceCode(int function) const {
  return function >= 0 && function < kFunctions ? source[function] : kNoSource;
}

void kxdevicemapper::ResetFunctions() {
  for (int f = 0; f < kConfiguredFunctions; ++f) {
    source[f] = kNoSource;
    Invert[f] = 0.0f;
    Dual[f] = 1.0f;
    Expo[f] = 0.0f;
  }
}

void kxdevicemapper::CopyFunction(int from, int to) {
  if (from < 0 || from >= kFunctions || to < 0 || to >= kFunctions) return;
  source[to] = source[from];
  Invert[to] = Invert[from];
  Dual[to] = Dual[from];
  Expo[to] = Expo[from];
}

int kxdevicemapper::Player() const { return slot == kSecondPlayerSlot ? 1 : 0; }

kxvalueptr kxdevicemapper::GetMember(const char* member, const kxargs& args) {
  std::string_view m = member;
  if (m == "Assign") {
    Assign(args.Int(0, -1), args.Int(1, -1));
    return kxvoid();
  }
  float* table = m == "Invert" ? Invert : m == "Dual" ? Dual : m == "Expo" ? Expo : nullptr;
  if (table) {
    int f = args.Index(0, kFunctions);
    if (f < 0) {
      kxsystem::Log("kxinput:  %s: %s( %d ) ignored, function outside 0-%d\n", name.Text(), member, args.Int(0, -1),
                    kFunctions - 1);
      return nullptr;
    }
    if (table == Invert) return kxvalueptr(new kxrealref(&table[f]));
    return kxvalueptr(new fractionref(&table[f], this, table == Dual ? "Dual" : "Expo", f));
  }
  int* rows = m == "EasyFunction" ? EasyFunction : m == "EasyInvert" ? EasyInvert : nullptr;
  if (rows) {
    int r = args.Index(0, kRows);
    if (r < 0) {
      kxsystem::Log("kxinput:  %s: %s( %d ) ignored, row outside 0-%d\n", name.Text(), member, args.Int(0, -1),
                    kRows - 1);
      return nullptr;
    }
    return kxvalueptr(new kxintref(&rows[r]));
  }
  if (m == "EasyDevice") return kxvalueptr(new kxintref(&EasyDevice));
  if (m == "Easy") return kxvalueptr(new kxintref(&Easy));
  if (m == "Text") return kxvalueptr(new kxstringref(&Text));
  return kxdevice::GetMember(member, args);
}

void kxdevicemapper::CopyTo(kxnode* other) {
  kxdevicemapper* m = static_cast<kxdevicemapper*>(other);
  for (int f = 0; f < kFunctions; ++f) {
    m->source[f] = source[f];
    m->Invert[f] = Invert[f];
    m->Dual[f] = Dual[f];
    m->Expo[f] = Expo[f];
  }
  for (int r = 0; r < kRows; ++r) {
    m->EasyFunction[r] = EasyFunction[r];
    m->EasyInvert[r] = EasyInvert[r];
  }
  m->EasyDevice = EasyDevice;
  m->Easy = Easy;
  m->Text = Text;
  kxdevice::CopyTo(other);
}

float kxdevicemapper::SafeValue(int function) {
  for (int f : kClosedAtRest)
    if (f == function) return -1.0f;
  return 0.0f;
}

int kxdevicemapper::ReadsMissingDevice() const {
  const kxpinboard* pinboard = As<kxpinboard>(parent);
  for (int f = 0; f < kConfiguredFunctions; ++f)
    if (source[f] != kNoSource && input::DeviceMissing(pinboard, source[f])) return 1;
  return 0;
}

/*
 * Three passes: functions fed by pinboard slots, then the constants and
 * mixes (which read outputs 4, 8 and 10 of this frame), then the functions
 * fed by those mixes. A function whose device is missing (no cable, no
 * joystick where the assignment expects one) reads its safe value: its
 * slots would read 0, which is half throttle, and the aircraft would run
 * off on its own. A function without a source reads its safe value too:
 * keeping its last value would leave a throttle open after its source
 * went, and 0 would leave a player whose configuration could not be read
 * (missing, refused, broken) at half throttle.
 */
void kxdevicemapper::Update() {
  if (!outputs) return;
  kxpinboard* pinboard = As<kxpinboard>(parent);
  const float* board = pinboard ? pinboard->slots : nullptr;
  auto shape = [this](int f, float in) {
    float s = Invert[f] != 0.0f ? -1.0f : 1.0f;
    // A radio signal lies in [-1, 1], whatever the slot held.
    float out = s * Dual[f] * ((1.0f - Expo[f]) * in + Expo[f] * in * in * in);
    return std::isfinite(out) ? Clamp1(out) : 0.0f;
  };
  auto own = [](int code) { return code >= kOwnFirst && code <= kOwnLast; };
  for (int f = 0; f < kFunctions; ++f) {
    int code = source[f];
    if (code == kNoSource) outputs[f] = SafeValue(f);
    else if (own(code)) continue;
    else if (input::DeviceMissing(pinboard, code)) outputs[f] = SafeValue(f);
    else outputs[f] = shape(f, board ? board[code] : 0.0f);
  }
  const kxvtail& v = input::vtail[Player()];
  outputs[kConstNeg] = -1.0f;
  outputs[kConstZero] = 0.0f;
  outputs[kConstPos] = 1.0f;
  outputs[kTaileron1] = Clamp1(kTaileronElevator * outputs[kElevator] + kTaileronAileron * outputs[kAileron]);
  outputs[kTaileron2] = Clamp1(kTaileronElevator * outputs[kElevator] - kTaileronAileron * outputs[kAileron]);
  outputs[kVTail1] = Clamp1(v.elevator * outputs[kElevator] - v.rudder * outputs[kRudder]);
  outputs[kVTail2] = Clamp1(v.elevator * outputs[kElevator] + v.rudder * outputs[kRudder]);
  for (int f = 0; f < kFunctions; ++f) {
    if (own(source[f])) outputs[f] = shape(f, outputs[source[f] - kOwnBase]);
  }
}
