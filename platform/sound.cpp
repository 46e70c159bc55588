#include "platform/sound.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/codes.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/wave_file.h"

namespace directsound {

int suppress_registration = 0;

namespace {

kxsound slots[kSlotCount];
soundbackend* chosen = nullptr;
soundbackend* open = nullptr;  // the backend while a device is open
float masterVolume = 1.0f;
float listenerPosition[3] = {};

soundbackend* Backend() { return chosen ? chosen : kxsystem::OpenAlSoundBackend(); }

// A handle is usable only when it is one of our used slots.
kxsound* Valid(kxsound* sound) {
  // Compared as addresses: a foreign pointer is no element of the table.
  auto address = reinterpret_cast<uintptr_t>(sound);
  auto first = reinterpret_cast<uintptr_t>(slots);
  if (address < first || address >= first + sizeof(slots) || (address - first) % sizeof(kxsound) != 0) return nullptr;
  return sound->used ? sound : nullptr;
}

bool Finite3(const float v[3]) { return v && std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

float DistanceToListener(const float position[3]) {
  float dx = position[0] - listenerPosition[0];
  float dy = position[1] - listenerPosition[1];
  float dz = position[2] - listenerPosition[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float Clamp(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }

// Pitch for a frequency in Hz; bad values fall back to the file's rate.
float Pitch(const kxsound& s, float factor) {
  float frequency = std::isfinite(s.frequency) ? s.frequency : static_cast<float>(s.rate);
  frequency = Clamp(frequency * factor, kMinFrequency, kMaxFrequency);
  return frequency / static_cast<float>(s.rate);
}

void Start(kxsound& s, int mode, int start, int relative) {
  s.looping = mode == kxcode::kSoundLoop ? 1 : 0;
  // The mark is what ResumeAll restarts: loops only, whether started or not.
  s.playing = s.looping;
  if (!open || !s.voice || !start) return;
  open->SetPitch(s.voice, Pitch(s, 1.0f));
  open->SetGain(s.voice, VolumeToGain(s.volume));
  static const float origin[3] = {0, 0, 0};
  open->SetPosition(s.voice, relative ? origin : s.position, relative);
  open->Play(s.voice, s.looping);
}

}  // namespace

float VolumeToGain(float volume) {
  if (!std::isfinite(volume) || volume <= 0.0f) return 0.0f;
  if (volume > 1.0f) volume = 1.0f;
  // Linear in decibels from -40 dB just above 0 to 0 dB at 1.
  return std::pow(10.0f, kVolumeRangeDecibels / 20.0f * (volume - 1.0f));
}

int Start() {
  if (open) return 1;
  kxsystem::Log("directsound:  init=");
  soundbackend* backend = Backend();
  if (!backend->Open()) {
    kxsystem::Log("fail\n");
    kxsystem::Log("directsound:  no sound device\n");
    return 0;
  }
  open = backend;
  open->SetMasterGain(VolumeToGain(masterVolume));
  kxsystem::Log("ok\n");
  return 1;
}

void Release() {
  if (!open) return;
  for (kxsound& s : slots) {
    if (s.voice) open->DeleteVoice(s.voice);
    s.voice = 0;
  }
  open->Close();
  open = nullptr;
}

int HasDevice() { return open ? 1 : 0; }

kxsound* RegisterSound(const char* path) {
  if (suppress_registration || !path) return nullptr;
  kxsound* slot = nullptr;
  for (kxsound& s : slots) {
    if (!s.used) {
      slot = &s;
      break;
    }
  }
  if (!slot) {
    kxsystem::Log("directsound:  register sound %s=fail (all %d slots used)\n", path, kSlotCount);
    return nullptr;
  }
  // The result line is written whole after the reading, so the file
  // reader's own lines come before it, never inside it.
  kxwave wave;
  if (!kxsystem::LoadWave(path, wave)) {
    const std::string why = kxsystem::ReadProblemOr(path, "no wave sound of a rate and kind that can be played");
    kxsystem::Log("directsound:  register sound %s=fail (%s)\n", path, why.c_str());
    return nullptr;
  }
  *slot = kxsound();
  slot->name = path;
  slot->samples = std::move(wave.samples);
  slot->rate = wave.rate;
  slot->frequency = static_cast<float>(wave.rate);
  slot->used = 1;
  kxsystem::Log("directsound:  register sound %s=ok\n", path);
  return slot;
}

int LoadSounds() {
  if (!open) return 0;
  int ok = 1;
  for (kxsound& s : slots) {
    if (!s.used || s.voice) continue;
    s.voice = open->CreateVoice(s.samples.data(), static_cast<int>(s.samples.size()), s.rate);
    if (!s.voice) {
      kxsystem::Log("directsound:  load sound %s=fail\n", s.name.c_str());
      ok = 0;
    }
  }
  return ok;
}

void DeleteSound(kxsound* sound) {
  kxsound* s = Valid(sound);
  if (!s) return;
  kxsystem::Log("directsound:  deleting sound %s=", s->name.c_str());
  if (open && s->voice) {
    open->Stop(s->voice);
    open->DeleteVoice(s->voice);
  }
  *s = kxsound();
  kxsystem::Log("ok\n");
}

void PlaySound3D(kxsound* sound, int mode, const float position[3], const float velocity[3], int start) {
  kxsound* s = Valid(sound);
  if (!s || !s->voice) return;
  if (Finite3(position))
    for (int i = 0; i < 3; ++i) s->position[i] = position[i];
  if (Finite3(velocity))
    for (int i = 0; i < 3; ++i) s->velocity[i] = velocity[i];
  s->distance = DistanceToListener(s->position);
  s->previous_distance = s->distance;
  Start(*s, mode, start, 0);
}

void PlaySound(kxsound* sound, int mode, int start) {
  kxsound* s = Valid(sound);
  if (!s || !s->voice) return;
  Start(*s, mode, start, 1);
}

void UpdateSound(kxsound* sound, const float position[3], const float*, float dt) {
  kxsound* s = Valid(sound);
  if (!s || !Finite3(position)) return;
  float distance = DistanceToListener(position);
  // A paused frame (dt 0) or a jump would divide by nothing or reverse the
  // pitch; the factor stays within what an aircraft can produce.
  float factor = 1.0f;
  if (dt > 0.0f && std::isfinite(dt)) factor = 1.0f + (s->previous_distance - distance) / dt / kSpeedOfSound;
  factor = Clamp(factor, kMinDoppler, kMaxDoppler);
  s->previous_distance = distance;
  s->distance = distance;
  for (int i = 0; i < 3; ++i) s->position[i] = position[i];
  if (!open || !s->voice) return;
  open->SetGain(s->voice, VolumeToGain(s->volume));
  open->SetPitch(s->voice, Pitch(*s, factor));
  open->SetPosition(s->voice, s->position, 0);
}

void StopSound(kxsound* sound) {
  kxsound* s = Valid(sound);
  if (!s) return;
  s->playing = 0;
  if (open && s->voice) open->Stop(s->voice);
}

int StopAll(int mode) {
  if (!open) return 0;
  for (kxsound& s : slots) {
    if (!s.used) continue;
    if (s.voice) open->Stop(s.voice);
    if (mode == kxcode::kStopClearMark) s.playing = 0;
  }
  return 1;
}

int ResumeAll() {
  if (!open) return 0;
  for (kxsound& s : slots)
    if (s.used && s.playing && s.voice) open->Play(s.voice, s.looping);
  return 1;
}

void SetMasterVolume(float volume) {
  masterVolume = std::isfinite(volume) ? Clamp(volume, 0.0f, 1.0f) : 1.0f;
  if (open) open->SetMasterGain(VolumeToGain(masterVolume));
}

void SetListener(const float position[3], const float velocity[3], const float front[3], const float top[3]) {
  if (!Finite3(position) || !Finite3(front) || !Finite3(top)) return;
  for (int i = 0; i < 3; ++i) listenerPosition[i] = position[i];
  if (!open) return;
  /*
   * Callers pass "top" as the viewer's up negated, which suited a left-handed
   * audio API. OpenAL is right-handed, so up = -top puts a source on the
   * viewer's right into the right channel.
   */
  const float up[3] = {-top[0], -top[1], -top[2]};
  static const float still[3] = {0, 0, 0};
  open->SetListener(position, Finite3(velocity) ? velocity : still, front, up);
}

kxsound* Slot(int index) { return index >= 0 && index < kSlotCount ? &slots[index] : nullptr; }

void SetBackend(soundbackend* backend) { chosen = backend; }

void Reset() {
  Release();
  for (kxsound& s : slots) s = kxsound();
  suppress_registration = 0;
  masterVolume = 1.0f;
  for (float& v : listenerPosition) v = 0;
}

}  // namespace directsound
