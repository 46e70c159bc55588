#include "platform/main_loop.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/callbacks.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/files.h"
#include "platform/gl_context.h"
#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/random.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "platform/system_info.h"
#include "platform/window.h"

kxcallbacks kxsystem::callbacks;

namespace kxsystem {

const char kSplashPath[] = "texture/splash.bmp";
const char kLogPath[] = "kx.log";

namespace {

constexpr int kEventsPerMessage = 32;  // characters of one text event, at most

windowbackend* running = nullptr;

void RestoreDisplayOnFatal() {
  if (running) running->Stop();
}

bool Ending(int request) { return request == kxcode::kRequestQuit || request == kxcode::kRequestRecreate; }

/* Frames until the mode asks for quit or re-creation; returns that request.
   An inactive window (covered, or another window has the focus) gets no
   frames, so the mode stands still; but the window system keeps no copy of
   its picture, so each exposure is answered by drawing the standing state
   once. Otherwise the window would show what lay over it until it got the
   focus back. */
int FrameLoop(windowbackend* backend) {
  kxcallbacks& cb = callbacks;
  kxplatformevent events[kEventsPerMessage];
  while (true) {
    int waitMs = backend->IsActive() ? 0 : kInactiveWaitMs;
    int count = 0;
    bool exposed = false;
    while (!Ending(cb.request) && backend->NextEvent(waitMs, events, kEventsPerMessage, &count)) {
      for (int i = 0; i < count; ++i) {
        exposed = exposed || events[i].kind == kxplatformevent::kExposed;
        DispatchEvent(events[i]);
      }
      if (cb.after_message) cb.after_message();
      waitMs = 0;
    }
    if (!Ending(cb.request) && backend->IsActive()) {
      if (cb.update) cb.update();
      if (cb.draw) cb.draw();
    } else if (!Ending(cb.request) && exposed && cb.draw) {
      cb.draw();
    }
    RunPendingSwitches();
    if (Ending(cb.request)) return cb.request;
    cb.request = kxcode::kRequestRun;  // a lone 13 or an unknown code
  }
}

void StartUp(const char* dataDir, int dataDirFailed) {
  ClearReserves();
  OpenLog(kLogPath);
  Log("kxsystem:  Skyvane Gold Edition log started\n");
  // Once without a window; each window's Start then finds it open.
  directsound::Start();
  char cwd[PATH_MAX] = {};
  if (dataDirFailed) Log("kxsystem:  data directory %s=fail\n", dataDir);
  Log("kxsystem:  data directory %s\n", getcwd(cwd, sizeof(cwd)) ? cwd : ".");
  StartClock();
  SeedRandom(static_cast<int>(std::time(nullptr) & INT_MAX));
  LogSystemInfo();
}

void Shutdown(windowbackend* backend) {
  directsound::Release();
  if (callbacks.exit) callbacks.exit();
  kxinput::Shutdown();  // USB readers end before the window system goes
  ReportReserves();
  backend->Stop();
  running = nullptr;
  Log("kxsystem:  quit\n");
  CloseLog();
  SetDataFolder(nullptr);
}

}  // namespace

void RunPendingSwitches() {
  kxcallbacks& cb = callbacks;
  for (int chained = 0; cb.pending; ++chained) {
    if (chained == kMaxChainedSwitches) {
      Log("kxsystem:  more than %d mode switches in one frame, rest dropped\n", kMaxChainedSwitches);
      cb.pending = nullptr;
      break;
    }
    if (cb.request == kxcode::kRequestSwitch) cb.request = kxcode::kRequestRun;
    void (*next)() = cb.pending;
    cb.pending = nullptr;
    next();
  }
}

int Run(int argc, char** argv, void (*appInit)()) {
  windowbackend* backend = WindowBackend();
  const char* dataDir = argc > 1 && argv && argv[1] && *argv[1] ? argv[1] : nullptr;
  int dataDirFailed = dataDir && chdir(dataDir) != 0 ? 1 : 0;
  if (!backend->Start()) {
    OpenLog(kLogPath);
    Log("kxsystem:  no window system, exit %d\n", kExitNoWindow);
    CloseLog();
    std::fprintf(stderr, "kxsystem:  no window system\n");
    return kExitNoWindow;
  }
  running = backend;
  // The working folder is the data folder: no file outside it is read or
  // written from here to the end of the run.
  SetDataFolder(".");
  if (MayRead(kSplashPath)) backend->ShowSplash(kSplashPath);
  InstallCoreHandlers(RestoreDisplayOnFatal);
  StartUp(dataDir, dataDirFailed);
  backend->FillDisplayModes(display);

  if (appInit) appInit();

  while (true) {
    if (!CreateWindowOrFallback(backend, display)) {
      Shutdown(backend);
      return kExitNoWindow;
    }
    directsound::Start();
    kxgl::InitExtensions();
    kxinput::OpenJoysticks();
    if (callbacks.after_create) callbacks.after_create();
    if (callbacks.graphics_init) callbacks.graphics_init();

    int request = FrameLoop(backend);

    if (callbacks.before_destroy) callbacks.before_destroy();
    NotifyContextLost();
    kxinput::CloseJoysticks();
    directsound::Release();
    backend->Destroy();
    if (request == kxcode::kRequestQuit) break;
    callbacks.request = kxcode::kRequestRun;
  }
  Shutdown(backend);
  return 0;
}

}  // namespace kxsystem
