// The SDL_mixer implementation of musicbackend.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include "platform/log.h"
#include "platform/music.h"

namespace kxsystem {
namespace {

constexpr int kOutputRate = 44100;    // Hz
constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 2048;

class SdlMusic final : public musicbackend {
 public:
  int Open() override {
    if (open_) return 1;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MID | MIX_INIT_MOD);
    if (Mix_OpenAudio(kOutputRate, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkFrames) != 0) {
      Mix_Quit();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return 0;
    }
    open_ = 1;
    return 1;
  }

  void Close() override {
    if (!open_) return;
    Halt();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = 0;
  }

  int Play(const char* path) override {
    Halt();
    music_ = Mix_LoadMUS(path);
    if (!music_) return 0;
    if (Mix_PlayMusic(music_, 0) != 0) {
      Halt();
      return 0;
    }
    return 1;
  }

  void Halt() override {
    if (!open_) return;
    Mix_HaltMusic();
    if (music_) Mix_FreeMusic(music_);
    music_ = nullptr;
  }

  int IsPlaying() override { return open_ && Mix_PlayingMusic() ? 1 : 0; }

  void SetVolume(float volume) override {
    if (open_) Mix_VolumeMusic(static_cast<int>(volume * MIX_MAX_VOLUME + 0.5f));
  }

  void Pause() override {
    if (open_) Mix_PauseMusic();
  }

  void Resume() override {
    if (open_) Mix_ResumeMusic();
  }

 private:
  int open_ = 0;
  Mix_Music* music_ = nullptr;
};

}  // namespace

musicbackend* SdlMusicBackend() {
  static SdlMusic backend;
  return &backend;
}

}  // namespace kxsystem
