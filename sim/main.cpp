// The simulator program: the platform's start-up runs the application's
// set-up, then windows and frames until the user quits. The folders above
// the simulator install their hooks here before the run.
#include "config_ui/config_ui.h"
#include "designer/designer.h"
#include "legacy/legacy.h"
#include "platform/main_loop.h"
#include "sim/app_hooks.h"
#include "sim/application.h"

int main(int argc, char** argv) {
  sim::applicationhooks hooks;
  svconfig::InstallHooks(&hooks);
  svdesign::InstallHooks(&hooks);
  dnsmodel::InstallHooks(&hooks);
  sim::SetHooks(hooks);
  return kxsystem::Run(argc, argv, sim::InitApplication);
}
