// Loading a player's component aircraft: the flight state follows the slot,
// an older-format model of player 1 gives way only to player 1's load.
#include "sim/player_aircraft.h"

#include <filesystem>

#include "core/interpreter.h"
#include "dynamics/all/register_all.h"
#include "dynamics/flight_state.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"
#include "sim/app_hooks.h"
#include "sim/player.h"
#include "sim_support.h"

namespace {

struct unloads {
  static inline int count = 0;
  static void Unload() { ++count; }
};

class PlayerAircraftTest : public simtest::simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
    std::filesystem::create_symlink(
        std::filesystem::canonical(std::filesystem::path(KX_TEST_DATA) / "../../../data/aircraft"), "aircraft");
    unloads::count = 0;
    sim::applicationhooks hooks;
    hooks.legacy_unload = unloads::Unload;
    sim::SetHooks(hooks);
  }
  void TearDown() override {
    for (int i = 0; i < sim::kPlayers; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
    sim::SetHooks(sim::applicationhooks());
    simtest::TearDown();
  }
};

TEST_F(PlayerAircraftTest, TheFlightStateFollowsTheSlotAndAFailedLoadClearsIt) {
  ASSERT_EQ(sim::LoadPlayerAircraft(1, "trainer"), 1);
  EXPECT_EQ(sim::players[1].flight_state, kxdaircraftinstance::FlightStateOf(1));
  EXPECT_EQ(sim::players[0].flight_state, nullptr);
  EXPECT_EQ(sim::LoadPlayerAircraft(1, "no_such_aircraft"), 0);
  EXPECT_EQ(sim::players[1].flight_state, nullptr);
  // No player 3: nothing is loaded and no record is written.
  EXPECT_EQ(sim::LoadPlayerAircraft(2, "trainer"), 0);
  EXPECT_EQ(sim::LoadPlayerAircraft(-1, "trainer"), 0);
}

TEST_F(PlayerAircraftTest, AnOlderFormatModelGivesWayOnlyToPlayerOnesLoad) {
  simplayer& first = sim::players[0];
  first.legacy = 1;
  first.flight_state = &first.legacy_state;
  ASSERT_EQ(sim::LoadPlayerAircraft(1, "trainer"), 1);
  EXPECT_EQ(unloads::count, 0);
  EXPECT_EQ(first.legacy, 1);
  EXPECT_EQ(first.flight_state, &first.legacy_state);
  ASSERT_EQ(sim::LoadPlayerAircraft(0, "trainer"), 1);
  EXPECT_EQ(unloads::count, 1);
  EXPECT_EQ(first.legacy, 0);
  EXPECT_EQ(first.flight_state, kxdaircraftinstance::FlightStateOf(0));
}

}  // namespace
