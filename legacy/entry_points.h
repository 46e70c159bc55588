// How the simulator flies a loaded legacy model: it places it, steps it once
// per frame from the first player's transmitter channels, and reads back its
// frame, its state and the box its shadow is drawn from. Every operation
// does nothing while no model is loaded.
#pragma once

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

// One frame of dt seconds: the scenery and the ground around the model, the
// transmitter's channels, the dynamics, then the frame's sounds (started
// only while soundOn is set). Writes the model's frame (column-major),
// crashed (1 after a crash), inWater (1 when it ended in water), onGround
// (1 while a wheel carries it), its kind code, the spin of its propeller
// or rotor (rpm), its velocity (m/s, world; the fourth value 0), its speed
// along its nose (m/s) and the throttle as the engine sound reads it
// (1 - (channel + 1) / 2).
void Step(int soundOn, float transform[16], float dt, int* crashed, int* inWater, int* onGround, int* kind,
          float* spin, float velocity[4], float* forwardSpeed, float* throttle);

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
