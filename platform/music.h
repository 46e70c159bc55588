// The background music player: the songs of "music/" played one after the
// other, the same one again, or at random, with volume, stop, pause and
// resume. Its one object belongs to the simulator; ScanSongs is its
// per-frame service.
#pragma once

#include <string>
#include <vector>

// What the player needs of a music decoder and output.
class musicbackend {
 public:
  virtual ~musicbackend() = default;
  virtual int Open() = 0;  // 1 when music can be played
  virtual void Close() = 0;
  // Loads and starts the file once; 0 when it cannot be played.
  virtual int Play(const char* path) = 0;
  virtual void Halt() = 0;
  virtual int IsPlaying() = 0;  // also while paused
  virtual void SetVolume(float volume) = 0;  // 0..1
  virtual void Pause() = 0;
  virtual void Resume() = 0;
};

namespace kxsystem {

musicbackend* SdlMusicBackend();
extern const char kMusicDirectory[];  // "music/"
constexpr int kSongNameChars = 255;   // longer names are cut

}  // namespace kxsystem

class kxmusic {
 public:
  // Null uses SDL_mixer; nothing is opened until music is first wanted.
  // The output stays open for the run; SDL_Quit closes it at exit.
  explicit kxmusic(musicbackend* backend = nullptr);

  int count = 0;                   // songs found
  int current = -1;                // song playing or last played; -1 none
  std::vector<std::string> names;  // file names in "music/", ascending byte order
  int mode = 0;                    // 0 off, 11 single, 12 random, 13 loop
  float volume = 1.0f;             // 0..1
  int* title = nullptr;            // the caller's chosen song, written back

  // Mode 0 halts. An invalid *title is written back as -1.
  void SetMode(int mode, float volume, int* title);
  // Per frame: starts the next song by the mode when none plays.
  void ScanSongs();
  // Stops the song; the next ScanSongs starts the next one.
  void Stop();
  void StopIfPlaying();
  void Pause();
  void Resume();
  int IsPaused() const;
  const char* Name(int index) const;  // "" out of range

 private:
  void Scan();
  int Open();
  int NextIndex();

  musicbackend* backend_;
  int opened_ = 0;        // 1 open, -1 failed for good
  int scanned_ = 0;
  int paused_ = 0;
  std::vector<char> failed_;  // per song: could not be played
};
