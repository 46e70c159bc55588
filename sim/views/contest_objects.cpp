#include "sim/views/contest_objects.h"

#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "sim/session.h"
#include "sim/world/contest_record.h"

namespace sim {
namespace {

constexpr float kZoneBefore = 5.0f;   // m of red before the landing line
constexpr float kFullGreen = 0.5f;    // m beyond the line before the green fades
constexpr float kZoneAlpha = 0.4f;

void Point(const float p[3], const float u[3], float a, const float v[3], float b) {
  glVertex3f(p[0] + a * u[0] + b * v[0], p[1] + a * u[1] + b * v[1], p[2] + a * u[2] + b * v[2]);
}

void Pylons(const contestrec& c) {
  if (!session.media.pylon_mesh) return;
  for (const pylonrec* p = c.first_pylon; p; p = p->next) {
    glPushMatrix();
    glTranslatef(p->position[0], p->position[1], p->position[2]);
    kxgl::DrawGeometry(session.media.pylon_mesh);
    glPopMatrix();
  }
}

// From the line's corner p along the landing axis u and across it (v, the
// area's width L): red before the line, green beyond it fading out over
// the area's length.
void LandingZone(const contestrec& c) {
  const float* p = c.spot_corner;
  const float* u = c.spot_axisA;
  const float* v = c.spot_axisB;
  const float L = c.spot_width, F = c.spot_length;
  glDepthMask(GL_FALSE);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);  // the zone is translucent and fades out: the opaque pass has blending off here
  glColor4f(1, 0, 0, kZoneAlpha);
  glBegin(GL_QUADS);
  Point(p, u, -kZoneBefore, v, 0);
  Point(p, u, -kZoneBefore, v, L);
  Point(p, u, 0, v, L);
  Point(p, u, 0, v, 0);
  glEnd();
  glBegin(GL_QUAD_STRIP);
  glColor4f(0, 1, 0, kZoneAlpha);
  Point(p, u, 0, v, 0);
  Point(p, u, 0, v, L);
  Point(p, u, kFullGreen, v, 0);
  Point(p, u, kFullGreen, v, L);
  glColor4f(0, 1, 0, 0);
  Point(p, u, F, v, 0);
  Point(p, u, F, v, L);
  glEnd();
  glDepthMask(GL_TRUE);
  glEnable(GL_LIGHTING);
}

}  // namespace

void DrawContestObjects(const contestrec* contest) {
  if (!contest || !kxgl::HasContext()) return;
  if (contest->kind == kContestPylonRace) Pylons(*contest);
  if (contest->kind == kContestSpotLanding) LandingZone(*contest);
}

}  // namespace sim
