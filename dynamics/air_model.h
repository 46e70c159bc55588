// The air the aircraft fly in: a mean wind with a height profile, a gust
// field carried with the wind, thermal cells drifting with it, and the small
// ground bumps the wheels roll over. One field serves the whole session; the
// environment record holds the user's settings it is built from.
#pragma once

#include "core/vector.h"

class kxdworld;

// The session's air and ground settings (the options window binds these).
struct kxdenvironment {
  float wind_speed = 0.0f;               // m/s
  float wind_turbulence = 0.0f;          // m/s, gust amplitude
  float wind_thermic = 0.5f;             // m/s, thermal strength scale
  float wind_direction = 270.0f;         // degrees; the wind blows along (cos, sin)
  float surface_roughness = 0.5f;        // 0..1: wind profile exponent and bump height
  float transmitter_reliability = 1.0f;  // 0..1: share of frames whose channels arrive
};

struct kxdthermal {
  float x, y;       // m, centre on the ground
  float radius;     // m
  float strength;   // m/s, updraft at the centre
  float life;       // s, total
  float age;        // s
};

namespace kxdynamics {

// Sea-level air: the one density of the components' aerodynamics.
constexpr float kAirDensity = 1.225f;                 // kg/m^3
constexpr float kHalfAirDensity = 0.5f * kAirDensity;  // kg/m^3, the rho / 2 of the dynamic pressure

constexpr int kThermals = 8;
constexpr int kBumpGrid = 129;          // heights per side; the last repeats the first
constexpr float kBumpTile = 12.8f;      // m, period of the bump field
constexpr float kGustCell = 10.0f;      // m
constexpr int kGustCellsXY = 16;
constexpr int kGustCellsZ = 8;

kxdenvironment& Environment();

// Builds the thermal cells, the gust grid and the bump grid again from the
// environment (negative values count as 0).
void InitField(const kxdenvironment& environment);
// Moves gusts and thermals on by dt seconds; expired thermals respawn within
// the scenery (m, full width) below the cloud height (m).
void AdvanceField(float dt, float sceneryExtent, float cloudHeight);
kxdthermal* Thermals();

// Mean wind scale at a height above ground (m).
float WindProfile(float height);
// Air velocity (m/s, world) at a point whose ground lies at groundHeight.
kxvector4r AirVelocity(const kxvector4r& point, float groundHeight);
// Bump height (m) of the ground at (x, y); normalOffset (may be null) gets
// the bump's normal offset, -grad h, in x and y.
float SampleField(float x, float y, kxvector4r* normalOffset);

}  // namespace kxdynamics
