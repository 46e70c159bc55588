// Stand-in for the display units until the simulator's own (sim/) exist:
// the same names, and the designer's only way to them. Replace this file by
// the simulator's header when it lands.
//
// Stored values are SI; a field shows value x factor followed by the unit
// name. The table starts with the metric column.
#pragma once

#include "core/string.h"

namespace units {

struct displayunit {
  float factor;   // display value per SI unit
  kxstring name;  // shown after the number
};

struct displayunits {
  displayunit length;         // m
  displayunit mass;           // kg
  displayunit angle;          // rad
  displayunit power;          // W
  displayunit rotationSpeed;  // rad/s
  displayunit force;          // N
  displayunit area;           // m^2
  displayunit wingLoading;    // kg/m^2
};

// The program's one table.
const displayunits& Current();
// Overwrite all eight entries with one column.
void SetMetric();
void SetImperial();

// Shared conversion constants.
constexpr float kTwoPi = 6.2831855f;
constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.295776f;
constexpr float kRadPerSecToRpm = 9.5492964f;

}  // namespace units
