#include "platform/main_loop.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/gl_context.h"
#include "platform/log.h"
#include "platform/null_window.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "tests/temp_dir.h"

namespace {

// Everything the callbacks saw, in order.
std::vector<std::string> trace;
int frame = 0;
nullwindowbackend* backend = nullptr;

void Note(const std::string& what) { trace.push_back(what); }

class MainLoopTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    trace.clear();
    frame = 0;
    kxsystem::callbacks = kxcallbacks();
    backend = &null_;
    kxsystem::SetWindowBackend(&null_);
    directsound::SetBackend(&sound_);
    kxsystem::ClearLogHistory();
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    directsound::Reset();
    directsound::SetBackend(nullptr);
    kxsystem::callbacks = kxcallbacks();
    kxsystem::ClearReserves();
    TempDirTest::TearDown();
  }
  int RunHere(void (*init)()) {
    std::string dir = dir_;
    char program[] = "skyvane";
    std::vector<char> path(dir.begin(), dir.end());
    path.push_back(0);
    char* argv[] = {program, path.data(), nullptr};
    return kxsystem::Run(2, argv, init);
  }
  nullwindowbackend null_;
  fakesoundbackend sound_;
};

void InstallBasicMode() {
  kxcallbacks& cb = kxsystem::callbacks;
  cb.after_create = [] { Note("after_create"); };
  cb.graphics_init = [] { Note("graphics_init"); };
  cb.before_destroy = [] { Note("before_destroy"); };
  cb.draw = [] { Note("draw"); };
  cb.exit = [] { Note("exit"); };
}

TEST_F(MainLoopTest, StartUpLogsBannerSoundAndMachineAndQuitNamesHeldReserves) {
  static void* block;
  block = nullptr;
  int result = RunHere([] {
    InstallBasicMode();
    kxsystem::Reserve(&block, 4096, "scenery mesh");
    kxsystem::callbacks.update = [] { kxsystem::callbacks.request = kxcode::kRequestQuit; };
  });
  EXPECT_EQ(result, 0);
  std::string log = Read("kx.log");
  const std::string banner = "kxsystem:  Skyvane Gold Edition log started\n";
  EXPECT_EQ(log.rfind(banner, 0), 0u);
  EXPECT_EQ(log.find("directsound:  init=ok\n"), banner.size());
  EXPECT_NE(log.find("kxsystem:  reserve scenery mesh still held (4096 bytes)\n"), std::string::npos);
  EXPECT_NE(log.find("kxsystem:  data directory " + dir_ + "\n"), std::string::npos);
  EXPECT_NE(log.find("kxsystem:  processors: "), std::string::npos);
  EXPECT_NE(log.find(" logical, "), std::string::npos);
  EXPECT_NE(log.find("kxsystem:  memory: "), std::string::npos);
  EXPECT_NE(log.find("kxsystem:  system: Linux "), std::string::npos);
}

TEST_F(MainLoopTest, SwitchThatSetsAnotherRunsBothBetweenTheSameFramesAndLoneSwitchesClear) {
  RunHere([] {
    InstallBasicMode();
    kxsystem::callbacks.update = [] {
      ++frame;
      Note("update " + std::to_string(frame));
      if (frame == 1) {
        kxsystem::callbacks.request = kxcode::kRequestSwitch;
        kxsystem::callbacks.pending = [] {
          Note("switch A request " + std::to_string(kxsystem::callbacks.request));
          kxsystem::callbacks.pending = [] { Note("switch B"); };
        };
      }
      // A switch request without a pending switch is cleared.
      if (frame == 2) kxsystem::callbacks.request = kxcode::kRequestSwitch;
      if (frame == 3) {
        Note("request " + std::to_string(kxsystem::callbacks.request));
        kxsystem::callbacks.request = kxcode::kRequestQuit;
      }
    };
  });
  std::vector<std::string> expected = {"after_create", "graphics_init", "update 1", "draw", "switch A request 0",
                                       "switch B",     "update 2",      "draw",     "update 3", "request 0",
                                       "draw",         "before_destroy", "exit"};
  EXPECT_EQ(trace, expected);
}

