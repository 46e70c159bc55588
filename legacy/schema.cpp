// The member table. Offsets and widths come from the structs themselves, so
// the table cannot drift from the layout; the index order is the memory
// order everywhere but in harrier, whose ForceMax (index 1) lies after its
// sound fields.
#include "legacy/schema.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "legacy/parts.h"
#include "legacy/prototypes.h"
#include "legacy/records.h"

namespace dnsmodel {
namespace {

constexpr const char* kInt = "int";
constexpr const char* kFloat = "float";
constexpr const char* kChar = "char";
constexpr const char* kVector = "vector";
constexpr int kMaxIndexDigits = 3;

#define DNS_M(T, field, text) \
  memberinfo { #field, text, static_cast<int32_t>(offsetof(T, field)), static_cast<int32_t>(sizeof(T::field)) }
// The members of the sound record embedded in a part as soundRecord.
#define DNS_SOUND_OF(T, field, text)                                                   \
  memberinfo {                                                                         \
    #field, text, static_cast<int32_t>(offsetof(T, soundRecord) + offsetof(sound, field)), \
        static_cast<int32_t>(sizeof(sound::field))                                     \
  }
#define DNS_SOUND_MEMBERS(T)                                                             \
  DNS_SOUND_OF(T, SoundFile, kChar), DNS_SOUND_OF(T, SoundFrequencyBase, kInt),          \
      DNS_SOUND_OF(T, SoundFrequencyShift, kInt)

const memberinfo kObjectMembers[] = {
    DNS_M(object, Name, kChar), DNS_M(object, X, kVector), DNS_M(object, xw, kFloat),
    DNS_M(object, Y, kVector),  DNS_M(object, yw, kFloat), DNS_M(object, Z, kVector),
    DNS_M(object, zw, kFloat),  DNS_M(object, R, kVector), DNS_M(object, ww, kFloat),
    DNS_M(object, M, kFloat),   DNS_M(object, Type, kInt),
};
static_assert(std::size(kObjectMembers) == kObjectMemberCount);

const memberinfo kWingMembers[] = {
    DNS_M(wing, X0, kVector),     DNS_M(wing, Y0, kVector),     DNS_M(wing, Z0, kVector),
    DNS_M(wing, Ca0, kFloat),     DNS_M(wing, Ca1, kFloat),     DNS_M(wing, Ca2, kFloat),
    DNS_M(wing, Ca3, kFloat),     DNS_M(wing, Ca4, kFloat),     DNS_M(wing, Ca5, kFloat),
    DNS_M(wing, Ca6, kFloat),     DNS_M(wing, Cw0, kFloat),     DNS_M(wing, Cw1, kFloat),
    DNS_M(wing, Cw2, kFloat),     DNS_M(wing, Cw3, kFloat),     DNS_M(wing, Cw4, kFloat),
    DNS_M(wing, Cw5, kFloat),     DNS_M(wing, C0, kFloat),      DNS_M(wing, C1, kFloat),
    DNS_M(wing, C2, kFloat),      DNS_M(wing, C3, kFloat),      DNS_M(wing, Cw00, kFloat),
    DNS_M(wing, Ca00, kFloat),    DNS_M(wing, Ccr, kFloat),     DNS_M(wing, Ccw, kFloat),
    DNS_M(wing, Cca, kFloat),     DNS_M(wing, V, kVector),      DNS_M(wing, Vn, kVector),
    DNS_M(wing, Density, kFloat), DNS_M(wing, Area, kFloat),    DNS_M(wing, Rl, kVector),
    DNS_M(wing, L, kVector),      DNS_M(wing, D, kVector),      DNS_M(wing, Channel, kInt),
    DNS_M(wing, ChannelB, kInt),  DNS_M(wing, Bl, kFloat),      DNS_M(wing, Bd, kFloat),
    DNS_M(wing, Brake, kChar),    DNS_M(wing, Flap, kChar),     DNS_M(wing, Edge, kFloat),
    DNS_M(wing, Slope, kFloat),   DNS_M(wing, Loss, kFloat),    DNS_M(wing, Factor, kFloat),
};

const memberinfo kWheelMembers[] = {
    DNS_M(wheel, S, kVector),       DNS_M(wheel, Radius, kFloat), DNS_M(wheel, Maximum, kFloat),
    DNS_M(wheel, Distance, kFloat), DNS_M(wheel, Kz, kFloat),     DNS_M(wheel, KRoll, kFloat),
    DNS_M(wheel, KSRoll, kFloat),   DNS_M(wheel, KSlip, kFloat),  DNS_M(wheel, KSSlip, kFloat),
    DNS_M(wheel, Dz, kFloat),       DNS_M(wheel, C0, kFloat),     DNS_M(wheel, Retract, kFloat),
};

const memberinfo kTipMembers[] = {
    DNS_M(tip, Max, kFloat), DNS_M(tip, Kc, kFloat), DNS_M(tip, Kd, kFloat),
    DNS_M(tip, Kz, kFloat),  DNS_M(tip, Dz, kFloat),
};

const memberinfo kEngineMembers[] = {
    DNS_SOUND_MEMBERS(engine),
    DNS_M(engine, RPM, kFloat),     DNS_M(engine, Min, kFloat),     DNS_M(engine, Max, kFloat),
    DNS_M(engine, Mass, kFloat),    DNS_M(engine, Constant, kFloat), DNS_M(engine, Channel, kInt),
    DNS_M(engine, C0, kFloat),      DNS_M(engine, C1, kFloat),      DNS_M(engine, C2, kFloat),
    DNS_M(engine, C3, kFloat),      DNS_M(engine, Inertia, kFloat), DNS_M(engine, Cm0, kFloat),
    DNS_M(engine, Cm1, kFloat),     DNS_M(engine, Cm2, kFloat),     DNS_M(engine, Cm3, kFloat),
    DNS_M(engine, Const, kInt),
};

const memberinfo kPropellerMembers[] = {
    DNS_SOUND_MEMBERS(propeller),
    DNS_M(propeller, Engine, kChar),   DNS_M(propeller, Channel, kInt),  DNS_M(propeller, C0, kFloat),
    DNS_M(propeller, C1, kFloat),      DNS_M(propeller, C2, kFloat),     DNS_M(propeller, C3, kFloat),
    DNS_M(propeller, Radius, kFloat),  DNS_M(propeller, Angle, kFloat),  DNS_M(propeller, Chord, kFloat),
    DNS_M(propeller, Blades, kFloat),  DNS_M(propeller, Pitch, kFloat),  DNS_M(propeller, Inertia, kFloat),
    DNS_M(propeller, Trans, kFloat),   DNS_M(propeller, Max, kFloat),    DNS_M(propeller, Cp0, kFloat),
    DNS_M(propeller, Cp1, kFloat),     DNS_M(propeller, Ct0, kFloat),    DNS_M(propeller, Ct1, kFloat),
    DNS_M(propeller, Area, kFloat),    DNS_M(propeller, Sigma, kFloat),  DNS_M(propeller, Theta, kFloat),
};

const memberinfo kDummyMembers[] = {
    DNS_M(dummy, XT, kVector), DNS_M(dummy, YT, kVector), DNS_M(dummy, ZT, kVector), DNS_M(dummy, Expo, kFloat),
};

const memberinfo kFuselageMembers[] = {
    DNS_M(fuselage, Cw, kFloat),  DNS_M(fuselage, Cw0, kFloat), DNS_M(fuselage, Cw1, kFloat),
    DNS_M(fuselage, Cw2, kFloat), DNS_M(fuselage, Ca, kFloat),  DNS_M(fuselage, Ca0, kFloat),
    DNS_M(fuselage, Ca1, kFloat), DNS_M(fuselage, Area, kFloat),
};

const memberinfo kRotorMembers[] = {
    DNS_SOUND_MEMBERS(rotor),
    DNS_M(rotor, Kx, kFloat),        DNS_M(rotor, Ky, kFloat),        DNS_M(rotor, Dx, kFloat),
    DNS_M(rotor, Dy, kFloat),        DNS_M(rotor, Engine, kChar),     DNS_M(rotor, Flap, kChar),
    DNS_M(rotor, ChannelR, kInt),    DNS_M(rotor, ChannelN, kInt),    DNS_M(rotor, ChannelP, kInt),
    DNS_M(rotor, Radius, kFloat),    DNS_M(rotor, Angle, kFloat),     DNS_M(rotor, Chord, kFloat),
    DNS_M(rotor, Blades, kFloat),    DNS_M(rotor, Sigma, kFloat),     DNS_M(rotor, Area, kFloat),
    DNS_M(rotor, Trans, kFloat),     DNS_M(rotor, Inertia, kFloat),   DNS_M(rotor, Vv, kFloat),
    DNS_M(rotor, Thrust, kFloat),    DNS_M(rotor, Cp0, kFloat),       DNS_M(rotor, Cp1, kFloat),
    DNS_M(rotor, Cp2, kFloat),       DNS_M(rotor, Cp3, kFloat),       DNS_M(rotor, Cr0, kFloat),
    DNS_M(rotor, Cr1, kFloat),       DNS_M(rotor, Cr2, kFloat),       DNS_M(rotor, Cr3, kFloat),
    DNS_M(rotor, Cn0, kFloat),       DNS_M(rotor, Cn1, kFloat),       DNS_M(rotor, Cn2, kFloat),
    DNS_M(rotor, Cn3, kFloat),       DNS_M(rotor, Ct0, kFloat),       DNS_M(rotor, Ct1, kFloat),
    DNS_M(rotor, Cq0, kFloat),       DNS_M(rotor, Cq2, kFloat),       DNS_M(rotor, Forward01, kFloat),
    DNS_M(rotor, Forward02, kFloat), DNS_M(rotor, Ground01, kFloat),  DNS_M(rotor, Ground02, kFloat),
    DNS_M(rotor, LossR, kFloat),     DNS_M(rotor, LossN, kFloat),     DNS_M(rotor, DampingX, kFloat),
    DNS_M(rotor, DampingY, kFloat),  DNS_M(rotor, Direction, kFloat),
};

const memberinfo kGyroMembers[] = {
    DNS_M(gyro, Fade, kFloat),  DNS_M(gyro, Angle, kFloat), DNS_M(gyro, Gain, kFloat),
    DNS_M(gyro, Channel, kInt), DNS_M(gyro, Reverse, kInt), DNS_M(gyro, Lock, kInt),
};

const memberinfo kBrakeMembers[] = {DNS_M(brake, Shift, kFloat)};

const memberinfo kVarioMembers[] = {DNS_SOUND_MEMBERS(vario)};

// A harrier lists only Name of the object members: its frame, M and Type
// cannot be assigned from a file.
const memberinfo kHarrierMembers[] = {
    memberinfo{"Name", kChar, static_cast<int32_t>(offsetof(object, Name)), kNameBytes},
    DNS_M(harrier, ForceMax, kFloat),
    DNS_SOUND_MEMBERS(harrier),
    DNS_M(harrier, R0, kVector),        DNS_M(harrier, R1, kVector),       DNS_M(harrier, R2, kVector),
    DNS_M(harrier, R3, kVector),        DNS_M(harrier, DiffPitch, kFloat), DNS_M(harrier, DiffRoll, kFloat),
    DNS_M(harrier, DiffYaw, kFloat),    DNS_M(harrier, DampPitch, kFloat), DNS_M(harrier, DampRoll, kFloat),
    DNS_M(harrier, DampYaw, kFloat),
};

const memberinfo kSimulationMembers[] = {DNS_M(simulation, Dummy, kInt)};

const memberinfo kSoundMembers[] = {
    DNS_M(sound, SoundFile, kChar), DNS_M(sound, SoundFrequencyBase, kInt), DNS_M(sound, SoundFrequencyShift, kInt),
};

#undef DNS_SOUND_MEMBERS
#undef DNS_SOUND_OF
#undef DNS_M

template <class T>
constexpr const partclass* ClassOf() {
  if constexpr (std::is_same_v<T, object>) return &object::kClass;
  else if constexpr (requires { T::kClass; }) return &T::kClass;
  else return nullptr;
}

template <class T, size_t N>
constexpr typeinfo Entry(const char* name, bool listsObject, const memberinfo (&members)[N]) {
  return {name, static_cast<int32_t>(sizeof(T)), ClassOf<T>(), listsObject, members, static_cast<int32_t>(N),
          CopyPrototype<T>};
}

template <class T>
constexpr typeinfo Entry(const char* name, bool listsObject) {
  return {name, static_cast<int32_t>(sizeof(T)), ClassOf<T>(), listsObject, nullptr, 0, CopyPrototype<T>};
}

// In the order the names are searched.
const typeinfo kTypes[] = {
    Entry<simulation>("simulation", false, kSimulationMembers),
    Entry<object>("object", true),
    Entry<sound>("sound", false, kSoundMembers),
    Entry<wind>("wind", false),
    Entry<interaction>("interaction", false),
    Entry<dynamicsystem>("dynamicsystem", false),
    Entry<wing>("wing", true, kWingMembers),
    Entry<wheel>("wheel", true, kWheelMembers),
    Entry<graphic>("graphic", true),
    Entry<tip>("tip", true, kTipMembers),
    Entry<engine>("engine", true, kEngineMembers),
    Entry<propeller>("propeller", true, kPropellerMembers),
    Entry<dummy>("dummy", true, kDummyMembers),
    Entry<flap>("flap", true),
    Entry<puregraphic>("puregraphic", true),
    Entry<fuselage>("fuselage", true, kFuselageMembers),
    Entry<rotor>("rotor", true, kRotorMembers),
    Entry<gyro>("gyro", true, kGyroMembers),
    Entry<brake>("brake", true, kBrakeMembers),
    Entry<vario>("vario", true, kVarioMembers),
    Entry<harrier>("harrier", false, kHarrierMembers),
};

// The index written in text, or -1 unless it is plain decimal numerals
// without a sign, blanks or leading zeros.
int ParseIndex(const char* text) {
  size_t length = std::strlen(text);
  if (length == 0 || length > kMaxIndexDigits || (length > 1 && text[0] == '0')) return -1;
  int value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

const memberinfo* typeinfo::At(int index) const {
  if (index < 0) return nullptr;
  if (listsObjectMembers) {
    if (index < kObjectMemberCount) return &kObjectMembers[index];
    index -= kObjectMemberCount;
  }
  return index < memberCount ? &members[index] : nullptr;
}

const memberinfo* typeinfo::Find(const char* member) const {
  int index = ParseIndex(member);
  if (index >= 0) return At(index);
  for (int i = 0; i < Count(); ++i) {
    const memberinfo* m = At(i);
    if (std::strcmp(m->name, member) == 0) return m;
  }
  return nullptr;
}

const typeinfo* FindType(const char* name) {
  if (!name) return nullptr;
  for (const typeinfo& t : kTypes) {
    if (std::strcmp(t.name, name) == 0) return &t;
  }
  return nullptr;
}

int GetMemberInfo(const char* className, char* member, char* typeText) {
  const typeinfo* type = FindType(className);
  if (!type || !member) return 0;
  if (std::strcmp(member, className) == 0) {
    member[0] = 0;
    return type->size;
  }
  const memberinfo* m = type->Find(member);
  if (!m) return 0;
  std::memcpy(member, m->name, std::strlen(m->name) + 1);
  if (typeText) std::memcpy(typeText, m->typeText, std::strlen(m->typeText) + 1);
  return m->offset;
}

}  // namespace dnsmodel
