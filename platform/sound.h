// Sound effects: 128 slots, each a wave file with its own frequency, volume
// and 3-D position, heard by one listener. A handle is a slot pointer. On a
// machine without a sound device every call does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound_backend.h"

struct kxsound {
  std::string name;              // the path it was registered with
  std::vector<int16_t> samples;  // 16-bit mono
  int rate = 0;                  // Hz of the samples
  float frequency = 0;           // Hz to play at; callers write it (the file's rate at registration)
  float volume = 1;              // 0..1; callers write it
  float distance = 0;            // m from the listener, at the last play or update
  int playing = 0;               // mark: a looping sound that ResumeAll restarts
  int looping = 0;
  float position[3] = {};        // m
  float velocity[3] = {};        // m/s
  float previous_distance = 0;   // m, for the Doppler factor
  int used = 0;
  int voice = 0;                 // backend voice, 0 until LoadSounds
};

namespace directsound {

constexpr int kSlotCount = 128;
constexpr float kSpeedOfSound = 331.0f;  // m/s, as the Doppler factor uses it
constexpr float kMinFrequency = 100.0f;  // Hz
constexpr float kMaxFrequency = 200000.0f;
constexpr float kMinDoppler = 0.5f;
constexpr float kMaxDoppler = 2.0f;
constexpr float kVolumeRangeDecibels = 40.0f;  // volume 0+ is this far below full

// While set, RegisterSound returns null (a playback copy registers no sounds).
extern int suppress_registration;

// Opens the device once; 1 when there is one. "directsound:  init=".
int Start();
// Closes the device; registrations, marks, volumes and frequencies stay.
void Release();
// 1 while a device is open.
int HasDevice();

kxsound* RegisterSound(const char* path);
// Makes the voice of every registered slot that has none; 0 without device.
int LoadSounds();
void DeleteSound(kxsound* sound);

// mode 40 loops, any other plays once; plays only when start is non-zero.
void PlaySound3D(kxsound* sound, int mode, const float position[3], const float velocity[3], int start);
void PlaySound(kxsound* sound, int mode, int start);
// Volume, frequency with the Doppler factor, and position; velocity unread.
void UpdateSound(kxsound* sound, const float position[3], const float velocity[3], float dt);
void StopSound(kxsound* sound);
// 44 keeps the marks, 45 clears them; 0 without device, else 1.
int StopAll(int mode);
// Restarts every marked sound; 0 without device, else 1.
int ResumeAll();
void SetMasterVolume(float volume);
// top is the caller's "top" vector, which points down (see sound.cpp).
void SetListener(const float position[3], const float velocity[3], const float front[3], const float top[3]);

// Amplitude for a volume in [0, 1].
float VolumeToGain(float volume);
// The slot with this index (0..127), for tests and listings.
kxsound* Slot(int index);

// The backend Start opens; null selects OpenAL.
void SetBackend(soundbackend* backend);
// Releases and forgets every slot (tests).
void Reset();

}  // namespace directsound
