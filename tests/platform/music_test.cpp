#include "platform/music.h"

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/codes.h"
#include "platform/log.h"
#include "platform/random.h"
#include "tests/temp_dir.h"
#include "wave_maker.h"

namespace {

// Songs "play" until Finish; paths in bad fail to load.
class FakeMusic : public musicbackend {
 public:
  int has_output = 1;
  int playing = 0;
  int paused = 0;
  float volume = -1;
  std::set<std::string> bad;
  std::vector<std::string> played;
  int Open() override { return has_output; }
  void Close() override {}
  int Play(const char* path) override {
    playing = 0;
    if (bad.count(path)) return 0;
    played.push_back(path);
    playing = 1;
    return 1;
  }
  void Halt() override { playing = 0; }
  int IsPlaying() override { return playing; }
  void SetVolume(float v) override { volume = v; }
  void Pause() override { paused = 1; }
  void Resume() override { paused = 0; }
  void Finish() { playing = 0; }
};

class MusicTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    Write("music/b.ogg", "x");
    Write("music/a.MP3", "x");
    Write("music/c.wav", "x");
    Write("music/notes.txt", "x");
    kxsystem::ClearLogHistory();
  }
  FakeMusic fake_;
};

TEST_F(MusicTest, LoopPlaysFromTheChosenTitleThroughAllSongsWrapping) {
  kxmusic music(&fake_);
  int title = 1;
  music.SetMode(kxcode::kMusicLoop, 0.8f, &title);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxmusic:  mode 13 volume 0.80 title 1");
  EXPECT_EQ(music.count, 3);
  EXPECT_STREQ(music.Name(0), "a.MP3");
  music.ScanSongs();
  music.ScanSongs();  // still playing: nothing new
  fake_.Finish();
  music.ScanSongs();
  music.Stop();
  music.ScanSongs();
  EXPECT_EQ(fake_.played, (std::vector<std::string>{"music/b.ogg", "music/c.wav", "music/a.MP3"}));
  EXPECT_EQ(title, 0);
  EXPECT_EQ(music.current, 0);
  EXPECT_FLOAT_EQ(fake_.volume, 0.8f);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxmusic:  playing a.MP3");
}

TEST_F(MusicTest, SingleRepeatsTheChosenSong) {
  kxmusic music(&fake_);
  int title = 2;
  music.SetMode(kxcode::kMusicSingle, 1.0f, &title);
  music.ScanSongs();
  fake_.Finish();
  music.ScanSongs();
  EXPECT_EQ(fake_.played, (std::vector<std::string>{"music/c.wav", "music/c.wav"}));
}

TEST_F(MusicTest, RandomPicksSongsFromTheList) {
  kxsystem::SeedRandom(3);
  kxmusic music(&fake_);
  int title = 0;
  music.SetMode(kxcode::kMusicRandom, 1.0f, &title);
  for (int i = 0; i < 30; ++i) {
    music.ScanSongs();
    fake_.Finish();
  }
  std::set<std::string> distinct(fake_.played.begin(), fake_.played.end());
  EXPECT_EQ(fake_.played.size(), 30u);
  EXPECT_EQ(distinct.size(), 3u);
}

TEST_F(MusicTest, PausedPlayerStartsNothingUntilResumed) {
  kxmusic music(&fake_);
  int title = 0;
  music.SetMode(kxcode::kMusicLoop, 1.0f, &title);
  music.ScanSongs();
  music.Pause();
  EXPECT_EQ(music.IsPaused(), 1);
  EXPECT_EQ(fake_.paused, 1);
  fake_.Finish();
  music.ScanSongs();
  EXPECT_EQ(fake_.played.size(), 1u);
  music.Resume();
  EXPECT_EQ(music.IsPaused(), 0);
  music.ScanSongs();
  EXPECT_EQ(fake_.played.size(), 2u);
}

TEST_F(MusicTest, UnplayableSongIsSkippedAndAllFailingStopsTrying) {
  fake_.bad = {"music/b.ogg"};
  kxmusic music(&fake_);
  int title = 1;
  music.SetMode(kxcode::kMusicLoop, 1.0f, &title);
  music.ScanSongs();
  EXPECT_EQ(fake_.played, std::vector<std::string>{"music/c.wav"});
  fake_.bad = {"music/a.MP3", "music/b.ogg", "music/c.wav"};
  fake_.Finish();
  music.ScanSongs();
  EXPECT_STREQ(kxsystem::GetLogLine(2), "kxmusic:  play a.MP3=fail");
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxmusic:  play c.wav=fail");
  kxsystem::ClearLogHistory();
  music.ScanSongs();
  EXPECT_STREQ(kxsystem::GetLogLine(1), "");  // no retry every frame
  fake_.bad.clear();
  music.SetMode(kxcode::kMusicLoop, 1.0f, &title);
  music.ScanSongs();
  EXPECT_EQ(fake_.played.size(), 2u);
}

TEST_F(MusicTest, OffHaltsAndInvalidTitleIsWrittenBack) {
  kxmusic music(&fake_);
  int title = 7;
  music.SetMode(kxcode::kMusicSingle, 5.0f, &title);
  EXPECT_EQ(title, -1);
  EXPECT_FLOAT_EQ(music.volume, 1.0f);
  music.ScanSongs();
  EXPECT_EQ(fake_.played, std::vector<std::string>{"music/a.MP3"});
  music.SetMode(kxcode::kMusicOff, 1.0f, &title);
  EXPECT_EQ(fake_.playing, 0);
  music.ScanSongs();
  EXPECT_EQ(fake_.played.size(), 1u);
  music.StopIfPlaying();
}

TEST_F(MusicTest, NoOutputOrNoSongsIsSilent) {
  fake_.has_output = 0;
  kxmusic music(&fake_);
  int title = 0;
  music.SetMode(kxcode::kMusicLoop, 1.0f, &title);
  music.ScanSongs();
  EXPECT_TRUE(fake_.played.empty());
  std::filesystem::remove_all(dir_ + "/music");
  FakeMusic other;
  kxmusic empty(&other);
  empty.SetMode(kxcode::kMusicLoop, 1.0f, &title);
  empty.ScanSongs();
  EXPECT_EQ(empty.count, 0);
  EXPECT_TRUE(other.played.empty());
}

TEST_F(MusicTest, SdlMixerPlaysGeneratedSongsInTurn) {
  if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::filesystem::remove_all(dir_ + "/music");
  Write("music/one.wav", MakeWave(22050, 1, 2205));
  Write("music/two.wav", MakeWave(22050, 1, 2205));
  musicbackend* sdl = kxsystem::SdlMusicBackend();
  if (!sdl->Open()) GTEST_SKIP() << "no audio output, not even the dummy one";
  kxmusic music(sdl);
  int title = 0;
  music.SetMode(kxcode::kMusicLoop, 0.5f, &title);
  std::vector<int> order;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (order.size() < 3 && std::chrono::steady_clock::now() < deadline) {
    music.ScanSongs();
    if (sdl->IsPlaying() && (order.empty() || order.back() != music.current)) order.push_back(music.current);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  music.Pause();
  EXPECT_EQ(music.IsPaused(), 1);
  music.Resume();
  sdl->Close();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 0}));
}

}  // namespace
