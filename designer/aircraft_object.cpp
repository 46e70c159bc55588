#include "designer/aircraft_object.h"

#include <cstdio>

#include "sim/units.h"
#include "dynamics/instance.h"
#include "gui/text.h"
#include "sim/multilanguage.h"

namespace {

constexpr int kLabelWidth = 200, kLabelHeight = 20;  // px
constexpr int kLowerRow = 8, kUpperRow = 28;         // px, y up
constexpr int kColumn1 = 8, kColumn2 = 208, kColumn3 = 408;

kxtext* Label(kxgraphic* panel, int x, int y) {
  kxtext* label = new kxtext("", x, y, kLabelWidth, kLabelHeight);
  if (label && panel) panel->AppendChild(label);
  return label;
}

// "Word:  value unit" - two blanks after the colon; value in display units.
void Print(kxtext* label, const char* key, const char* format, float value, const kxstring& unit) {
  if (!label) return;
  char number[64];
  std::snprintf(number, sizeof number, format, static_cast<double>(value));
  label->Text.Format("%s:  %s %s", sim::Language().Text(key), number, unit.Text());
}

}  // namespace

svdesigninfopage::svdesigninfopage(kxdaircraftinstance* instance)
    : svdesignpage(pageicon::kNone, instance ? instance->MainBody : nullptr), aircraft(instance) {
  massLabel = Label(panel, kColumn1, kLowerRow);
  if (instance && (instance->TypeWord & kRotorcraftBit)) {
    rotorLabel = Label(panel, kColumn1, kUpperRow);
    return;
  }
  areaLabel = Label(panel, kColumn1, kUpperRow);
  loadingLabel = Label(panel, kColumn2, kUpperRow);
  spanLabel = Label(panel, kColumn2, kLowerRow);
  lengthLabel = Label(panel, kColumn3, kUpperRow);
}

void svdesigninfopage::Refresh() {
  if (!aircraft) return;
  const units::displayunits& u = units::Current();
  float mass = kxdaircraftinstance::TotalMass(aircraft);
  float area = kxdaircraftinstance::TotalWingArea(aircraft);
  // Without wing area the loading has no value; it reads 0 rather than inf.
  float loading = area > 0.0f ? u.wingLoading.factor * mass / area : 0.0f;
  Print(massLabel, "MassTotal", "%.2f", mass * u.mass.factor, u.mass.name);
  Print(rotorLabel, "RotorDiameter", "%.1f", kxdaircraftinstance::RotorDiameter(aircraft) * u.length.factor,
        u.length.name);
  Print(areaLabel, "AreaTotal", "%.1f", area * u.area.factor, u.area.name);
  Print(loadingLabel, "AreaLoading", "%.1f", loading, u.wingLoading.name);
  Print(spanLabel, "Wingspan", "%.1f", kxdaircraftinstance::ExtentA(aircraft) * u.length.factor, u.length.name);
  Print(lengthLabel, "Length", "%.1f", kxdaircraftinstance::ExtentB(aircraft) * u.length.factor, u.length.name);
}

namespace svdesign {

AircraftObject::AircraftObject(kxdaircraftinstance* instance)
    : svdesignobject(instance ? instance->MainBody : nullptr, instance ? instance->Name.Text() : ""),
      aircraft(instance) {
  delete pages[0];
  pages[0] = new svdesigninfopage(instance);
}

}  // namespace svdesign
