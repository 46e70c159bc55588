// Program entry and the main loop: start-up (data directory, log, clock,
// random seed, machine report), the application's set-up, then windows and
// frames until the active mode asks to quit. The application's main() is
//   return kxsystem::Run(argc, argv, sim::InitApplication);
#pragma once

namespace kxsystem {

constexpr int kExitNoWindow = 3;        // no window system or no GL context
constexpr int kInactiveWaitMs = 100;    // longest wait for an event while inactive
constexpr int kMaxChainedSwitches = 64; // pending switches run in one gap
extern const char kSplashPath[];        // "texture/splash.bmp"
extern const char kLogPath[];           // "kx.log"

// argv[1], when given, is the data directory. Returns 0 after a quit, or
// kExitNoWindow when no window or context could be had.
int Run(int argc, char** argv, void (*appInit)());

// Runs the pending mode switches of the active mode (between two frames).
void RunPendingSwitches();

}  // namespace kxsystem
