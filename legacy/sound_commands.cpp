// Sections: running lists; the pending list; the sound record.
#include "legacy/sound_commands.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/hooks.h"
#include "legacy/model_names.h"
#include "platform/files.h"
#include "platform/sound.h"

namespace dnsmodel {
namespace {

constexpr int kModeLooping = 40;
constexpr int kModeOnce = 41;
constexpr const char* kSoundFolder = "airlark/sound/";
constexpr const char* kPiccoloSoundFolder = "sound/";

const float kNowhere[3] = {0.0f, 0.0f, 0.0f};

const float* RootPosition() { return Runtime().root ? Runtime().root->position : kNowhere; }

void Register(const char* file, kxsound** handle) {
  dnsstate& state = Runtime().state;
  if (state.soundCount >= kModelSounds) {
    kxcore::Log("dnsmodel:  a model registers at most %d sounds; %s is left silent\n", kModelSounds, file);
    *handle = nullptr;
    return;
  }
  if (!kxsystem::NameStaysInside(file, "dnsmodel:  sound ")) {
    *handle = nullptr;
    return;
  }
  bool piccolo = IsPiccoloModel(state.name);
  std::string path = std::string(piccolo ? kPiccoloSoundFolder : kSoundFolder) + file + ".wav";
  *handle = directsound::RegisterSound(path.c_str());
  state.sounds[state.soundCount++] = *handle;
}

}  // namespace

// ---- running lists -----------------------------------------------------------

void RunSoundCommands(const soundcommand* list) {
  const dnsstate& state = Runtime().state;
  const float* velocity = Runtime().root ? Runtime().root->velocity : kNowhere;
  for (const soundcommand* c = list; c->code != kSoundListEnd; ++c) {
    auto* handle = static_cast<kxsound*>(c->first);
    switch (c->code) {
      case kSoundStop: directsound::StopSound(handle); break;
      case kSoundPlayOnce:
      case kSoundPlayLooping:
        directsound::PlaySound3D(handle, c->code == kSoundPlayLooping ? kModeLooping : kModeOnce, RootPosition(),
                                 velocity, state.soundOn);
        break;
      case kSoundRegister: Register(static_cast<const char*>(c->first), static_cast<kxsound**>(c->second)); break;
      default: break;
    }
  }
}

void RunPendingSoundCommands(float dt) {
  dnsruntime& rt = Runtime();
  for (const soundcommand* c = rt.soundCommands; c->code != kSoundListEnd; ++c) {
    auto* handle = static_cast<kxsound*>(c->first);
    if (!handle || c->code == kSoundRegister) continue;
    switch (c->code) {
      case kSoundStop: directsound::StopSound(handle); break;
      case kSoundPlayOnce:
      case kSoundPlayLooping:
        directsound::PlaySound3D(handle, c->code == kSoundPlayLooping ? kModeLooping : kModeOnce, RootPosition(),
                                 rt.state.velocity, rt.state.soundOn);
        break;
      case kSoundUpdate: directsound::UpdateSound(handle, RootPosition(), rt.state.velocity, dt); break;
      default: break;
    }
  }
}

// ---- the pending list --------------------------------------------------------

void QueueSoundCommand(int32_t code, void* handle) {
  dnsruntime& rt = Runtime();
  // The last entry is kept for the end code.
  if (rt.soundQueue < 0 || rt.soundQueue >= kPendingSoundCommands - 1) {
    kxcore::Log("dnsmodel:  the pending sound list is full; command %d dropped\n", code);
    return;
  }
  rt.soundCommands[rt.soundQueue++] = {code, handle, nullptr};
}

void RestartPendingSounds() { Runtime().soundQueue = 0; }

void EndPendingSounds() {
  dnsruntime& rt = Runtime();
  rt.soundQueue = std::clamp(rt.soundQueue, 0, kPendingSoundCommands - 1);
  rt.soundCommands[rt.soundQueue] = {kSoundListEnd, nullptr, nullptr};
}

// ---- the sound record --------------------------------------------------------

void sound::Init(sound* s) {
  if (!s->SoundFile[0]) return;
  s->handle = nullptr;
  const soundcommand list[] = {{kSoundRegister, s->SoundFile, &s->handle}, {kSoundListEnd, nullptr, nullptr}};
  RunSoundCommands(list);
}

void sound::Set(sound* s, float factor, float volume) {
  if (!s->handle) return;
  s->handle->volume = std::clamp(volume, 0.0f, 1.0f);
  s->handle->frequency = static_cast<float>(s->SoundFrequencyBase) +
                         static_cast<float>(s->SoundFrequencyShift) * std::clamp(factor, 0.0f, 1.0f);
  QueueSoundCommand(kSoundUpdate, s->handle);
}

void HoldSound(sound* s, float volume, float frequency) {
  if (!s->handle) return;
  s->handle->volume = volume;
  s->handle->frequency = frequency;
  QueueSoundCommand(kSoundUpdate, s->handle);
}

void sound::Reset(sound* s) {
  if (!s->handle) return;
  s->handle->volume = 0.0f;
  s->handle->frequency = static_cast<float>(s->SoundFrequencyBase);
  const soundcommand list[] = {
      {kSoundPlayLooping, s->handle, nullptr}, {kSoundUpdate, s->handle, nullptr}, {kSoundListEnd, nullptr, nullptr}};
  RunSoundCommands(list);
}

}  // namespace dnsmodel
