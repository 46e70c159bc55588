// The program run start to exit on our own data, for the tests of whole
// runs: a folder of its own with links to the data's read-only parts and a
// copy of the configuration, a scripted window that hands out one event per
// frame, and the fake sound device.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "gui/icons.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/main_loop.h"
#include "platform/null_window.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "sim/application.h"
#include "sim/frame_update.h"
#include "sim/menu.h"
#include "sim/menu_bar.h"
#include "tests/sim/sim_support.h"

namespace simtest {

namespace fs = std::filesystem;

// Hands out one scripted event per frame, so each one meets the mode that the
// frame before left active; quits if the script runs dry.
class framedbackend : public nullwindowbackend {
 public:
  // Runs before each event would be handed out (the test's own step between
  // frames); true hands out none this time.
  std::function<bool()> beforeEvent;

  int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) override {
    *count = 0;
    if ((gap_ = !gap_)) return 0;
    if (beforeEvent && beforeEvent()) return 0;
    if (events.empty()) Push(kxplatformevent::kQuit);
    return nullwindowbackend::NextEvent(waitMs, out, outCount, count);
  }

 private:
  bool gap_ = false;
};

// Each line is found in the log after the one before it; the first missing
// one is reported.
inline ::testing::AssertionResult InOrder(const std::string& log, std::initializer_list<const char*> lines) {
  size_t at = 0;
  for (const char* line : lines) {
    size_t found = log.find(line, at);
    if (found == std::string::npos) return ::testing::AssertionFailure() << "missing after position " << at << ": " << line;
    at = found + 1;
  }
  return ::testing::AssertionSuccess();
}

class programtest : public inputtest::UsbTest {
 protected:
  void SetUp() override {
    UsbTest::SetUp();
    ResetSimulatorState();
    folder_ = std::make_unique<kxtest::tempdir>(true);  // the run changes into it; restored after
    dir_ = folder_->path();
    fs::path data = fs::path(KX_TEST_DATA) / "../../../data";
    for (const char* part : {"aircraft", "objects", "scenery", "sound", "texture", "svgold.kxd", "kxdisplay.kxd"})
      fs::create_symlink(fs::canonical(data / part), dir_ / part);
    fs::create_directory(dir_ / "config");
    for (const char* file : {"config.kxc", "acft00.kxa", "acft01.kxa"})
      fs::copy_file(data / "config" / file, dir_ / "config" / file);
    kxsystem::SetWindowBackend(&window_);
    directsound::SetBackend(&sound_);
  }
  void TearDown() override {
    kxsystem::SetWindowBackend(nullptr);
    directsound::Reset();
    directsound::SetBackend(nullptr);
    sim::DestroyMenu();  // its statics would outlive the tree that holds "/Menu"
    kxscript::Shutdown();
    kxgui::FreeIcons();  // the exit freed every texture; the next start loads the sheets again
    kxsystem::ClearReserves();
    // The fonts' pictures went with the reserves: a record still naming them
    // would hand the next start's loader a block it no longer owns.
    for (kxglfont* font : {&sim::small_font, &sim::large_font, &sim::menu_font}) *font = kxglfont{};
    kxgl::SetFont(nullptr);
    folder_.reset();
    ResetSimulatorState();
    UsbTest::TearDown();
  }
  int Run() {
    std::string folder = dir_.string();
    char program[] = "skyvane";
    std::vector<char> path(folder.begin(), folder.end());
    path.push_back(0);
    char* argv[] = {program, path.data(), nullptr};
    return kxsystem::Run(2, argv, sim::InitApplication);
  }
  std::string Text(const char* relative) {
    std::string bytes;
    if (FILE* f = std::fopen((dir_ / relative).c_str(), "rb")) {
      for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<char>(c));
      std::fclose(f);
    }
    return bytes;
  }
  void Key(int code, int mods = 0) { window_.Push(kxplatformevent::kKeyDown, code, mods); }

  std::unique_ptr<kxtest::tempdir> folder_;
  fs::path dir_;
  framedbackend window_;
  fakesoundbackend sound_;
};

// One PPM frame from channel values in [-1, 1]: ailerons, elevator,
// throttle, rudder, wheel brake as the shipped configuration assigns them,
// and a sixth channel it leaves free.
inline std::vector<std::vector<uint8_t>> TransmitterFrame(float aileron, float elevator, float throttle, float rudder,
                                                          float brake, float sixth = 0.0f) {
  std::vector<int> pulses;
  for (float v : {aileron, elevator, throttle, rudder, brake, sixth})
    pulses.push_back(1500 + static_cast<int>(std::lround(500.0f * std::clamp(v, -1.0f, 1.0f))));
  auto reports = inputtest::CableFrame(pulses);
  reports.push_back(inputtest::CableReport({10000}));  // the next gap completes the frame
  return reports;
}

// A whole run on the test's clock: each reading moves it kTickUs on and a
// frame reads it twice, so frames are 1/60 s apart.
class clockedprogramtest : public programtest {
 protected:
  static constexpr uint32_t kTickUs = 8333;

  void SetUp() override {
    programtest::SetUp();
    Clock() = 0;
    kxsystem::SetClockForTest(Tick);
    sim::FrameTiming() = sim::frametiming();
  }
  void TearDown() override {
    kxsystem::SetClockForTest(nullptr);
    programtest::TearDown();
  }
  // The sample aircraft copied, not linked: nothing the run does can touch
  // the repository's.
  void CopySampleAircraft() {
    fs::remove(dir_ / "aircraft");
    fs::create_directory(dir_ / "aircraft");
    fs::path data = fs::path(KX_TEST_DATA) / "../../../data/aircraft";
    for (const char* folder : {"christeneagle", "airfoil"})
      fs::copy(data / folder, dir_ / "aircraft" / folder, fs::copy_options::recursive);
  }
  // Whether the frames now run the simulation rather than the menu.
  static bool Flying() { return kxsystem::callbacks.update == &sim::Update; }
  // Counts a step of the test's script; past most steps the script has
  // stalled and gives up: Escape takes the run back to the menu, and true
  // tells the script to stop.
  bool GiveUp(int most) {
    if (++steps_ <= most) return false;
    Key(kxcode::kKeyEscape);
    return true;
  }

 private:
  int steps_ = 0;
  static uint32_t& Clock() {
    static uint32_t us = 0;
    return us;
  }
  static uint32_t Tick() { return Clock() += kTickUs; }
};

// A whole run flown from a scripted transmitter on the fake cable.
class transmittertest : public clockedprogramtest {
 protected:
  void SetUp() override {
    clockedprogramtest::SetUp();
    cable_ = AddCable();
  }
  // In the menu before the first flight: the transmitter sends at rest until
  // the cable reports its channels and the menu has taken its no-signal
  // notice down. True while the keys must wait.
  bool WaitForSignal() {
    kxinputdevice* cable = kxinput::FirstDevice();
    if (signalled_ || !cable) return false;
    Send(0.0f, 0.0f, -1.0f, 0.0f, -1.0f);
    signalled_ = cable->channel_count > 0 && sim::Menu().notice_state == sim::noticestate::kNone;
    return !signalled_;
  }
  // The sticks and switches of the next frame.
  void Send(float aileron, float elevator, float throttle, float rudder, float brake, float sixth = 0.0f) {
    Play(cable_, kxinput::FirstDevice(), TransmitterFrame(aileron, elevator, throttle, rudder, brake, sixth));
  }

  int cable_ = 0;

 private:
  bool signalled_ = false;
};

}  // namespace simtest
