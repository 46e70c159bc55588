// Sections: the field's state; setup; wind and gusts; thermals; bumps.
#include "dynamics/air_model.h"

#include <algorithm>
#include <cmath>

#include "core/maths.h"
#include "platform/random.h"

namespace {

// ---- the field's state

using kxmaths::kPi;
constexpr float kProfileHeight = 10.0f;       // m, reference height of the wind profile
constexpr float kProfileMax = 1.3f;           // cap of the profile factor
constexpr float kThermalFullHeight = 30.0f;   // m, updraft full from here up
constexpr float kThermalFadeDepth = 30.0f;    // m below the cloud height over which it fades
constexpr float kThermalSink = 0.2f;          // share of the strength sinking around a thermal
constexpr float kThermalRadiusMin = 30.0f, kThermalRadiusMax = 80.0f;  // m
constexpr float kThermalLifeMin = 120.0f, kThermalLifeMax = 300.0f;    // s
constexpr float kThermalSpread = 2000.0f;     // m, widest spawn area
constexpr float kBumpScale = 0.01f;           // m of bump per unit of (0.5 + roughness)

struct field {
  kxdenvironment env;
  float windX = 0, windY = 0;  // m/s, mean wind
  float drift = 0;             // s since setup, moves the gust grid with the wind
  float gust[kxdynamics::kGustCellsZ][kxdynamics::kGustCellsXY][kxdynamics::kGustCellsXY][3] = {};
  kxdthermal thermals[kxdynamics::kThermals] = {};
  float bump[kxdynamics::kBumpGrid][kxdynamics::kBumpGrid] = {};
  float sceneryExtent = 6000.0f, cloudHeight = 200.0f;
};

field& Field() {
  static field f;
  return f;
}

float Between(float a, float b) { return a + (b - a) * kxsystem::Random(); }

float NonNegative(float v) { return std::isfinite(v) && v > 0.0f ? v : 0.0f; }

void Spawn(kxdthermal& t, const field& f, bool anyAge) {
  float half = std::min(f.sceneryExtent, kThermalSpread) * 0.5f;
  t.x = Between(-half, half);
  t.y = Between(-half, half);
  t.radius = Between(kThermalRadiusMin, kThermalRadiusMax);
  t.strength = f.env.wind_thermic * Between(0.5f, 1.5f);
  t.life = Between(kThermalLifeMin, kThermalLifeMax);
  // At setup the cells start at any point of their lives, so they do not all
  // expire together.
  t.age = anyAge ? Between(0.0f, t.life) : 0.0f;
}

int Wrap(int i, int n) { return ((i % n) + n) % n; }

}  // namespace