TEST_F(MainLoopTest, RecreateRunsDestroyCreateAndGraphicsInitAgainAndQuitCallsExitOnce) {
  static int lostCalls;
  lostCalls = 0;
  static void (*listener)() = [] { ++lostCalls; };
  kxsystem::AddContextListener(listener);
  kxsystem::AddContextListener(listener);  // once only
  RunHere([] {
    InstallBasicMode();
    kxsystem::callbacks.update = [] {
      ++frame;
      if (frame == 1) kxsystem::callbacks.request = kxcode::kRequestRecreate;
      if (frame == 2) kxsystem::callbacks.request = kxcode::kRequestQuit;
    };
  });
  std::vector<std::string> expected = {"after_create", "graphics_init", "draw", "before_destroy", "after_create",
                                       "graphics_init", "draw", "before_destroy", "exit"};
  EXPECT_EQ(trace, expected);
  EXPECT_EQ(null_.creations, 2);
  EXPECT_EQ(null_.destructions, 2);
  EXPECT_EQ(lostCalls, 2);
  // The sound device is released around each window and opened again.
  EXPECT_EQ(std::count(sound_.calls.begin(), sound_.calls.end(), "open"), 2);
  EXPECT_EQ(std::count(sound_.calls.begin(), sound_.calls.end(), "close"), 2);
  kxsystem::RemoveContextListener(listener);
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestQuit);
}

TEST_F(MainLoopTest, EventsReachTheModeWithAfterMessageAfterEach) {
  null_.Push(kxplatformevent::kKeyDown, kxcode::kKeyEscape, 0);
  null_.Push(kxplatformevent::kMouse, kxcode::kMouseLeftDown, kxcode::kModShift);
  null_.Push(kxplatformevent::kKeyUp, 'a', 0);
  null_.Push(kxplatformevent::kQuit);
  RunHere([] {
    kxcallbacks& cb = kxsystem::callbacks;
    cb.key_down = [](int key, int mods) { Note("down " + std::to_string(key) + " " + std::to_string(mods)); };
    cb.key_up = [](int key, int mods) { Note("up " + std::to_string(key) + " " + std::to_string(mods)); };
    cb.mouse = [](int code, int mods) { Note("mouse " + std::to_string(code) + " " + std::to_string(mods)); };
    cb.after_message = [] { Note("message"); };
    cb.exit = [] { Note("exit"); };
  });
  std::vector<std::string> expected = {"down 260 0", "message", "mouse 24 512", "message", "up 97 0",
                                       "message", "message", "exit"};
  EXPECT_EQ(trace, expected);
}

TEST_F(MainLoopTest, InactiveWindowGetsNoFramesButStillEvents) {
  null_.active = 0;
  null_.Push(kxplatformevent::kKeyDown, 'x', 0);
  null_.Push(kxplatformevent::kQuit);
  RunHere([] {
    InstallBasicMode();
    kxsystem::callbacks.key_down = [](int, int) { Note("key"); };
  });
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "draw"), 0);
  EXPECT_NE(std::find(trace.begin(), trace.end(), "key"), trace.end());
}

// A window that quits at the first wait finding nothing queued, so one
// frame's turn comes between the events queued and the end.
class quitwhenidle : public nullwindowbackend {
 public:
  int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) override {
    if (events.empty() && !quitting_) {
      quitting_ = true;
      Push(kxplatformevent::kQuit);
      *count = 0;
      return 0;
    }
    return nullwindowbackend::NextEvent(waitMs, out, outCount, count);
  }

 private:
  bool quitting_ = false;
};

// Uncovered while another window has the focus: the standing state is drawn
// again, once for the exposures of one wait, and nothing runs on.
TEST_F(MainLoopTest, InactiveWindowIsDrawnAgainWhenExposedButNotUpdated) {
  quitwhenidle window;
  kxsystem::SetWindowBackend(&window);
  window.active = 0;
  window.Push(kxplatformevent::kExposed);
  window.Push(kxplatformevent::kExposed);
  RunHere([] {
    InstallBasicMode();
    kxsystem::callbacks.update = [] { Note("update"); };
  });
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "draw"), 1);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "update"), 0);
  kxsystem::SetWindowBackend(nullptr);
}

