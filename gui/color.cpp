#include "gui/color.h"

#include <cmath>

#include "core/arguments.h"
#include "core/function.h"
#include "core/output.h"

namespace kxcolor4type {

kxtype Type("kxcolor4", sizeof(kxcolor4));

namespace {

// Channels that are not finite numbers become 0, so a script can never put a
// NaN into the palette.
float Channel(float v) { return std::isfinite(v) ? v : 0.0f; }

kxvalueptr Make(float r, float g, float b, float a) {
  return kxvalueptr(new kxcolor4value(kxcolor4{Channel(r), Channel(g), Channel(b), Channel(a)}));
}

kxvalueptr Construct(const kxargs& args) { return Make(args.Real(0), args.Real(1), args.Real(2), args.Real(3)); }

}  // namespace

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  Type.construct = Construct;
  kxtype::Register(&Type);
  kxfunction::Register("kxcolor4", Make);
}

}  // namespace kxcolor4type

namespace {

void PrintColor(kxout& out, const kxcolor4& c) {
  out.Printf("kxcolor4( %g, %g, %g, %g )", static_cast<double>(c.r), static_cast<double>(c.g),
             static_cast<double>(c.b), static_cast<double>(c.a));
}

}  // namespace

void kxcolor4value::Print(kxout& out) const { PrintColor(out, value); }
void kxcolor4ref::Print(kxout& out) const { PrintColor(out, *field); }

bool kxcolorof(const kxvalue* value, kxcolor4& out) {
  if (!value || !kxtype::IsDerivedFrom(value->GetType(), &kxcolor4type::Type)) return false;
  const void* data = const_cast<kxvalue*>(value)->Data();
  if (!data) return false;
  out = *static_cast<const kxcolor4*>(data);
  return true;
}

int kxcolor4ref::Assign(const kxvalue& from) {
  kxcolor4 c;
  if (kxcolorof(&from, c)) {
    if (!std::isfinite(c.r) || !std::isfinite(c.g) || !std::isfinite(c.b) || !std::isfinite(c.a)) return 0;
    *field = c;
    return 1;
  }
  // Only a real sets the alpha; an int or a text is no colour.
  double d;
  if (kxtype::IsDerivedFrom(from.GetType(), &kxvaluetypes::Real) && from.GetNumber(d) && std::isfinite(d)) {
    field->a = static_cast<float>(d);
    return 1;
  }
  return 0;
}
