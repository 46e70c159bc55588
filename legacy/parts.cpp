// The class tables of the part classes and the base behaviours.
#include "legacy/parts.h"

#include <cstddef>

#include "legacy/part_operations.h"

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

// The class table: which class provides which operation. A class without
// its own Init or Update takes the base one; Compute of the drawn-only
// classes does nothing.
using init_fn = void (*)(object*, dynamicsystem*);
constexpr init_fn kBase = object::InitFrame;
constexpr auto kNothing = object::ComputeNothing;

const partclass object::kClass = {"object", kBase, kBase, kNothing};
const partclass wing::kClass = {"wing", InitWing, kBase, ComputeWing};
const partclass graphic::kClass = {"graphic", kBase, kBase, kNothing};
const partclass tip::kClass = {"tip", InitTip, UpdateTip, ComputeTip};
const partclass engine::kClass = {"engine", InitEngine, UpdateEngine, ComputeEngine};
const partclass propeller::kClass = {"propeller", InitPropeller, UpdatePropeller, ComputePropeller};
const partclass dummy::kClass = {"dummy", kBase, kBase, kNothing};
const partclass flap::kClass = {"flap", InitFlap, kBase, ComputeFlap};
const partclass puregraphic::kClass = {"puregraphic", kBase, kBase, kNothing};
const partclass fuselage::kClass = {"fuselage", kBase, kBase, ComputeFuselage};
const partclass rotor::kClass = {"rotor", InitRotor, UpdateRotor, ComputeRotor};
const partclass gyro::kClass = {"gyro", kBase, UpdateGyro, ComputeGyro};
const partclass brake::kClass = {"brake", InitBrake, kBase, ComputeBrake};
const partclass vario::kClass = {"vario", InitVario, UpdateNothing, ComputeVario};
const partclass harrier::kClass = {"harrier", InitHarrier, UpdateHarrier, ComputeHarrier};
const partclass wheel::kClass = {"wheel", InitWheel, UpdateWheel, ComputeWheel};

}  // namespace dnsmodel
