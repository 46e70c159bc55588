// The class tables of the part classes and the base behaviours.
#include "legacy/parts.h"

#include <cstddef>

namespace dnsmodel {
namespace {

// What the member table, the factory and As<T> rely on, for every class.
template <class... T>
constexpr bool PlainParts() {
  return ((std::is_standard_layout_v<T> && std::is_trivially_copyable_v<T> && offsetof(T, base) == 0 &&
           alignof(T) <= 8) && ...);
}
static_assert(PlainParts<wing, wheel, graphic, tip, engine, propeller, dummy, flap, puregraphic, fuselage, rotor, gyro,
                         brake, vario, harrier>());
static_assert(std::is_standard_layout_v<object> && std::is_trivially_copyable_v<object>);
// The frame is one block of 16 floats that drawing hands to OpenGL.
static_assert(offsetof(object, ww) - offsetof(object, X) == 15 * sizeof(float));

}  // namespace

void object::InitFrame(object* part, dynamicsystem*) {
  part->xw = 0.0f;
  part->yw = 0.0f;
  part->zw = 0.0f;
  part->ww = 1.0f;
}

void object::ComputeNothing(object*, dynamicsystem*, float) {}

// Until a class gets its own physics, it behaves as the base class does.
#define DNS_BASE_CLASS(type) \
  const partclass type::kClass = {#type, object::InitFrame, object::InitFrame, object::ComputeNothing};

DNS_BASE_CLASS(object)
DNS_BASE_CLASS(wing)
DNS_BASE_CLASS(wheel)
DNS_BASE_CLASS(graphic)
DNS_BASE_CLASS(tip)
DNS_BASE_CLASS(engine)
DNS_BASE_CLASS(propeller)
DNS_BASE_CLASS(dummy)
DNS_BASE_CLASS(flap)
DNS_BASE_CLASS(puregraphic)
DNS_BASE_CLASS(fuselage)
DNS_BASE_CLASS(rotor)
DNS_BASE_CLASS(gyro)
DNS_BASE_CLASS(brake)
DNS_BASE_CLASS(vario)
DNS_BASE_CLASS(harrier)

#undef DNS_BASE_CLASS

}  // namespace dnsmodel
