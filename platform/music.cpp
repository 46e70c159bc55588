#include "platform/music.h"

#include <cmath>
#include <cstring>

#include "platform/codes.h"
#include "platform/file_lists.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/random.h"
#include "platform/text.h"

namespace kxsystem {

const char kMusicDirectory[] = "music/";

}  // namespace kxsystem

namespace {

// What the decoder libraries read; anything else in the folder is ignored.
const char* const kSongExtensions[] = {".ogg", ".mp3", ".wav", ".flac", ".mid", ".mod", ".xm", ".it", ".s3m"};

bool IsSong(const std::string& name) {
  for (const char* extension : kSongExtensions) {
    size_t length = std::strlen(extension);
    if (name.size() > length && kxsystem::StrEqualNoCase(name.c_str() + name.size() - length, extension)) return true;
  }
  return false;
}

bool ValidMode(int mode) {
  return mode == kxcode::kMusicOff || mode == kxcode::kMusicSingle || mode == kxcode::kMusicRandom ||
         mode == kxcode::kMusicLoop;
}

}  // namespace

kxmusic::kxmusic(musicbackend* backend) : backend_(backend ? backend : kxsystem::SdlMusicBackend()) {}

void kxmusic::Scan() {
  if (scanned_) return;
  scanned_ = 1;
  names.clear();
  std::string pattern = std::string(kxsystem::kMusicDirectory) + "*";
  for (std::string& name : kxsystem::ListFiles(pattern.c_str(), 1, 1)) {
    if (!IsSong(name)) continue;
    if (name.size() > static_cast<size_t>(kxsystem::kSongNameChars)) name.resize(kxsystem::kSongNameChars);
    names.push_back(name);
  }
  count = static_cast<int>(names.size());
  failed_.assign(names.size(), 0);
}

int kxmusic::Open() {
  if (opened_ == 0) {
    opened_ = backend_->Open() ? 1 : -1;
    if (opened_ < 0) kxsystem::Log("kxmusic:  open audio=fail\n");
  }
  return opened_ == 1;
}

void kxmusic::SetMode(int newMode, float newVolume, int* newTitle) {
  Scan();
  mode = ValidMode(newMode) ? newMode : kxcode::kMusicOff;
  volume = std::isfinite(newVolume) ? (newVolume < 0 ? 0 : newVolume > 1 ? 1 : newVolume) : 1.0f;
  title = newTitle;
  if (title && (*title < 0 || *title >= count)) *title = -1;
  // A new choice gives every song another chance.
  failed_.assign(names.size(), 0);
  kxsystem::Log("kxmusic:  mode %d volume %.2f title %d\n", mode, volume, title ? *title : -1);
  if (mode == kxcode::kMusicOff) {
    if (opened_ == 1) backend_->Halt();
    paused_ = 0;
    return;
  }
  if (Open()) backend_->SetVolume(volume);
}

int kxmusic::NextIndex() {
  int chosen = title && *title >= 0 && *title < count ? *title : 0;
  switch (mode) {
    case kxcode::kMusicSingle: return chosen;
    case kxcode::kMusicRandom: {
      int index = static_cast<int>(kxsystem::Random() * static_cast<float>(count));
      return index < count ? index : count - 1;
    }
    default: return current < 0 ? chosen : (current + 1) % count;
  }
}

void kxmusic::ScanSongs() {
  if (mode == kxcode::kMusicOff || paused_) return;
  Scan();
  if (count == 0 || !Open() || backend_->IsPlaying()) return;
  int index = NextIndex();
  // Unplayable songs are skipped in order; when all failed, silence until
  // the next SetMode instead of a retry every frame.
  for (int tries = 0; tries < count; ++tries, index = (index + 1) % count) {
    if (failed_[static_cast<size_t>(index)]) continue;
    std::string path = std::string(kxsystem::kMusicDirectory) + names[static_cast<size_t>(index)];
    // The decoder opens the file itself: it is held to the data folder here.
    if (kxsystem::MayRead(path.c_str()) && backend_->Play(path.c_str())) {
      backend_->SetVolume(volume);
      current = index;
      if (title) *title = index;
      kxsystem::Log("kxmusic:  playing %s\n", names[static_cast<size_t>(index)].c_str());
      return;
    }
    failed_[static_cast<size_t>(index)] = 1;
    kxsystem::Log("kxmusic:  play %s=fail\n", names[static_cast<size_t>(index)].c_str());
  }
}

void kxmusic::Stop() {
  if (opened_ == 1) backend_->Halt();
}

void kxmusic::StopIfPlaying() {
  if (opened_ == 1 && backend_->IsPlaying()) Stop();
}

void kxmusic::Pause() {
  if (opened_ == 1) backend_->Pause();
  paused_ = 1;
}

void kxmusic::Resume() {
  if (opened_ == 1) backend_->Resume();
  paused_ = 0;
}

int kxmusic::IsPaused() const { return paused_; }

const char* kxmusic::Name(int index) const {
  return index >= 0 && index < count ? names[static_cast<size_t>(index)].c_str() : "";
}
