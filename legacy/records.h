// The plain records of a legacy model: the sound record that sounding parts
// embed, the wind, the contact table, and the model's root with the state
// of its one rigid body. They have no class table: the factory makes them
// zeroed by name, and model files reach none of their fields but the sound
// record's.
//
// Every record is standard-layout and trivially copyable: the member table
// addresses fields by offsetof, and the pool holds them as plain bytes.
#pragma once

#include <cstdint>

struct kxsound;

namespace dnsmodel {

struct object;
struct dnsstate;
struct dynamicsystem;
struct v3;

constexpr int kSoundFileBytes = 64;
constexpr int kContactPoints = 64;
constexpr int kContactsPerPoint = 2;
constexpr int kBumpGridSide = 11;

struct sound {
  kxsound* handle;                   // registered slot; null when none is loaded
  char SoundFile[kSoundFileBytes];   // wave file name, without folder and extension
  int32_t SoundFrequencyBase;        // Hz
  int32_t SoundFrequencyShift;       // Hz

  // Registers SoundFile (when it is not empty) through a registration
  // command; handle is null when the file cannot be registered.
  static void Init(sound* s);
  // Volume (0..1) and frequency base + shift * factor (factor 0..1) into the
  // slot, and an update command queued for the frame's sound pass.
  static void Set(sound* s, float factor, float volume);
  // Silent at the base frequency, and started looping at once.
  static void Reset(sound* s);
};

struct simulation {
  int32_t unnamed;   // no member names it; it keeps Dummy off offset 0
  int32_t Dummy;
};

struct wind {
  float direction;      // rad; 0 blows from +y toward -y
  float speed;          // m/s
  float windVector[3];  // speed * (sin direction, cos direction, 0): the negative of the air's motion
  float slopeWind[3];   // working value of the last evaluation
  float windTerm[3];    // last result of the evaluation: added to the velocity over ground

  static void Set(wind* w, float direction, float speed);
  // The term added to the model's velocity over ground to give its velocity
  // relative to the air: the steady wind scaled with height and bent along
  // the ground near it, and the lift of three fixed thermal columns.
  static v3 Evaluate(wind* w, const dynamicsystem* model);
};

// One segment of the contact table and what the last query found along it.
struct contactpoint {
  int32_t contactCount;                      // 0 .. kContactsPerPoint
  float pointA[3];                           // m, world
  float pointB[3];                           // m, world
  float normalOffset[3];                     // bump slope added to the contact normal
  float normal[kContactsPerPoint][3];        // face normal turned toward pointA
  float depth[kContactsPerPoint];            // m, distance of pointA from the face plane
  int32_t surface[kContactsPerPoint];        // surface code of the face
  contactpoint* nextContact;                 // next claimed point; null ends the list
};

struct interaction {
  contactpoint contacts[kContactPoints];
  int32_t inUse[kContactPoints];             // 1 when claimed
  contactpoint* usedContacts;                // newest claim first; point 0 (the body) last
  float bumpGrid[kBumpGridSide][kBumpGridSide];  // cm, corners of 0.1 m cells repeating every metre

  // Frees every point; the points' data stay.
  static void Clear(interaction* table);
  // Claims the lowest free point for the segment a-b and puts it first in
  // usedContacts; its index, or -1 (after a log line) when all are claimed.
  static int AddSegment(interaction* table, float ax, float ay, float az, float bx, float by, float bz);
  // The bump pattern: one bump of 1 cm at the corners (4..5, 4..5).
  static void Reset(interaction* table);
};

// The root of a loaded model. Matrices are 16 floats in column-major order;
// vectors are x, y, z. World axes have z up.
struct dynamicsystem {
  float position[3];              // m, world, of the reference point
  float lastPosition[3];          // m, position at the start of the previous substep
  float toBody[16];               // rotation world -> body
  float toWorld[16];              // rotation body -> world (transpose of toBody)
  float velocity[3];              // m/s over ground, world
  float bodyVelocity[3];          // m/s over ground, body
  float worldOmega[3];            // rad/s, world
  float omega[3];                 // rad/s, body
  float acceleration[3];          // m/s^2, world, of the last substep
  float worldForce[3];            // N, world
  float worldTorque[3];           // N m, world
  float torque[3];                // N m, body, about the reference point
  float inertia[16];              // kg m^2, body
  float inverseInertia[16];
  float force[3];                 // N, body
  float angularAcceleration[3];   // rad/s^2, body
  float mass;                     // kg
  float density;                  // kg/m^3
  float axisX[3];                 // body axes in world coordinates
  float axisY[3];
  float axisZ[3];
  float worldAirVelocity[3];      // m/s relative to the air, world
  float airVelocity[3];           // m/s relative to the air, body
  float controlExpo;              // shape of the control curve of channels 1 to 3
  float groundNormal[3];          // filtered ground normal below the model
  float groundHeight;             // m of the reference point above the ground
  float slipstream[3];            // m/s, body, written by the propeller
  int32_t status;                 // 2 nothing happened; bit 0 crashed; 4 on a wheel; 9 in water
  dnsmodel::interaction interaction;
  float spinSpeed;                // rad/s during the step, rpm after it (0 for a step without substeps)
  dnsstate* stateRecord;          // the model record this root belongs to
  object* objects;                // head of the part list; null for an empty model
};

}  // namespace dnsmodel
