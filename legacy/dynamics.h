// A loaded legacy model flies as one rigid body. Once per frame the step
// prepares the control channels and the wind, cuts the frame into substeps
// of 1 to 2 ms and in each lets every part add its force and moment, then
// integrates the body with explicit Euler steps and re-orthonormalises its
// axes. Two resets place the model: the full one takes a pose and velocity
// as they are, the partial one levels the model and lowers it onto the
// ground. SI units; world z up; matrices column-major.
#pragma once

#include "legacy/model_state.h"
#include "legacy/records.h"
#include "legacy/vec3.h"

namespace dnsmodel {

constexpr float kGravity = 9.81f;            // m/s^2
constexpr float kAirDensity = 1.22f;         // kg/m^3, set at load and by both resets
constexpr float kMaxFrameTime = 0.05f;       // s; longer frames run slower than real time
constexpr float kSubstepsPerSecond = 1000.0f;
constexpr float kCrashSpinRate = 20.0f;      // rad/s of the body; faster is a crash
constexpr float kCeiling = 460.0f;           // m; a reset never starts higher
constexpr int32_t kStatusCalm = 2;           // nothing happened this frame
constexpr int32_t kStatusCrashed = 1;        // bit 0
constexpr int32_t kStatusOnWheels = 4;
constexpr int32_t kStatusInWater = 9;        // crashed plus bit 3

// One frame with the record's controls, frame time and ground. holder
// receives the record's model; without one only the pending sound list is
// ended. A model without mass stays where it is.
void StepDynamics(dynamicsystem** holder, dnsstate* record);
// One integration substep of h seconds. false when it would have left a
// motion that is not finite: the motion before it is kept and the model
// counts as crashed.
bool Substep(dynamicsystem* model, float h);
// The full reset: pose (z at most kCeiling) and velocity as the record
// holds them, no rotation, every part at rest. Both resets start the
// runtime's channels, gyro and engine values, gusts and the filtered ground
// normal afresh, as a fresh load's placing has them.
void ResetDynamics(dynamicsystem** holder, dnsstate* record);
// The partial reset: the record's position and heading, levelled and set
// down on the ground, at rest; the gear and flap slew from down and
// neutral, and the helicopter mode waits for the gyro.
void PlaceOnGround(dynamicsystem** holder, dnsstate* record);
// Levels the model about its heading and lowers it in 1 cm steps until a
// segment meets the ground (at most 2.2 m), then raises it 2 cm.
void SettleOnGround(dynamicsystem* model);
// The body's pose, velocity and status into the record.
void WriteBackState(dynamicsystem* model, dnsstate* record);

// ---- what the parts use of the body

// Body axes to world axes and back (rotations only).
inline v3 ToWorld(const dynamicsystem* ds, v3 v) { return Rotate(ds->toWorld, v); }
inline v3 ToBody(const dynamicsystem* ds, v3 v) { return Rotate(ds->toBody, v); }
// The world position of a body point.
inline v3 WorldPoint(const dynamicsystem* ds, v3 p) { return ToWorld(ds, p) + Load(ds->position); }
// The velocity over ground of a body point, body axes.
inline v3 PointVelocity(const dynamicsystem* ds, v3 p) { return Load(ds->bodyVelocity) + Cross(Load(ds->omega), p); }
// The airflow at a body point: the model's velocity relative to the air
// plus its rotation.
inline v3 PointAirflow(const dynamicsystem* ds, v3 p) { return Load(ds->airVelocity) + Cross(Load(ds->omega), p); }
// A body-axis force acting at the body point p, to the substep's sums.
inline void AddForce(dynamicsystem* ds, v3 f, v3 p) {
  AddTo(ds->force, f);
  AddTo(ds->torque, Cross(p, f));
}

// Every part's Update, in list order: the parts back at rest.
void UpdateParts(dynamicsystem* model);

}  // namespace dnsmodel
