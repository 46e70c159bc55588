// The operations of the part classes, gathered into their class tables in
// parts.cpp. Init links a part and claims what it needs (part_init.cpp);
// Update puts it back to rest and Compute adds its force and moment for one
// substep (the physics files of each group of classes).
#pragma once

namespace dnsmodel {

struct object;
struct dynamicsystem;

// Init (part_init.cpp)
void InitWing(object* part, dynamicsystem* model);
void InitTip(object* part, dynamicsystem* model);
void InitEngine(object* part, dynamicsystem* model);
void InitPropeller(object* part, dynamicsystem* model);
void InitFlap(object* part, dynamicsystem* model);
void InitRotor(object* part, dynamicsystem* model);
void InitBrake(object* part, dynamicsystem* model);
void InitVario(object* part, dynamicsystem* model);
void InitHarrier(object* part, dynamicsystem* model);
void InitWheel(object* part, dynamicsystem* model);

// Wing, flap and fuselage (aero_parts.cpp)
void ComputeWing(object* part, dynamicsystem* model, float dt);
void ComputeFlap(object* part, dynamicsystem* model, float dt);
void ComputeFuselage(object* part, dynamicsystem* model, float dt);

// Wheel, tip and brake (ground_parts.cpp)
void UpdateWheel(object* part, dynamicsystem* model);
void ComputeWheel(object* part, dynamicsystem* model, float dt);
void UpdateTip(object* part, dynamicsystem* model);
void ComputeTip(object* part, dynamicsystem* model, float dt);
void ComputeBrake(object* part, dynamicsystem* model, float dt);

// Engine and propeller (power_parts.cpp), rotor (rotor.cpp)
void UpdateEngine(object* part, dynamicsystem* model);
void ComputeEngine(object* part, dynamicsystem* model, float dt);
void UpdatePropeller(object* part, dynamicsystem* model);
void ComputePropeller(object* part, dynamicsystem* model, float dt);
void UpdateRotor(object* part, dynamicsystem* model);
void ComputeRotor(object* part, dynamicsystem* model, float dt);

// Gyro, vario and harrier (gyro_parts.cpp)
void UpdateGyro(object* part, dynamicsystem* model);
void ComputeGyro(object* part, dynamicsystem* model, float dt);
void UpdateNothing(object* part, dynamicsystem* model);
void ComputeVario(object* part, dynamicsystem* model, float dt);
void UpdateHarrier(object* part, dynamicsystem* model);
void ComputeHarrier(object* part, dynamicsystem* model, float dt);

}  // namespace dnsmodel
