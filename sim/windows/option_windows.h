// The simulation's option windows: general (wind, simulation speed,
// transmitter), viewing, contest, glider tow and graphics. Each is a set of
// framed groups of labelled sliders bound to settings. "Open" loads the
// sliders and keeps a copy of every value, "Ok" stores them, "Hide" (Cancel
// and the close box) puts the copies back, and "OnChange" applies at once
// the values that act while the window is open.
#pragma once

class kxwindow;

namespace sim {

kxwindow* CreateGeneralOptionsWindow();
kxwindow* CreateViewOptionsWindow();
kxwindow* CreateContestOptionsWindow();
kxwindow* CreateTowOptionsWindow();
kxwindow* CreateGraphicsOptionsWindow();

// The fog slider covers densities 0..0.1 with finer steps near 0:
// slider s = sqrt(10 density), density = 0.1 s^2.
float FogSlider(float density);
float FogDensity(float slider);

}  // namespace sim
