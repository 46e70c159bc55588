// How the simulator flies a loaded legacy model: it places it, steps it once
// per frame from the first player's transmitter channels, and reads back its
// frame, its state and the box its shadow is drawn from. Every operation
// does nothing while no model is loaded.
#pragma once

#include <optional>

struct shadowquad;

namespace dnsmodel {

// The first player's function channels the model reads: throttle,
// aileron, elevator, rudder, flap and gear (elevator and gear change sign).
constexpr int kChannelThrottle = 0;
constexpr int kChannelAileron = 10;
constexpr int kChannelElevator = 4;
constexpr int kChannelRudder = 8;
constexpr int kChannelFlap = 12;
constexpr int kChannelGear = 24;
constexpr float kFullResetSpeed = 1.0f;   // m/s; a slower placing sets the model down on the ground

// What one frame leaves behind: the model's frame (column-major), whether
// it crashed (1 after a crash), ended in water or rests on a wheel, its kind
// code, the spin of its propeller or rotor (rpm), its velocity (m/s, world;
// the fourth value 0), its speed along its nose (m/s) and the throttle as
// the engine sound reads it (1 - (channel + 1) / 2).
struct dnsstep {
  float transform[16] = {};
  int crashed = 0;
  int inWater = 0;
  int onGround = 0;
  int kind = 0;
  float spin = 0.0f;                  // rpm
  float velocity[4] = {};             // m/s, world
  float forwardSpeed = 0.0f;          // m/s
  float throttle = 0.0f;              // 0..1
};

// One frame of dt seconds: the scenery and the ground around the model, the
// transmitter's channels, the dynamics, then the frame's sounds (started
// only while soundOn is set). Nothing while no model is loaded.
std::optional<dnsstep> Step(int soundOn, float dt);

// Places the model at the frame (column-major, position in elements 12 to
// 14) with the velocity (m/s, world, four values): from kFullResetSpeed on
// (or a velocity that is not a number) it starts there as given; slower, it
// keeps its place and heading and is set down level on the ground.
void SetPose(const float pose[16], const float velocity[4]);

// The model's frame (column-major).
void GetTransform(float out[16]);

// The box of the model's meshes in its own axes, widened by 2.5 % of each
// bound, as a flat quad under it with its size (the larger horizontal
// extent) and bounds; the quad's texture is left alone. A model without
// meshes gives a zero box.
void GetBounds(shadowquad* out);

// 1 while the loaded model is the piccolo, which the simulator's hint about
// legacy models does not concern.
int IsPiccolo();

}  // namespace dnsmodel
