#include "dynamics/component_sound.h"

#include <cmath>
#include <string>

#include "core/hooks.h"
#include "platform/files.h"
#include "platform/sound.h"

namespace {

void* RegisterSample(const char* path) { return directsound::RegisterSound(path); }
void ReleaseSample(void* sound) {
  directsound::StopSound(static_cast<kxsound*>(sound));
  directsound::DeleteSound(static_cast<kxsound*>(sound));
}
void SetSample(void* sound, float frequency, float volume) {
  auto* s = static_cast<kxsound*>(sound);
  s->frequency = frequency;
  s->volume = volume;
}

kxdsound::Loader loader = RegisterSample;
kxdsound::Releaser releaser = ReleaseSample;
kxdsound::Setter setter = SetSample;
int enabled = 1;

kxdsoundentry entries[kxdsoundqueue::kCapacity + 1] = {};
int count = 0;
bool overflowLogged = false;

float Finite(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

namespace kxdsound {
void SetBackend(Loader load, Releaser release, Setter set) {
  loader = load;
  releaser = release;
  setter = set;
}
void UseSoundDevice() { SetBackend(RegisterSample, ReleaseSample, SetSample); }
void SetEnabled(int on) { enabled = on ? 1 : 0; }
int Enabled() { return enabled; }
void Reset() {
  UseSoundDevice();
  SetEnabled(1);
  kxdsoundqueue::Clear();
}
}  // namespace kxdsound

namespace kxdsoundqueue {

int Push(int kind, void* sound, const float position[4], const float velocity[4]) {
  if (count >= kCapacity) {
    if (!overflowLogged) kxcore::Log("kxdynamics:  sound queue full; commands dropped\n");
    overflowLogged = true;
    return 0;
  }
  kxdsoundentry& e = entries[count++];
  e.kind = kind;
  e.sound = sound;
  for (int k = 0; k < 3; ++k) {
    e.position[k] = position ? Finite(position[k]) : 0.0f;
    e.velocity[k] = velocity ? Finite(velocity[k]) : 0.0f;
  }
  entries[count] = kxdsoundentry{};
  return 1;
}

const kxdsoundentry* Entries() { return entries; }
int Count() { return count; }

void Run(float dt) {
  for (int i = 0; i < count; ++i) {
    kxdsoundentry& e = entries[i];
    auto* sound = static_cast<kxsound*>(e.sound);
    switch (e.kind) {
      case kxdsoundentry::kLoopStart:
      case kxdsoundentry::kOnce: directsound::PlaySound3D(sound, e.kind, e.position, e.velocity, 1); break;
      case kxdsoundentry::kStop: directsound::StopSound(sound); break;
      case kxdsoundentry::kUpdate: directsound::UpdateSound(sound, e.position, e.velocity, dt); break;
      default: break;
    }
  }
  Clear();
}

void Clear() {
  count = 0;
  overflowLogged = false;
  entries[0] = kxdsoundentry{};
}

}  // namespace kxdsoundqueue

kxdcomponentsound::~kxdcomponentsound() { Release(); }

void kxdcomponentsound::Load() {
  Release();
  if (name.Empty() || !loader || !kxsystem::NameStaysInside(name.Text(), "kxdynamics:  sound ")) return;
  std::string path = "sound/" + name.Str() + ".wav";
  sample = loader(path.c_str());
}

void kxdcomponentsound::Assign(const kxdcomponentsound& other) {
  if (&other != this) name = other.name;
}

void kxdcomponentsound::Release() {
  if (sample && releaser) releaser(sample);
  sample = nullptr;
  playing = 0;
}

void kxdcomponentsound::Update(float frequency, float volume, const float position[4], const float velocity[4]) {
  if (!sample || !kxdsound::Enabled()) return;
  if (volume > 0.0f) {
    if (setter) setter(sample, Finite(frequency), Finite(volume));
    // A start lost to a full queue is tried again next frame.
    if (kxdsoundqueue::Push(playing ? kxdsoundentry::kUpdate : kxdsoundentry::kLoopStart, sample, position, velocity)) {
      playing = 1;
    }
  } else if (playing) {
    if (kxdsoundqueue::Push(kxdsoundentry::kStop, sample, position, velocity)) playing = 0;
  }
}
