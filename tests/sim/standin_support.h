// Player 1 flying a flight state with no aircraft behind it, on the flat
// test field: the frame update reads only what a test writes into the
// state, and the fixed viewer only turns towards it.
#pragma once

#include "tests/sim/flight_support.h"

namespace simtest {

class standintest : public flighttest {
 protected:
  void SetUp() override {
    flighttest::SetUp();
    sim::players[0].flight_state = &state_;
    sim::players[0].view_mode = sim::kViewFixed;
    sim::session.run.player_count = 1;
  }

  kxdflightstate state_;
};

}  // namespace simtest
