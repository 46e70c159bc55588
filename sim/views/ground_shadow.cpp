// Sections: projection and clipping; drawing.
#include "sim/views/ground_shadow.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "core/vector3.h"
#include "dynamics/flight_state.h"
#include "graphics/collision_world.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"
#include "platform/gl_context.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kShadowColour[4] = {0.0f, 0.0f, 0.0f, 0.55f};

using kxvector3::Dot;

// m (column-major) applied to a point, or with point 0 to a direction.
void Place(const float m[16], const float p[3], int point, float out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = m[k] * p[0] + m[4 + k] * p[1] + m[8 + k] * p[2] + (point ? m[12 + k] : 0.0f);
}

// A plane of a moving face carried into the world: its normal turned (and
// made unit again) and its offset through a point of it.
void PlaneInWorld(const float m[16], const float normal[3], const float point[3], float n[3], float* c) {
  float p[3];
  Place(m, normal, 0, n);
  Place(m, point, 1, p);
  const float length = std::sqrt(Dot(n, n));
  for (int k = 0; k < 3; ++k) n[k] /= length;
  *c = Dot(n, p);
}

}  // namespace

// ---- projection and clipping

int ProjectShadowQuad(const shadowquad& record, const float frame[16], const float n[3], float c, const float L[3],
                      shadowvertex out[4]) {
  const float nl = Dot(n, L);
  if (!(std::fabs(nl) >= kSunParallel)) return 0;  // a wall in line with the sun, or no plane at all
  const float q = 1.0f / nl;
  for (int i = 0; i < 4; ++i) {
    const float* corner = record.corners[i];
    float p[3];
    Place(frame, corner + 2, 1, p);
    const float t = q * (Dot(n, p) - c);
    out[i] = {corner[0], corner[1], p[0] - t * L[0], p[1] - t * L[1], p[2] - t * L[2] + kShadowLift};
  }
  return 4;
}

int ClipShadowPolygon(const shadowvertex* in, int count, const float normal[3], float distance, shadowvertex* out,
                      int capacity) {
  int kept = 0;
  auto add = [&](const shadowvertex& v) {
    if (kept < capacity) out[kept] = v;
    ++kept;
  };
  auto side = [&](const shadowvertex& v) { return normal[0] * v.x + normal[1] * v.y + normal[2] * v.z - distance; };
  for (int i = 0; i < count; ++i) {
    const shadowvertex& a = in[i];
    const shadowvertex& b = in[(i + 1) % count];
    const float da = side(a), db = side(b);
    if (da >= 0.0f) add(a);
    if ((da >= 0.0f) != (db >= 0.0f)) {
      const float t = da / (da - db);
      add({a.u + t * (b.u - a.u), a.v + t * (b.v - a.v), a.x + t * (b.x - a.x), a.y + t * (b.y - a.y),
           a.z + t * (b.z - a.z)});
    }
  }
  return kept <= capacity ? kept : 0;
}

int ShadowOnFace(const shadowquad& record, const float frame[16], const kxcollface& face, const float L[3],
                 shadowvertex out[kShadowPolygon]) {
  float n[3] = {face.normal[0], face.normal[1], face.normal[2]};
  float c = face.d;
  if (face.frame) {
    const float onPlane[3] = {n[0] * c, n[1] * c, n[2] * c};
    PlaneInWorld(face.frame, face.normal, onPlane, n, &c);
  }
  shadowvertex work[kShadowPolygon];
  int count = ProjectShadowQuad(record, frame, n, c, L, out);
  for (const kxcolledge* e = face.edges; e && count >= 3; e = e->next) {
    if (face.frame) {
      float m[3], k;
      PlaneInWorld(face.frame, e->normal, e->point, m, &k);
      count = ClipShadowPolygon(out, count, m, k, work, kShadowPolygon);
    } else {
      count = ClipShadowPolygon(out, count, e->normal, e->distance, work, kShadowPolygon);
    }
    std::copy(work, work + count, out);
  }
  return count >= 3 ? count : 0;
}

// ---- drawing

/* The two texture units were set up once with the simulation's state:
   unit 0 turns the shadow texture's red into 2 red - 1 (the dot3 product
   with (1, 0.5, 0.5)), unit 1 puts it into the alpha of the black primary
   colour. Without a second unit there is no way to form that alpha, and
   the shadow is left out rather than drawn as a black quad. */
void DrawGroundShadow(const shadowquad* record, const kxmatrix& frame) {
  const kxglcaps& caps = kxgl::caps;
  kxtexture* texture = record ? static_cast<kxtexture*>(record->texture) : nullptr;
  if (!texture || !kxgl::HasContext() || !caps.multitexture || !caps.active_texture || caps.software) return;
  const world& w = *TheWorld();
  caps.active_texture(GL_TEXTURE1);
  glEnable(GL_TEXTURE_2D);
  const int bound = kxgl::BindTexture(texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  caps.active_texture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture->glName);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glColor4fv(kShadowColour);
  glDepthMask(GL_FALSE);
  glDisable(GL_CULL_FACE);

  shadowvertex polygon[kShadowPolygon];
  for (int i = 0; bound && i < kxcollision::kNearFaces && w.collision.nearFaces[i]; ++i) {
    const int count = ShadowOnFace(*record, frame.Data(), *w.collision.nearFaces[i], w.sun_direction, polygon);
    if (!count) continue;
    glBegin(GL_POLYGON);
    for (int k = 0; k < count; ++k) {
      glTexCoord2f(polygon[k].u, polygon[k].v);
      glVertex3f(polygon[k].x, polygon[k].y, polygon[k].z);
    }
    glEnd();
  }

  caps.active_texture(GL_TEXTURE1);
  glDisable(GL_TEXTURE_2D);
  caps.active_texture(GL_TEXTURE0);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_CULL_FACE);
  glDepthMask(GL_TRUE);
}

}  // namespace sim
