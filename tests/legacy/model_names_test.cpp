// The older-format model's name, and the hook through which the simulator
// and the aircraft selection ask for it.
#include "legacy/model_names.h"

#include <gtest/gtest.h>

#include "legacy/legacy.h"
#include "sim/app_hooks.h"

namespace {

TEST(LegacyModelNames, ThePiccoloIsToldWithoutCaseAndOnlyByItsWholeName) {
  for (const char* name : {"piccolo", "PICCOLO", "Piccolo"}) EXPECT_EQ(dnsmodel::IsPiccoloModel(name), 1) << name;
  for (const char* name : {"piccolos", "picc", "", "_alx_piccolo"}) EXPECT_EQ(dnsmodel::IsPiccoloModel(name), 0) << name;
  EXPECT_EQ(dnsmodel::IsPiccoloModel(nullptr), 0);
}

TEST(LegacyModelNames, TheSimulatorKnowsTheFolderModelOnlyWithTheRuntimeInstalled) {
  sim::SetHooks(sim::applicationhooks());
  EXPECT_FALSE(sim::IsLegacyFolderModel("piccolo"));
  sim::applicationhooks hooks;
  dnsmodel::InstallHooks(&hooks);
  sim::SetHooks(hooks);
  EXPECT_TRUE(sim::IsLegacyFolderModel("Piccolo"));
  EXPECT_FALSE(sim::IsLegacyFolderModel("heli"));
  sim::SetHooks(sim::applicationhooks());
}

}  // namespace
