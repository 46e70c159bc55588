// What the sound slots need of an audio device: voices made from 16-bit mono
// samples, each with pitch, gain and a 3-D position, and one listener. The
// OpenAL implementation plays them; the recording fake keeps every setting so
// the slot logic is tested without hardware.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class soundbackend {
 public:
  virtual ~soundbackend() = default;
  virtual int Open() = 0;  // 1 when a device is there
  virtual void Close() = 0;
  // A voice id > 0, or 0 when none can be made.
  virtual int CreateVoice(const int16_t* samples, int count, int rate) = 0;
  virtual void DeleteVoice(int voice) = 0;
  // Starts a stopped voice; a playing one keeps playing and takes the loop flag.
  virtual void Play(int voice, int loop) = 0;
  virtual void Stop(int voice) = 0;  // stops and rewinds
  virtual int IsPlaying(int voice) = 0;
  virtual void SetPitch(int voice, float pitch) = 0;  // playback rate / sample rate
  virtual void SetGain(int voice, float gain) = 0;    // linear amplitude
  // relative 1: position relative to the listener (non-positional sounds).
  virtual void SetPosition(int voice, const float position[3], int relative) = 0;
  virtual void SetListener(const float position[3], const float velocity[3], const float at[3],
                           const float up[3]) = 0;
  virtual void SetMasterGain(float gain) = 0;
};

namespace kxsystem {

soundbackend* OpenAlSoundBackend();

}  // namespace kxsystem

// Records every call; voices play until stopped (or Finish is called).
class fakesoundbackend : public soundbackend {
 public:
  struct Voice {
    int rate = 0;
    int count = 0;
    int playing = 0;
    int loop = 0;
    int plays = 0;  // starts from stopped
    float pitch = 1, gain = 1;
    float position[3] = {};
    int relative = 0;
  };
  int has_device = 1;
  int opened = 0;
  float master_gain = 1;
  float listener_position[3] = {}, listener_at[3] = {}, listener_up[3] = {};
  std::map<int, Voice> voices;
  std::vector<std::string> calls;

  int Open() override;
  void Close() override;
  int CreateVoice(const int16_t* samples, int count, int rate) override;
  void DeleteVoice(int voice) override;
  void Play(int voice, int loop) override;
  void Stop(int voice) override;
  int IsPlaying(int voice) override;
  void SetPitch(int voice, float pitch) override;
  void SetGain(int voice, float gain) override;
  void SetPosition(int voice, const float position[3], int relative) override;
  void SetListener(const float position[3], const float velocity[3], const float at[3], const float up[3]) override;
  void SetMasterGain(float gain) override;

 private:
  int next_ = 1;
};
