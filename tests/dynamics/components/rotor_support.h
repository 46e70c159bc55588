// The helicopter fixture of the rotor tests: loads the model helicopter of
// heli_files.h, starts it on flat ground and flies it in short frames.
#pragma once

#include <string>

#include "components_support.h"
#include "heli_files.h"

namespace kxrtest {

class helitest : public kxctest::componenttest {
 protected:
  // Writes the helicopter's three files and loads it for player 0; 1 on success.
  int LoadHeli(const heli& h = heli{}) {
    PutAircraft("heli", "");
    if (!WriteHeli("heli", h)) return 0;
    return kxdaircraftinstance::AircraftLoad("heli", 0);
  }
  // Starts the simulation with the helicopter standing on the ground.
  void StartOnGround() {
    kxdynamics::Start(&ground);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R = {0.0f, 0.0f, 0.001f, 1.0f};
    kxdaircraftinstance::PlaceAt(kxdaircraftinstance::Loaded(0), pose, {0.0f, 0.0f, 0.0f, 0.0f});
  }
  // Starts on the ground at full throttle and the lowest collective and
  // spins up for seconds.
  void SpinUp(float seconds) {
    StartOnGround();
    Stick(kThrottle, 1.0f);
    Stick(kCollective, -1.0f);
    Fly(seconds);
  }
  void Stick(int channel, float value) { slots[kxctest::kPlayer0Channels + channel] = value; }
  kxdbody* Main() { return kxdaircraftinstance::Loaded(0)->SimMainBody; }
  // Frames of 9 ms (30 substeps) for seconds of flight.
  void Fly(float seconds) {
    int frames = static_cast<int>(seconds / 0.009f + 0.5f);
    for (int i = 0; i < frames; ++i) kxdynamics::Step(0.009f, &ground);
  }
  kxdflatground ground{0.0f};
};

}  // namespace kxrtest
