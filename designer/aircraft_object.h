// The whole aircraft as a design object: current after every entry and
// whenever a pick hits no component. It has no page buttons; its one page,
// the info page, lists the aircraft's key figures in the display units -
// gross weight, wing area, area loading, span and length of an airplane,
// gross weight and rotor diameter of a rotorcraft.
#pragma once

#include "designer/design_object.h"
#include "designer/page.h"

class kxdaircraftinstance;
class kxtext;

class svdesigninfopage : public svdesignpage {
 public:
  // The type-word bit of a rotorcraft.
  static constexpr int kRotorcraftBit = 2;

  // The labels of the aircraft's kind; those of the other kind stay null.
  explicit svdesigninfopage(kxdaircraftinstance* instance);

  // Rewrites every label from the aircraft and the display units now.
  void Refresh() override;

  kxdaircraftinstance* aircraft = nullptr;
  kxtext* massLabel = nullptr;
  kxtext* areaLabel = nullptr;
  kxtext* loadingLabel = nullptr;
  kxtext* rotorLabel = nullptr;
  kxtext* spanLabel = nullptr;
  kxtext* lengthLabel = nullptr;
};

namespace svdesign {

class AircraftObject : public svdesignobject {
 public:
  // The main body as component; named after the aircraft; page 0 is the
  // info page, with no button.
  explicit AircraftObject(kxdaircraftinstance* instance);

  kxdaircraftinstance* aircraft = nullptr;
};

}  // namespace svdesign
