// The legacy runtime's one loaded model: the model record that the entry
// points, the loader, the dynamics, the sounds and the drawing share, and
// the few values the runtime keeps beside it. Only one legacy model is
// loaded at a time, so there is exactly one of each.
#pragma once

#include <cstdint>

#include "legacy/parts.h"
#include "legacy/records.h"

struct kxgeometry;
struct kxsound;
struct kxtexture;

namespace dnsmodel {

constexpr int kControlCount = 32;
constexpr int kModelSounds = 32;
constexpr int kModelNameBytes = 64;
constexpr int kPendingSoundCommands = 67;
constexpr int32_t kSoundListEnd = 110;   // the code that ends a sound command list

struct dnsstate {
  kxtexture* blurTexture;          // "PropBlurr"
  float pose[16];                  // transpose of transform: row i holds the i-th components
  float transform[16];             // column-major frame; position in elements 12 to 14
  float velocity[3];               // m/s over ground, world
  int32_t soundCount;
  kxsound* sounds[kModelSounds];   // registered for the model, in order; released by Unload
  object* parts;                   // head of the draw list; null before the first load
  dynamicsystem* model;            // the root; null before the first load
  kxgeometry* geometry;            // the mesh; null when none is loaded
  int32_t status;                  // bit 0 crashed, bit 3 in water, 4 a wheel on the ground
  float controls[kControlCount];   // -1..1 per channel
  float dt;                        // s, frame time of the current step
  float groundLevel;               // m, world height of the ground below the model
  float terrainNormal[3];
  char name[kModelNameBytes];
  int32_t hasType10;
  int32_t noType2or5;
  int32_t soundOn;                 // the start flag of every 3-D play
};

// A sound command: code 100 .. 104, or kSoundListEnd; the operands are a
// sound handle, or for a registration the file name and the handle's address.
struct soundcommand {
  int32_t code;
  void* first;
  void* second;
};

// The runtime's values beside the model record. They carry over from frame
// to frame; every placing of a model starts them afresh (dynamics.h), so
// none carries from one flight, or one model, into the next.
struct dnsruntime {
  dnsstate state;
  dynamicsystem* root;             // the loaded model's root
  dnsmodel::wind wind;
  int32_t piccoloModel;            // 1 while the model named "piccolo" (any case) is loaded
  soundcommand soundCommands[kPendingSoundCommands];
  int32_t soundQueue;              // index where the next pending command goes
  float channels[kControlCount];   // what the parts read; a gyro writes 9, 11 and 12
  float slewChannel4;              // rate-limited flap channel
  float slewChannel5;              // rate-limited gear channel
  int32_t heliMode;                // set by a heading-lock gyro until the next placing
  float levelRate;                 // 1/s, how fast a rotor disc returns to level
  float lastEngineSpeed;           // rad/s of the engine computed last
  float gustTimer2, gustTimer3;    // s, the small helicopter's gust clocks
  float gust2, gust3;              // its gusts, held between the clocks' restarts
};

dnsruntime& Runtime();
// Forgets everything, as at program start (tests).
void ResetRuntime();

// The control value of a channel; 0 for an index outside the table, since
// model files may name any channel.
inline float ReadChannel(int32_t index) {
  return index >= 0 && index < kControlCount ? Runtime().channels[index] : 0.0f;
}

// c0 + c1 x + c2 x^2 + c3 x^3: the control and coefficient curves.
inline float Cubic(float c0, float c1, float c2, float c3, float x) { return c0 + x * (c1 + x * (c2 + x * c3)); }

}  // namespace dnsmodel
