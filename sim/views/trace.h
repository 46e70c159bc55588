// The flight trace: a ribbon as wide as the aircraft's span through the
// player's ring of trace samples, coloured by speed from green (slow) to
// red (the trace's fastest), and broken wherever two samples lie 4 m or
// more apart.
#pragma once

#include "sim/player.h"

namespace sim {

struct tracevertex {
  float position[3];
  float colour[4];
};

// The ribbon as triangle strips: strip s runs from vertex first[s] to
// first[s + 1]. Strips of a single pair are left out.
struct traceribbon {
  static constexpr int kMaxVertices = 2 * (simplayer::kTraceLength + 1);
  tracevertex vertices[kMaxVertices];
  int first[kMaxVertices + 1];
  int strips = 0;
  int count = 0;
};

// While the trace records, the ribbon starts at the aircraft (its position,
// span axis and speed); then it runs from the newest sample backwards once
// around the ring. An empty sample, or one 4 m or more from the next older
// one, ends the strip and adds nothing.
void BuildTraceRibbon(const simplayer& player, traceribbon* out);
// The speed colour of a sample against the trace's highest speed.
void TraceColour(float speed, float maxSpeed, float rgba[4]);

// Draws the player's ribbon (texturing off, blending as the caller set it).
void DrawTrace(const simplayer& player);

}  // namespace sim
