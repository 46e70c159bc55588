// The legacy runtime's part of the application's hooks: the simulator, its
// views and the aircraft selection lie below this folder and reach the
// runtime only through the hook table, which the program fills at start.
#pragma once

struct kxdflightstate;
struct kxmatrix;

namespace sim {
struct applicationhooks;
}

namespace dnsmodel {

// Fills the table's legacy entries.
void InstallHooks(sim::applicationhooks* hooks);

// Loads the model of the stem with the simulator's sound setting; kind
// receives its kind code. 1 when a model with parts is loaded; a model of
// nothing (no part and no mesh) is unloaded again and gives 0.
int LoadForSimulator(const char* stem, int* kind);

// One frame of dt seconds into the flight state: frame, crash and crash kind
// (1 water), ground contact, kind, rotation speed, velocity and control
// value, and the speed along the nose into speed.
void StepFlightState(int sound, float dt, kxdflightstate* state, float* speed);
// Places the model at the frame with the velocity (m/s, world).
void PlaceAt(const kxmatrix& frame, const float velocity[4]);
// The model's frame.
void TransformInto(kxmatrix* out);

}  // namespace dnsmodel
