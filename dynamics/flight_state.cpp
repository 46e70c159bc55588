#include "dynamics/flight_state.h"

#include <algorithm>
#include <cmath>

#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/tow.h"
#include "dynamics/world.h"

namespace {

constexpr float kVariometerTime = 1.0f;  // s, low-pass time of the variometer
constexpr int kSmokeChannel = 28;        // function channel of the smoke switch
constexpr float kSmokeOn = 0.02f;
constexpr float kSmokeEjection = 2.0f;   // m/s, backwards along the body's X

}  // namespace

kxdflightstate::kxdflightstate() { kxmatrix::SetIdentity(&frame); }

kxdflightstate* kxdaircraftinstance::FlightStateOf(int slot) {
  static kxdflightstate states[kSlots];
  if (slot < 0 || slot >= kSlots) return nullptr;
  return &states[slot];
}

namespace kxdynamics {

void Publish(kxdaircraftinstance* instance, float dt) {
  if (!instance) return;
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(instance->slotIndex);
  s->flags = instance->TypeWord;
  kxdbody* main = instance->SimMainBody;
  if (main) {
    s->frame = main->B;
    for (int i = 0; i < 3; ++i) s->velocity[i] = (&main->D.R.x)[i];
    s->velocity[3] = 0.0f;
  }
  s->air_velocity[0] = instance->AirVelocity.x;
  s->air_velocity[1] = instance->AirVelocity.y;
  s->air_velocity[2] = instance->AirVelocity.z;
  float share = dt > 0.0f ? std::min(dt / kVariometerTime, 1.0f) : 1.0f;
  s->variometer += (s->velocity[2] - s->variometer) * share;
  if (!std::isfinite(s->variometer)) s->variometer = 0.0f;
  s->engine_rpm = instance->RPMValue;
  s->crash = instance->Crash;
  s->crash_kind = instance->SurfaceCode == kSurfaceWater ? kxdflightstate::kCrashWater : kxdflightstate::kCrashGround;
  s->ground_contact = instance->GroundContact;

  const float* channels = kxdaircraft::PlayerChannels(kxdaircraft::PinboardSlots(), instance->Player);
  s->control_value = channels ? (channels[0] + 1.0f) * 0.5f : 0.0f;

  s->exhaust_count = std::min(instance->EngineCounter, kxdflightstate::kExhausts);
  for (int i = 0; i < s->exhaust_count; ++i) {
    const kxdenginerecord& e = instance->Engines[i];
    s->exhaust[i].intensity = e.throttle;
    for (int k = 0; k < 3; ++k) {
      s->exhaust[i].position[k] = e.exhaust[k];
      s->exhaust[i].velocity[k] = s->velocity[k] + e.slipstream[k];
    }
  }

  s->smoke_amount = channels ? std::max(0.0f, channels[kSmokeChannel]) : 0.0f;
  s->smoke_flag = s->smoke_amount > kSmokeOn;
  if (main) {
    for (int k = 0; k < 3; ++k) {
      s->smoke_point[k] = (&main->B.R.x)[k];
      s->smoke_velocity[k] = -kSmokeEjection * (&main->B.X.x)[k];
    }
  }
  kxdworld* world = kxdynamics::CurrentWorld();
  s->smoke_ground = world ? world->GroundHeight({s->smoke_point[0], s->smoke_point[1], s->smoke_point[2], 1.0f}) : 0.0f;
  PublishRoots(instance);
}

void PublishRoots(kxdaircraftinstance* instance) {
  if (!instance) return;
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(instance->slotIndex);
  s->component_root = instance->Clone;
  s->graphics_root = instance->Graphics;
  s->meshes = instance->Meshes;
  s->tow_body = FirstHook(instance->Clone);
}

}  // namespace kxdynamics
