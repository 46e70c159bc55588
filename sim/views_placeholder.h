// Stand-ins for the simulator's views until they exist: each logs
// what it would do. Same names and signatures as the real ones.
#pragma once

namespace sim {

// The simulation's draw callback: every player's view, the status text, the
// GUI and a requested screenshot.
void Draw();

}  // namespace sim
