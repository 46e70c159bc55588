// Start-up of the simulator to its first menu frame: the application's
// set-up (tree, types, UI description, fonts, pictures, sounds, settings),
// the window's creation and the menu's graphics set-up with the aircraft
// load, on the null window and without a sound device.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "gui/icons.h"
#include "platform/callbacks.h"
#include "platform/main_loop.h"
#include "platform/null_window.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "sim/application.h"
#include "sim/menu.h"

namespace {

namespace fs = std::filesystem;
using clock_type = std::chrono::steady_clock;

// Quits once the first frame has been drawn, noting when that was.
class firstframebackend : public nullwindowbackend {
 public:
  clock_type::time_point drawn;
  int NextEvent(int waitMs, kxplatformevent* out, int outCount, int* count) override {
    *count = 0;
    if (calls_++ == 0) return 0;
    if (calls_ == 2) drawn = clock_type::now();
    events.clear();
    Push(kxplatformevent::kQuit);
    return nullwindowbackend::NextEvent(waitMs, out, outCount, count);
  }

 private:
  int calls_ = 0;
};

// The program's data behind links, with a configuration folder of its own.
fs::path DataFolder() {
  fs::path dir = fs::temp_directory_path() / "skyvane-menu-bench";
  fs::remove_all(dir);
  fs::create_directories(dir / "config");
  fs::path data = fs::path(KX_SOURCE_DIR) / "data";
  for (const char* part : {"aircraft", "objects", "scenery", "sound", "texture", "svgold.kxd", "kxdisplay.kxd"})
    fs::create_symlink(data / part, dir / part);
  for (const char* file : {"config.kxc", "acft00.kxa", "acft01.kxa"})
    fs::copy_file(data / "config" / file, dir / "config" / file);
  return dir;
}

void BM_StartToFirstMenuFrame(benchmark::State& state) {
  fs::path previous = fs::current_path();
  fs::path dir = DataFolder();
  std::string folder = dir.string();
  fakesoundbackend sound;
  directsound::SetBackend(&sound);
  for (auto _ : state) {
    firstframebackend window;
    kxsystem::SetWindowBackend(&window);
    std::vector<char> path(folder.begin(), folder.end());
    path.push_back(0);
    char program[] = "skyvane";
    char* argv[] = {program, path.data(), nullptr};
    auto start = clock_type::now();
    kxsystem::Run(2, argv, sim::InitApplication);
    state.SetIterationTime(std::chrono::duration<double>(window.drawn - start).count());
    kxsystem::SetWindowBackend(nullptr);
    kxsystem::callbacks = kxcallbacks();  // the quit request stays in the record
    kxscript::Shutdown();
    kxgui::FreeIcons();
    kxsystem::ClearReserves();
    sim::Menu() = sim::menustate();  // the next start loads the scenery and aircraft again
  }
  directsound::Reset();
  directsound::SetBackend(nullptr);
  fs::current_path(previous);
  fs::remove_all(dir);
}
BENCHMARK(BM_StartToFirstMenuFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
