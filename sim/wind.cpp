#include "sim/wind.h"

#include <cmath>

#include "core/maths.h"
#include "dynamics/air_model.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kOceanDrift = 0.001f;  // texture units per metre of wind
constexpr float kCloudDrift = 5.0f;    // cloud texture repeats per scenery extent, per metre of wind
constexpr float kBladeSpin = 30.0f;    // degrees per second per m/s of wind

// Texture offsets stay within (-1, 1); one step per frame is all the drift needs.
float Wrap(float v) {
  if (v >= 1.0f) return v - 1.0f;
  if (v <= -1.0f) return v + 1.0f;
  return v;
}

/* The blades spin about their own X axis, which points into the wind: the
   spin, then the turn about the vertical by the wind direction, then the
   move to the hub. */
void Blades(kxgeometrydynobject* o, float speed, float cd, float sd, float t) {
  o->angle += o->spin * kBladeSpin * speed * t;
  const float a = o->angle * kxmaths::kRadiansPerDegree, c = std::cos(a), s = std::sin(a);
  o->frame.X = {cd, sd, 0.0f, 0.0f};
  o->frame.Y = {-c * sd, c * cd, -s, 0.0f};
  o->frame.Z = {-s * sd, s * cd, c, 0.0f};
  o->frame.R = {o->position[0] + o->hub[0], o->position[1] + o->hub[1], o->position[2] + o->hub[2], 1.0f};
}

void Base(kxgeometrydynobject* o, float cd, float sd) {
  o->frame.X = {cd, sd, 0.0f, 0.0f};
  o->frame.Y = {-sd, cd, 0.0f, 0.0f};
  o->frame.Z = {0.0f, 0.0f, 1.0f, 0.0f};
  o->frame.R = {o->position[0], o->position[1], o->position[2], 1.0f};
}

}  // namespace

void UpdateWind(world* w) {
  if (!w) return;
  const kxdenvironment& air = kxdynamics::Environment();
  const float d = air.wind_direction * kxmaths::kRadiansPerDegree, cd = std::cos(d), sd = std::sin(d);
  const float wind[2] = {air.wind_speed * cd, air.wind_speed * sd};
  const float t = session.run.sim_time_step;
  // A scenery without a SCENERY extent moves no clouds rather than dividing by 0.
  const float k = w->scenery_size != 0 ? static_cast<float>(w->cloud_repeat) / static_cast<float>(w->scenery_size) : 0.0f;
  for (int i = 0; i < 2; ++i) {
    w->ocean_scroll[i] = Wrap(w->ocean_scroll[i] + wind[i] * kOceanDrift * t);
    w->cloud_scroll[i] = Wrap(w->cloud_scroll[i] + wind[i] * kCloudDrift * k * t);
  }
  for (kxgeometrydynobject* o = w->dynobjects; o; o = o->next) {
    if (o->kind == kDynWindBlades) Blades(o, air.wind_speed, cd, sd, t);
    else if (o->kind == kDynWindBase) Base(o, cd, sd);
  }
}

}  // namespace sim