TEST_F(MainLoopTest, FailedWindowCreationExitsWithCodeThreeAfterTheExitCallback) {
  null_.fail_create = 1;
  int result = RunHere([] { kxsystem::callbacks.exit = [] { Note("exit"); }; });
  EXPECT_EQ(result, kxsystem::kExitNoWindow);
  EXPECT_EQ(trace, std::vector<std::string>{"exit"});
}

// A size the display cannot make never locks the user out: it is read into
// the modes' range, then replaced by 640 x 480 windowed, which is what the
// settings then hold and save.
TEST_F(MainLoopTest, WindowThatCannotBeMadeFallsBackToSixForty) {
  const kxdisplaysettings kept = kxsystem::display;
  null_.modes = {{640, 480, 24, 60}, {1600, 1200, 24, 60}};
  null_.largest_width = 1024;
  kxsystem::display.window_width = 2147483647;
  kxsystem::display.window_height = 100000;
  kxsystem::display.window_fullscreen = 1;
  int result = RunHere([] { kxsystem::callbacks.update = [] { kxsystem::callbacks.request = kxcode::kRequestQuit; }; });
  const kxdisplaysettings made = kxsystem::display;
  kxsystem::display = kept;
  EXPECT_EQ(result, 0);
  EXPECT_EQ(null_.creations, 1);
  EXPECT_EQ(made.window_width, 640);
  EXPECT_EQ(made.window_height, 480);
  EXPECT_EQ(made.window_fullscreen, 0);
  std::string log = Read("kx.log");
  EXPECT_NE(
      log.find("kxsystem:  window size 2147483647x100000 does not fit the display's 1600x1200; 1600x1200 taken\n"),
      std::string::npos);
  EXPECT_NE(log.find("kxsystem:  window 1600x1200 full screen cannot be made; 640x480 windowed instead\n"),
            std::string::npos);
}

TEST_F(MainLoopTest, SplashShowsWhenItsBitmapExistsUntilDestroyed) {
  Write("texture/splash.bmp", "BM fake");
  RunHere([] {
    Note(backend->HasSplash() ? "splash" : "no splash");
    kxsystem::callbacks.update = [] {
      kxsystem::DestroySplash();
      Note(backend->HasSplash() ? "splash" : "no splash");
      kxsystem::callbacks.request = kxcode::kRequestQuit;
    };
  });
  EXPECT_EQ(trace, (std::vector<std::string>{"splash", "no splash"}));
}

TEST_F(MainLoopTest, WindowSettingsTakeTheRealClientSizeAndModesAreNumberedFromOne) {
  null_.client_width = 1024;
  null_.client_height = 768;
  null_.modes = {{640, 480, 24, 60}, {1024, 768, 24, 0}};
  kxsystem::display.window_width = 800;
  kxsystem::display.window_height = 600;
  RunHere([] {
    kxsystem::callbacks.update = [] {
      kxsystem::CallHook(1);
      kxsystem::callbacks.request = kxcode::kRequestQuit;
    };
  });
  EXPECT_EQ(kxsystem::display.window_width, 1024);
  EXPECT_EQ(kxsystem::display.window_height, 768);
  EXPECT_FLOAT_EQ(kxsystem::display.aspect, 4.0f / 3.0f);
  ASSERT_NE(kxsystem::GetDisplayMode(1), nullptr);
  EXPECT_EQ(kxsystem::GetDisplayMode(1)->width, 640);
  EXPECT_EQ(kxsystem::GetDisplayMode(2)->width, 1024);
  EXPECT_EQ(kxsystem::GetDisplayMode(0), nullptr);
  EXPECT_EQ(kxsystem::GetDisplayMode(3), nullptr);
  EXPECT_EQ(null_.swap_interval, 1);
}

TEST_F(MainLoopTest, MachineWithoutSoundDeviceRunsSilently) {
  sound_.has_device = 0;
  int result = RunHere([] {
    kxsystem::callbacks.update = [] {
      Note(directsound::StopAll(kxcode::kStopKeepMark) == 0 ? "silent" : "sound");
      kxsystem::callbacks.request = kxcode::kRequestQuit;
    };
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(trace, std::vector<std::string>{"silent"});
  EXPECT_NE(Read("kx.log").find("directsound:  init=fail\n"), std::string::npos);
}

}  // namespace
