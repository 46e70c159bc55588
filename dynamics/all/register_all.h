// One call that makes every simulated type known: the dynamics core, then
// the wings, then the controls and powerplants, in the order each expects.
// It lives above the three libraries so the core never includes the others.
#pragma once

namespace kxdynamics {

// Safe to call again: every registration keeps what is already known.
void RegisterAll();

}  // namespace kxdynamics
