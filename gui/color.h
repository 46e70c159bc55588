// kxcolor4: the GUI's RGBA colour (four floats 0..1), its script value type
// "kxcolor4", the value that the "kxcolor4( r, g, b, a )" command returns and
// the member reference through which widgets expose their colours.
#pragma once

#include "core/value.h"

struct kxcolor4 {
  float r = 0, g = 0, b = 0, a = 0;
};

namespace kxgui {
// Fixed colours for the lines and marks that do not follow the palette.
inline constexpr kxcolor4 kWhite = {1, 1, 1, 1};
inline constexpr kxcolor4 kBlack = {0, 0, 0, 1};
}  // namespace kxgui

namespace kxcolor4type {
extern kxtype Type;  // "kxcolor4"
// Registers the value type and the "kxcolor4" command; repeated calls do nothing.
void Register();
}  // namespace kxcolor4type

class kxcolor4value : public kxvalue {
 public:
  explicit kxcolor4value(const kxcolor4& c) : value(c) {}
  kxtype* GetType() const override { return &kxcolor4type::Type; }
  void* Data() override { return &value; }
  void Print(kxout& out) const override;
  kxcolor4 value;
};

// A colour field. A colour value is copied whole, a real number sets the
// alpha alone, anything else leaves the colour as it is.
class kxcolor4ref : public kxvalue {
 public:
  explicit kxcolor4ref(kxcolor4* f) : field(f) {}
  kxtype* GetType() const override { return &kxcolor4type::Type; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  void* GetAddress() const override { return field; }
  kxcolor4* field;
};

// The colour held by a colour value or reference; false for any other value.
bool kxcolorof(const kxvalue* value, kxcolor4& out);
