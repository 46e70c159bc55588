#include "dynamics/components/sound_binding.h"

#include <cmath>

#include "dynamics/component_sound.h"
#include "platform/sound.h"

namespace {

void* Load(const char* path) {
  kxsound* sound = directsound::RegisterSound(path);
  // A sample registered while the device is open (a clone made during the
  // simulation) needs its voice at once; LoadSounds makes only missing ones.
  if (sound && directsound::HasDevice()) directsound::LoadSounds();
  return sound;
}

void Release(void* sample) { directsound::DeleteSound(static_cast<kxsound*>(sample)); }

void Set(void* sample, float frequency, float volume) {
  kxsound* sound = static_cast<kxsound*>(sample);
  if (!sound) return;
  if (std::isfinite(frequency)) sound->frequency = frequency;
  sound->volume = std::isfinite(volume) ? (volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume)) : 0.0f;
}

}  // namespace

namespace components {

void UsePlatformSound() { kxdsound::SetBackend(Load, Release, Set); }

}  // namespace components
