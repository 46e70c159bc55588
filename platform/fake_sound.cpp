#include <string>

#include "platform/sound_backend.h"

int fakesoundbackend::Open() {
  calls.push_back("open");
  opened = has_device;
  return has_device;
}

void fakesoundbackend::Close() {
  calls.push_back("close");
  voices.clear();
  opened = 0;
}

int fakesoundbackend::CreateVoice(const int16_t*, int count, int rate) {
  int id = next_++;
  Voice& v = voices[id];
  v.rate = rate;
  v.count = count;
  calls.push_back("create " + std::to_string(id));
  return id;
}

void fakesoundbackend::DeleteVoice(int voice) {
  calls.push_back("delete " + std::to_string(voice));
  voices.erase(voice);
}

void fakesoundbackend::Play(int voice, int loop) {
  auto it = voices.find(voice);
  if (it == voices.end()) return;
  calls.push_back("play " + std::to_string(voice) + (loop ? " loop" : " once"));
  if (!it->second.playing) ++it->second.plays;
  it->second.playing = 1;
  it->second.loop = loop;
}

void fakesoundbackend::Stop(int voice) {
  auto it = voices.find(voice);
  if (it == voices.end()) return;
  calls.push_back("stop " + std::to_string(voice));
  it->second.playing = 0;
}

int fakesoundbackend::IsPlaying(int voice) {
  auto it = voices.find(voice);
  return it != voices.end() && it->second.playing ? 1 : 0;
}

void fakesoundbackend::SetPitch(int voice, float pitch) {
  auto it = voices.find(voice);
  if (it != voices.end()) it->second.pitch = pitch;
}

void fakesoundbackend::SetGain(int voice, float gain) {
  auto it = voices.find(voice);
  if (it != voices.end()) it->second.gain = gain;
}

void fakesoundbackend::SetPosition(int voice, const float position[3], int relative) {
  auto it = voices.find(voice);
  if (it == voices.end()) return;
  for (int i = 0; i < 3; ++i) it->second.position[i] = position[i];
  it->second.relative = relative;
}

void fakesoundbackend::SetListener(const float position[3], const float*, const float at[3], const float up[3]) {
  for (int i = 0; i < 3; ++i) {
    listener_position[i] = position[i];
    listener_at[i] = at[i];
    listener_up[i] = up[i];
  }
}

void fakesoundbackend::SetMasterGain(float gain) { master_gain = gain; }