namespace kxdynamics {

kxdenvironment& Environment() {
  static kxdenvironment environment;
  return environment;
}

kxdthermal* Thermals() { return Field().thermals; }

// ---- setup

void InitField(const kxdenvironment& e) {
  field& f = Field();
  f.env.wind_speed = NonNegative(e.wind_speed);
  f.env.wind_turbulence = NonNegative(e.wind_turbulence);
  f.env.wind_thermic = NonNegative(e.wind_thermic);
  f.env.wind_direction = std::isfinite(e.wind_direction) ? e.wind_direction : 0.0f;
  f.env.surface_roughness = NonNegative(e.surface_roughness);
  f.env.transmitter_reliability = std::isfinite(e.transmitter_reliability)
                                      ? std::clamp(e.transmitter_reliability, 0.0f, 1.0f) : 1.0f;
  float d = std::fmod(f.env.wind_direction, 360.0f) * kPi / 180.0f;
  f.windX = f.env.wind_speed * std::cos(d);
  f.windY = f.env.wind_speed * std::sin(d);
  f.drift = 0.0f;
  for (auto& layer : f.gust) {
    for (auto& row : layer) {
      for (auto& cell : row) {
        cell[0] = f.env.wind_turbulence * Between(-1.0f, 1.0f);
        cell[1] = f.env.wind_turbulence * Between(-1.0f, 1.0f);
        cell[2] = 0.5f * f.env.wind_turbulence * Between(-1.0f, 1.0f);
      }
    }
  }
  for (kxdthermal& t : f.thermals) Spawn(t, f, true);
  float amplitude = kBumpScale * (0.5f + f.env.surface_roughness);
  for (int j = 0; j < kBumpGrid - 1; ++j) {
    for (int i = 0; i < kBumpGrid - 1; ++i) f.bump[j][i] = amplitude * Between(-1.0f, 1.0f);
  }
  for (int k = 0; k < kBumpGrid; ++k) {
    f.bump[k][kBumpGrid - 1] = f.bump[k % (kBumpGrid - 1)][0];
    f.bump[kBumpGrid - 1][k] = f.bump[0][k % (kBumpGrid - 1)];
  }
}

void AdvanceField(float dt, float sceneryExtent, float cloudHeight) {
  field& f = Field();
  if (!std::isfinite(dt) || dt <= 0.0f) return;
  if (std::isfinite(sceneryExtent) && sceneryExtent > 0.0f) f.sceneryExtent = sceneryExtent;
  if (std::isfinite(cloudHeight) && cloudHeight > 0.0f) f.cloudHeight = cloudHeight;
  // The drift time wraps with the gust grid's period so it never loses precision.
  f.drift += dt;
  float period = kGustCell * kGustCellsXY;
  float speed = std::hypot(f.windX, f.windY);
  if (speed > 0.0f && f.drift * speed > 64.0f * period) f.drift = std::fmod(f.drift * speed, period) / speed;
  for (kxdthermal& t : f.thermals) {
    t.x += f.windX * dt;
    t.y += f.windY * dt;
    t.age += dt;
    if (t.age >= t.life) Spawn(t, f, false);
  }
}

// ---- wind and gusts

float WindProfile(float height) {
  float exponent = 0.1f + 0.2f * Field().env.surface_roughness;
  float h = std::max(height, 0.0f) / kProfileHeight;
  return std::min(std::pow(h, exponent), kProfileMax);
}

namespace {

// fmod(whole, n) of a whole number, as an int: in integers where the float
// holds one exactly (the same value, without the library call).
int WholeRemainder(float whole, int n) {
  if (std::fabs(whole) < 16777216.0f) return static_cast<int>(whole) % n;
  return static_cast<int>(std::fmod(whole, static_cast<float>(n)));
}

void Gust(const field& f, float x, float y, float z, float out[3]) {
  float gx = (x - f.windX * f.drift) / kGustCell, gy = (y - f.windY * f.drift) / kGustCell, gz = z / kGustCell;
  float fx = std::floor(gx), fy = std::floor(gy), fz = std::floor(gz);
  float tx = gx - fx, ty = gy - fy, tz = gz - fz;
  int ix = WholeRemainder(fx, kGustCellsXY);
  int iy = WholeRemainder(fy, kGustCellsXY);
  int iz = WholeRemainder(fz, kGustCellsZ);
  out[0] = out[1] = out[2] = 0.0f;
  for (int c = 0; c < 8; ++c) {
    int dx = c & 1, dy = (c >> 1) & 1, dz = (c >> 2) & 1;
    float w = (dx ? tx : 1 - tx) * (dy ? ty : 1 - ty) * (dz ? tz : 1 - tz);
    const float* g = f.gust[Wrap(iz + dz, kGustCellsZ)][Wrap(iy + dy, kGustCellsXY)][Wrap(ix + dx, kGustCellsXY)];
    for (int k = 0; k < 3; ++k) out[k] += w * g[k];
  }
}

// ---- thermals

float Updraft(const field& f, float x, float y, float height) {
  float vertical = std::clamp(height / kThermalFullHeight, 0.0f, 1.0f) *
                   std::clamp((f.cloudHeight - height) / kThermalFadeDepth, 0.0f, 1.0f);
  if (vertical <= 0.0f) return 0.0f;
  float w = 0.0f;
  for (const kxdthermal& t : f.thermals) {
    if (!(t.radius > 0.0f)) continue;
    float rho = std::hypot(x - t.x, y - t.y);
    if (rho < t.radius) {
      float s = rho / t.radius;
      w += t.strength * std::exp(-s * s);
    } else if (rho < 2.0f * t.radius) {
      w -= kThermalSink * t.strength;
    }
  }
  return vertical * w;
}

}  // namespace

kxvector4r AirVelocity(const kxvector4r& p, float groundHeight) {
  const field& f = Field();
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) || !std::isfinite(groundHeight)) {
    return {0.0f, 0.0f, 0.0f, 0.0f};
  }
  float height = p.z - groundHeight;
  float profile = WindProfile(height);
  float gust[3];
  Gust(f, p.x, p.y, std::max(height, 0.0f), gust);
  kxvector4r v = {profile * (f.windX + gust[0]), profile * (f.windY + gust[1]),
                  profile * gust[2] + Updraft(f, p.x, p.y, height), 0.0f};
  if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) v = {0.0f, 0.0f, 0.0f, 0.0f};
  return v;
}

// ---- bumps

float SampleField(float x, float y, kxvector4r* normalOffset) {
  const field& f = Field();
  constexpr float kCell = kBumpTile / (kBumpGrid - 1);
  if (!std::isfinite(x) || !std::isfinite(y)) {
    if (normalOffset) *normalOffset = {0.0f, 0.0f, 0.0f, 0.0f};
    return 0.0f;
  }
  float gx = std::fmod(x, kBumpTile), gy = std::fmod(y, kBumpTile);
  if (gx < 0.0f) gx += kBumpTile;
  if (gy < 0.0f) gy += kBumpTile;
  gx /= kCell;
  gy /= kCell;
  int i = std::min(static_cast<int>(gx), kBumpGrid - 2), j = std::min(static_cast<int>(gy), kBumpGrid - 2);
  float tx = gx - i, ty = gy - j;
  float h00 = f.bump[j][i], h10 = f.bump[j][i + 1], h01 = f.bump[j + 1][i], h11 = f.bump[j + 1][i + 1];
  float h = (1 - ty) * ((1 - tx) * h00 + tx * h10) + ty * ((1 - tx) * h01 + tx * h11);
  if (normalOffset) {
    float dhdx = ((1 - ty) * (h10 - h00) + ty * (h11 - h01)) / kCell;
    float dhdy = ((1 - tx) * (h01 - h00) + tx * (h11 - h10)) / kCell;
    *normalOffset = {-dhdx, -dhdy, 0.0f, 0.0f};
  }
  return h;
}

}  // namespace kxdynamics
