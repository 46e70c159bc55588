// Component sounds: the holder of one engine, motor, rotor or turbine sample
// and the bounded queue of sound commands the frame update plays after the
// listener is placed. Components never talk to the sound device themselves:
// they queue starts, updates and stops during the visual update.
#pragma once

#include "core/string.h"

// The sound device as the holders see it: the platform's sound slots unless
// replaced (a null function is skipped).
namespace kxdsound {
using Loader = void* (*)(const char* path);    // a registered sound, null on failure
using Releaser = void (*)(void* sound);        // stops and unloads
using Setter = void (*)(void* sound, float frequency, float volume);  // Hz, 0..1
void SetBackend(Loader load, Releaser release, Setter set);
// Back to the platform's sound slots.
void UseSoundDevice();
// The "sound" setting: while 0, holders queue nothing.
void SetEnabled(int enabled);
int Enabled();
// The state the program starts in: the sound device, sounds enabled, the
// queue empty.
void Reset();
}  // namespace kxdsound

struct kxdsoundentry {
  static constexpr int kEnd = 0;
  static constexpr int kLoopStart = 40;
  static constexpr int kOnce = 41;
  static constexpr int kStop = 42;
  static constexpr int kUpdate = 43;

  int kind;
  void* sound;
  float position[3];  // m, world
  float velocity[3];  // m/s, world
};

namespace kxdsoundqueue {
constexpr int kCapacity = 256;
// Appends an entry; beyond the capacity it is dropped, with one log line
// until the queue is cleared. 1 when queued.
int Push(int kind, void* sound, const float position[4], const float velocity[4]);
// The entries, ended by one of kind 0.
const kxdsoundentry* Entries();
int Count();
// Whoever plays the queue clears it, so a paused frame never replays starts.
void Clear();
// Plays the entries on the sound device (starts, stops, updates over dt
// seconds), then clears the queue. Runs after the listener is placed.
void Run(float dt);
}  // namespace kxdsoundqueue

class kxdcomponentsound {
 public:
  kxdcomponentsound() = default;
  ~kxdcomponentsound();
  kxdcomponentsound(const kxdcomponentsound&) = delete;
  kxdcomponentsound& operator=(const kxdcomponentsound&) = delete;

  // Loads "sound/<name>.wav"; on failure the sample stays null.
  void Load();
  // Copies the sample name (the sample itself stays with its holder).
  void Assign(const kxdcomponentsound& other);
  // Stops and unloads the sample.
  void Release();
  // Frequency (Hz) and volume go to the sample; a positive volume queues a
  // start the first time and updates after it, a volume <= 0 queues a stop
  // when playing. Nothing without a sample or while sounds are disabled.
  void Update(float frequency, float volume, const float position[4], const float velocity[4]);

  void* sample = nullptr;  // null when not loaded
  kxstring name;           // a "Sound...File" key's value
  int playing = 0;
};
