// kxdflightstate: the published state of one aircraft, written once per frame
// after the substeps. The views, the head-up display, sounds, recordings and
// contests read it; the frame update adds bounds, shadow and part tables.
#pragma once

#include "core/matrix.h"
#include "core/string.h"

class kxnode;
class kxdaircraftinstance;
class kxdbody;
struct kxcpair;

// The shadow quad a view draws below an aircraft.
struct shadowquad {
  void* texture = nullptr;     // the shadow texture's table entry
  float corners[4][5] = {};    // u, v, x, y, z
  float size = 0.0f;           // m
  float min[3] = {};
  float max[3] = {};
};

struct kxdexhaustpoint {
  float intensity = 0.0f;      // 0..1, the engine's throttle
  float velocity[3] = {};      // m/s, world
  float position[3] = {};      // m, world
};

struct kxdflightstate {
  static constexpr int kExhausts = 4;
  static constexpr int kRotatingParts = 32;
  // Flag bits: the aircraft file's type word.
  static constexpr int kRotorcraft = 2;
  static constexpr int kTowed = 4;
  static constexpr int kIndoor = 0x20;
  // crash_kind: how the last crash ended.
  static constexpr int kCrashGround = 0;
  static constexpr int kCrashWater = 1;

  kxdflightstate();

  int flags = 0;
  kxmatrix frame;                  // rows X, Y, Z, position (z the altitude)
  // The four rows of frame, computed so that the record holds no pointer
  // into itself and can be copied whole.
  float* row_x() { return &frame.X.x; }
  float* row_y() { return &frame.Y.x; }
  float* row_z() { return &frame.Z.x; }
  float* position() { return &frame.R.x; }
  const float* row_x() const { return &frame.X.x; }
  const float* row_y() const { return &frame.Y.x; }
  const float* row_z() const { return &frame.Z.x; }
  const float* position() const { return &frame.R.x; }
  float velocity[4] = {};          // m/s, world
  float air_velocity[3] = {};      // m/s, world, at the aircraft
  float variometer = 0.0f;         // m/s, vertical speed low-passed over 1 s
  float engine_rpm = 0.0f;
  int crash = 0;                   // non-zero after a crash (or a legacy model's stop)
  int crash_kind = kCrashGround;   // kCrash...
  int ground_contact = 0;
  float control_value = 0.0f;      // 0..1, from the player's function channel 0
  float radius = 1.0f;             // m
  float bounds_min[3] = {};        // m, world
  float bounds_max[3] = {};
  shadowquad shadow;
  kxstring shadow_texture_name;
  int exhaust_count = 0;           // 0..kExhausts
  kxdexhaustpoint exhaust[kExhausts];
  float smoke_amount = 0.0f;       // 0: none
  int smoke_flag = 0;
  float smoke_velocity[3] = {};    // m/s, ejection velocity
  float smoke_point[3] = {};       // m, world
  float smoke_ground = 0.0f;       // m, ground height below the smoke point
  int collision_body_count = 0;
  void* collision_bodies = nullptr;
  kxcpair* balloon_pairs = nullptr;
  int rotating_count = 0;
  void* rotating_meshes[kRotatingParts] = {};
  float* rotating_frames[kRotatingParts] = {};
  void* rotating_bodies[kRotatingParts] = {};
  kxcpair* rotating_pairs = nullptr;   // 1024 records owned by the frame update
  float stop_values[2] = {};       // an old-format model's two stop values
  kxnode* component_root = nullptr;
  kxnode* graphics_root = nullptr;
  void* meshes = nullptr;
  kxdbody* tow_body = nullptr;     // the clone's first tow hook, null when none
  int below_terrain = 0;
};

namespace kxdynamics {

// Writes the instance's state into its slot's flight state; dt (s) drives
// the variometer's low-pass (0: the value jumps to the present one).
void Publish(kxdaircraftinstance* instance, float dt);
// Writes only the roots the views and the menu draw from (component and
// drawn trees, mesh list, tow hook). Every rebuild or unload of an
// instance's clones calls it, so the flight state never names a freed tree.
void PublishRoots(kxdaircraftinstance* instance);

}  // namespace kxdynamics
