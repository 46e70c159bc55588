#include "sim/views/trace.h"

#include <GL/gl.h>
#include <initializer_list>

#include "dynamics/flight_state.h"
#include "graphics/gl_frame.h"

namespace sim {
namespace {

constexpr float kBreakSquared = 16.0f;  // m^2: samples 4 m apart break the ribbon
constexpr float kSlowSpeed = 0.1f;      // m/s: a trace this slow is drawn dark red
constexpr float kTraceAlpha = 0.45f;

float DistanceSquared(const float a[3], const float b[3]) {
  float d = 0;
  for (int k = 0; k < 3; ++k) d += (a[k] - b[k]) * (a[k] - b[k]);
  return d;
}

void EndStrip(traceribbon* r, int* start) {
  if (r->count - *start >= 4) {
    r->first[r->strips++] = *start;
  } else {
    r->count = *start;  // a lone pair draws nothing
  }
  *start = r->count;
}

void AddPair(traceribbon* r, const float p[3], const float span[3], const float colour[4]) {
  for (float side : {-0.5f, 0.5f}) {
    tracevertex& v = r->vertices[r->count++];
    for (int k = 0; k < 3; ++k) v.position[k] = p[k] + side * span[k];
    for (int k = 0; k < 4; ++k) v.colour[k] = colour[k];
  }
}

}  // namespace

void TraceColour(float speed, float maxSpeed, float rgba[4]) {
  if (maxSpeed > kSlowSpeed) {
    float f = speed / maxSpeed;
    rgba[0] = 0.25f + 0.75f * f;
    rgba[1] = 1.0f - 0.75f * f;
  } else {
    rgba[0] = 0.25f;
    rgba[1] = 0.0f;
  }
  rgba[2] = 0.0f;
  rgba[3] = kTraceAlpha;
}

void BuildTraceRibbon(const simplayer& p, traceribbon* out) {
  constexpr int n = simplayer::kTraceLength;
  out->strips = 0;
  out->count = 0;
  int start = 0;
  float colour[4];
  const kxdflightstate* s = p.flight_state;
  const playertrace& t = p.trace;
  if (t.on && s) {
    TraceColour(p.hud.speed, t.max_speed, colour);
    AddPair(out, s->position(), s->row_y(), colour);
  }
  int newest = t.index % n;
  if (newest < 0) newest += n;
  for (int i = 0; i < n; ++i) {
    int j = (newest - i + n) % n;
    int older = (j - 1 + n) % n;
    bool gap = t.time[j] < 0.0f ||
               (t.time[older] >= 0.0f && DistanceSquared(t.position[j], t.position[older]) >= kBreakSquared);
    if (gap) {
      EndStrip(out, &start);
      continue;
    }
    TraceColour(t.speed[j], t.max_speed, colour);
    AddPair(out, t.position[j], t.axis[j], colour);
  }
  EndStrip(out, &start);
  out->first[out->strips] = out->count;
}

void DrawTrace(const simplayer& player) {
  static traceribbon ribbon;  // 15 kB: kept off the stack and reused
  if (!kxgl::HasContext()) return;
  BuildTraceRibbon(player, &ribbon);
  for (int s = 0; s < ribbon.strips; ++s) {
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = ribbon.first[s]; i < ribbon.first[s + 1]; ++i) {
      glColor4fv(ribbon.vertices[i].colour);
      glVertex3fv(ribbon.vertices[i].position);
    }
    glEnd();
  }
}

}  // namespace sim
