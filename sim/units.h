// The display units: one program-wide table, metric or imperial by the
// `units` setting, from which every value the designer shows takes its
// factor and unit name. Stored values are always SI; a field shows
// value x factor followed by the name and stores what is typed / factor.
// The table starts metric; only SetMetric and SetImperial change it.
#pragma once

#include "core/maths.h"
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
// Overwrite all eight entries with one column; neither reads the setting.
void SetMetric();
void SetImperial();

// Conversions that pages with a fixed unit use instead of the table; the
// values are the program's shared ones.
constexpr float kTwoPi = kxmaths::kTwoPi;
constexpr float kDegToRad = kxmaths::kRadiansPerDegree;
constexpr float kRadToDeg = kxmaths::kDegreesPerRadian;
constexpr float kRadPerSecToRpm = kxmaths::kRpmPerRadianPerSecond;

}  // namespace units
