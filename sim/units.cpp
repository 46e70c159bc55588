#include "sim/units.h"

namespace units {

namespace {

// One row of the unit table: both columns of a quantity.
struct unitrow {
  displayunit displayunits::*entry;
  float metricFactor;
  const char* metricName;
  float imperialFactor;
  const char* imperialName;
};

constexpr unitrow kRows[] = {
    {&displayunits::length, 100.0f, "cm", 39.370079f, "in"},
    {&displayunits::mass, 1000.0f, "g", 2.2046342f, "lb"},
    {&displayunits::angle, kRadToDeg, "deg", kRadToDeg, "deg"},
    {&displayunits::power, 0.001f, "kW", 0.00134102f, "hp"},
    {&displayunits::rotationSpeed, kRadPerSecToRpm, "RPM", kRadPerSecToRpm, "RPM"},
    {&displayunits::force, 1.0f, "N", 1.0f, "N"},
    {&displayunits::area, 100.0f, "qdm", 1550.0031f, "sq in"},
    {&displayunits::wingLoading, 10.0f, "g/qdm", 3.2770756f, "oz/sq ft"},
};

displayunits Fill(bool imperial) {
  displayunits u;
  for (const unitrow& r : kRows) {
    u.*r.entry = imperial ? displayunit{r.imperialFactor, r.imperialName} : displayunit{r.metricFactor, r.metricName};
  }
  return u;
}

displayunits& Table() {
  static displayunits table = Fill(false);
  return table;
}

}  // namespace

const displayunits& Current() { return Table(); }
void SetMetric() { Table() = Fill(false); }
void SetImperial() { Table() = Fill(true); }

}  // namespace units
