// Binds the component sound holders of the dynamics core to the platform's
// sound slots: a holder's sample is a registered sound slot, its frequency
// (Hz) and volume go into that slot, and the platform turns the frequency
// into a pitch relative to the sample's own rate, clamped to what the sound
// library accepts. The application installs it once at start.
#pragma once

namespace components {

void UsePlatformSound();

}  // namespace components
