#include "sim/simulation_placeholder.h"

#include "platform/callbacks.h"
#include "platform/event_nodes.h"
#include "platform/log.h"
#include "sim/exit.h"
#include "sim/modes.h"

namespace sim {

namespace {

void AnyKeyLeaves(int, int) { LeaveToMenu(); }

}  // namespace

void EnterSimulationMode() {
  kxsystem::Log("sim:  switching to simulation mode...\n");
  kxsystem::Log("sim:  no simulation mode yet, a key returns to the menu\n");
  kxcallbacks& cb = kxsystem::callbacks;
  cb = kxcallbacks();
  cb.key_down = AnyKeyLeaves;
  cb.key_up = input::OnKeyUp;
  cb.exit = Exit;
}

void InitGL() {}
void Resume() {}
void PrepareAircraftGraphics(int player) { kxsystem::Log("sim:  graphics of player %d not prepared yet\n", player + 1); }

}  // namespace sim
