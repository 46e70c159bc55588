// The scripted pilot of the helicopter benchmarks: holds a hover by the
// collective and the level attitude by the cyclic, so that what is measured
// is a helicopter flying, not one resting on its skids.
#pragma once

#include <algorithm>

#include "dynamics/body.h"
#include "tests/dynamics/components/heli_files.h"

namespace benchsetup {

// About the collective a hover takes: the rotor tests' helicopter, and the
// committed samples, whose rigging puts the hover just above mid stick.
// The height term makes up only part of a wrong one, so each helicopter
// is flown from its own.
constexpr float kHoverCollective = -0.3f;
constexpr float kSampleHoverCollective = 0.045f;

// Collective from the hover setting on the height error (m, positive while
// too low) and the climb rate, cyclic on the tilt and its rate; the rudder
// is left to the tail rotor's gyro.
inline void HoldHover(float* channels, const kxdbody* m, float heightError, float hover = kHoverCollective) {
  constexpr float kHeightGain = 0.6f, kClimbDamping = 0.4f, kTiltGain = 3.0f, kTiltDamping = 0.3f;
  channels[kxrtest::kCollective] =
      std::clamp(hover + kHeightGain * heightError - kClimbDamping * m->D.R.z, -1.0f, 1.0f);
  channels[kxrtest::kRoll] = std::clamp(-kTiltGain * m->B.Y.z - kTiltDamping * m->D.Y.z, -1.0f, 1.0f);
  channels[kxrtest::kNick] = std::clamp(kTiltGain * m->B.X.z + kTiltDamping * m->D.X.z, -1.0f, 1.0f);
}

}  // namespace benchsetup
