// The program run start to exit on our own data, for the tests of whole
// runs: a folder of its own with links to the data's read-only parts and a
// copy of the configuration, a scripted window that hands out one event per
// frame, and the fake sound device.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "gui/icons.h"
#include "platform/codes.h"
#include "platform/main_loop.h"
#include "platform/null_window.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "sim/application.h"
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

}  // namespace simtest
