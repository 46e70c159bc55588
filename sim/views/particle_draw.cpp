#include "sim/views/particle_draw.h"

#include <GL/gl.h>

#include <algorithm>

#include "dynamics/flight_state.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"
#include "sim/player.h"
#include "sim/session.h"

namespace sim {
namespace {

void Puff(const particle& q, float B[16]) {
  B[12] = q.position[0];
  B[13] = q.position[1];
  B[14] = q.position[2];
  const float s = q.size;
  glPushMatrix();
  glMultMatrixf(B);
  glRotatef(q.angle, 0, 0, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2f(-s, -s);
  glTexCoord2f(1, 0), glVertex2f(s, -s);
  glTexCoord2f(1, 1), glVertex2f(s, s);
  glTexCoord2f(0, 1), glVertex2f(-s, s);
  glEnd();
  glPopMatrix();
}

void Smoke(float B[16]) {
  const simsession& s = session;
  if (!kxgl::BindTexture(s.media.smoke_texture)) glDisable(GL_TEXTURE_2D);
  for (const simplayer* p = &players[0]; p; p = p->next) {
    if (!p->flight_state || !p->flight_state->smoke_flag) continue;
    int n = 0;  // a broken chain cannot loop for ever
    for (const particle* q = p->particles.smoke_list; q && n < simplayer::kSmokePool; q = q->next, ++n) {
      if (q->life <= 0.0f) continue;
      glColor4f(s.settings.smoke_color_red, s.settings.smoke_color_green, s.settings.smoke_color_blue, q->alpha);
      Puff(*q, B);
    }
  }
}

void Exhaust(const simplayer* viewer, int skipOwn, float B[16]) {
  const simsession& s = session;
  if (!kxgl::BindTexture(s.media.exhaust_texture)) glDisable(GL_TEXTURE_2D);
  for (const simplayer* p = &players[0]; p; p = p->next) {
    if (!p->flight_state || (skipOwn && p == viewer)) continue;
    const int engines = std::clamp(p->flight_state->exhaust_count, 0, simplayer::kExhaustRows);
    for (int e = 0; e < engines; ++e) {
      int n = 0;
      for (const particle* q = &p->particles.exhaust_particles[e][0]; q && n < simplayer::kExhaustRowLength; q = q->next, ++n) {
        glColor4f(1, 1, 1, s.settings.exhaust_density * q->alpha);
        Puff(*q, B);
      }
    }
  }
}

}  // namespace

void DrawParticles(const simplayer* viewer, int skipOwn, float B[16]) {
  if (!kxgl::HasContext()) return;
  const sessionsettings& s = session.settings;
  if (s.show_smoke) {
    Smoke(B);
  } else if (s.show_exhaust) {
    Exhaust(viewer, skipOwn, B);
  }
}

}  // namespace sim
