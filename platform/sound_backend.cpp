// The OpenAL Soft implementation of soundbackend.
#include "platform/sound_backend.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

namespace kxsystem {
namespace {

// The defaults of the 3-D sound model: inverse distance, clamped, from 1 m.
constexpr float kReferenceDistance = 1.0f;  // m
constexpr float kRolloff = 1.0f;
constexpr float kMinimumPitch = 1e-3f;  // OpenAL refuses 0

class OpenAlBackend final : public soundbackend {
 public:
  int Open() override {
    if (context_) return 1;
    device_ = alcOpenDevice(nullptr);
    if (!device_) return 0;
    context_ = alcCreateContext(device_, nullptr);
    if (!context_ || !alcMakeContextCurrent(context_)) {
      if (context_) alcDestroyContext(context_);
      alcCloseDevice(device_);
      context_ = nullptr;
      device_ = nullptr;
      return 0;
    }
    // Doppler is applied to the pitch by the sound slots themselves.
    alDopplerFactor(0.0f);
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    return 1;
  }

  void Close() override {
    for (size_t i = 0; i < voices_.size(); ++i)
      if (voices_[i].source) DeleteVoice(static_cast<int>(i + 1));
    voices_.clear();
    if (context_) {
      alcMakeContextCurrent(nullptr);
      alcDestroyContext(context_);
    }
    if (device_) alcCloseDevice(device_);
    context_ = nullptr;
    device_ = nullptr;
  }

  int CreateVoice(const int16_t* samples, int count, int rate) override {
    if (!context_ || !samples || count <= 0 || rate <= 0) return 0;
    alGetError();
    ALuint buffer = 0, source = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return 0;
    alBufferData(buffer, AL_FORMAT_MONO16, samples, count * static_cast<ALsizei>(sizeof(int16_t)), rate);
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
      if (source) alDeleteSources(1, &source);
      alDeleteBuffers(1, &buffer);
      return 0;
    }
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(source, AL_REFERENCE_DISTANCE, kReferenceDistance);
    alSourcef(source, AL_ROLLOFF_FACTOR, kRolloff);
    for (size_t i = 0; i < voices_.size(); ++i) {
      if (!voices_[i].source) {
        voices_[i] = {source, buffer};
        return static_cast<int>(i + 1);
      }
    }
    voices_.push_back({source, buffer});
    return static_cast<int>(voices_.size());
  }

  void DeleteVoice(int voice) override {
    Entry* e = Find(voice);
    if (!e) return;
    alSourceStop(e->source);
    alSourcei(e->source, AL_BUFFER, 0);
    alDeleteSources(1, &e->source);
    alDeleteBuffers(1, &e->buffer);
    *e = Entry{};
  }

  void Play(int voice, int loop) override {
    Entry* e = Find(voice);
    if (!e) return;
    alSourcei(e->source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    if (!IsPlaying(voice)) alSourcePlay(e->source);
  }

  void Stop(int voice) override {
    Entry* e = Find(voice);
    if (!e) return;
    alSourceStop(e->source);
    alSourceRewind(e->source);
  }

  int IsPlaying(int voice) override {
    Entry* e = Find(voice);
    if (!e) return 0;
    ALint state = 0;
    alGetSourcei(e->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING ? 1 : 0;
  }

  void SetPitch(int voice, float pitch) override {
    Entry* e = Find(voice);
    if (e) alSourcef(e->source, AL_PITCH, pitch > kMinimumPitch ? pitch : kMinimumPitch);
  }

  void SetGain(int voice, float gain) override {
    Entry* e = Find(voice);
    if (e) alSourcef(e->source, AL_GAIN, gain);
  }

  void SetPosition(int voice, const float position[3], int relative) override {
    Entry* e = Find(voice);
    if (!e) return;
    alSourcei(e->source, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
    alSourcefv(e->source, AL_POSITION, position);
  }

  void SetListener(const float position[3], const float velocity[3], const float at[3], const float up[3]) override {
    if (!context_) return;
    const float orientation[6] = {at[0], at[1], at[2], up[0], up[1], up[2]};
    alListenerfv(AL_POSITION, position);
    alListenerfv(AL_VELOCITY, velocity);
    alListenerfv(AL_ORIENTATION, orientation);
  }

  void SetMasterGain(float gain) override {
    if (context_) alListenerf(AL_GAIN, gain);
  }

 private:
  struct Entry {
    ALuint source = 0;
    ALuint buffer = 0;
  };
  Entry* Find(int voice) {
    if (!context_ || voice < 1 || voice > static_cast<int>(voices_.size())) return nullptr;
    Entry* e = &voices_[static_cast<size_t>(voice - 1)];
    return e->source ? e : nullptr;
  }

  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  std::vector<Entry> voices_;
};

}  // namespace

soundbackend* OpenAlSoundBackend() {
  static OpenAlBackend backend;
  return &backend;
}

}  // namespace kxsystem
