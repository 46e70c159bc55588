// The cockpit's instrument row: airspeed indicator, artificial horizon,
// altimeter, variometer and compass, five 128-pixel dials in a 640-pixel row
// centred along the bottom of the view. The needle angles are plain
// functions; the variometer's needle is smoothed from frame to frame.
#pragma once

struct simplayer;

namespace sim {

// Airspeed needle, degrees clockwise from the dial's zero: 1.8 per km/h up
// to 100, 0.9 up to 200, 0.45 up to 400; 0 below 0 and from 400 on.
float AirspeedNeedle(float kmh);
// Altimeter hands, degrees (negative: clockwise): one turn per 1000 m for
// the short hand, per 100 m for the long one.
float AltimeterShortHand(float altitude);
float AltimeterLongHand(float altitude);
// Variometer: the target angle (vertical speed clamped to +-7 m/s, 22.5
// degrees per m/s) and one frame's smoothing step toward it.
float VariometerTarget(float verticalSpeed);
float SmoothVariometer(float smoothed, float target);

// The row in the current 2-D pass (pixels, y up) for the player's aircraft;
// only the player and the view width are used. Nothing without an aircraft.
void DrawInstrumentPanel(const simplayer* player, int w, int h, float aspect, int vx, int vy);
// The smoothed variometer needle back to rest.
void ResetInstrumentPanel();

}  // namespace sim
