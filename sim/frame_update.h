// The simulation's per-frame update: the clamped and scaled frame time every
// other part of the frame uses, input polling, the flight step, contest and
// wind, each player's flight values, trace, crash timing, particles,
// recording and viewers, then tips, music and sounds. The main loop calls it
// and then the draw, back to back; all frame timing lives here.
#pragma once

#include <cstdint>

namespace sim {

constexpr float kMinFrameTime = 0.001f;     // s
constexpr float kMaxFrameTime = 0.1f;       // s
constexpr float kTerrainProbe = 10000.0f;   // m above the aircraft for the below-terrain test
constexpr float kTraceStep = 0.5f;          // m^2 of squared distance between trace points
constexpr float kTraceTurn = 0.8f;          // a Y axis dot product below this adds a point
constexpr int kTipGliderFrames = 20;        // airborne frames that end the glider tip
constexpr float kGliderFrequency = 44000.0f;  // Hz at rest, plus 500 Hz per m/s
constexpr float kGliderHearing = 500.0f;    // m

// Frame-timing statics of the update; they run across mode switches.
struct frametiming {
  uint32_t last_us = 0;         // timer reading of the previous frame
  int fps_frames = 0;
  float fps_since = 0;          // s, timer time of the last frame-rate sample
  float elapsed_sim_time = 0;   // s, the sum of all sim_time_steps
  int tip_glider_frames = 0;
};

frametiming& FrameTiming();

// The frame time (s) between two timer readings (µs), clamped to
// 0.001..0.1 s; the unsigned difference survives the timer's wrap.
float ClampedFrameTime(uint32_t previousUs, uint32_t nowUs);
// Heading (rad, in (0, 2 pi], 0 without a horizontal part) of an X row.
float HeadingOf(const float X[3]);

// The update callback of the simulation mode.
void Update();

}  // namespace sim
