// Sections: the light view; the casters; RenderAircraftShadow.
#include "sim/views/aircraft_shadow.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/vector3.h"
#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "sim/app_hooks.h"
#include "sim/player.h"
#include "sim/views/display_lists.h"
#include "sim/views/part_walk.h"
#include "sim/views/render_to_texture.h"
#include "sim/views/transparent_draw.h"
#include "sim/world/world.h"

namespace sim {
namespace {

// Below this |z x d| (the sine of the sun's angle from the vertical) the
// light view has no horizontal axis to build on: the sun counts as overhead.
constexpr float kOverhead = 1e-6f;
constexpr float kDiscRed = 0.5f;        // a blur disc's shadow at rest
constexpr float kDiscRedRise = 0.05f;   // more by the square of the speed fraction

// ---- the light view

}  // namespace

shadowquad* RecordedShadow(const simplayer* player) {
  // The player record keeps the texture and the box in separate fields.
  static shadowquad records[kPlayers];
  shadowquad& q = records[player == &players[1] ? 1 : 0];
  q.texture = player->record_store.shadow_texture;
  q.size = player->recording.header.radius;
  std::copy(player->recording.header.bbmin, player->recording.header.bbmin + 3, q.min);
  std::copy(player->recording.header.bbmax, player->recording.header.bbmax + 3, q.max);
  return &q;
}

int ShadowLightView(const world& w, shadowquad* record, float view[16]) {
  const float x0 = record->min[0], y0 = record->min[1], x1 = record->max[0], y1 = record->max[1];
  kxvector3::SetIdentity(view);
  const float* s = w.sun_direction;
  const float length = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
  // r = z x d lies in the ground plane, across the sun's rays d = -sun.
  float d[3] = {}, r[3] = {}, across = 0.0f;
  if (std::isfinite(length) && length > 0.0f) {
    for (int k = 0; k < 3; ++k) d[k] = -s[k] / length;
    r[0] = -d[1];
    r[1] = d[0];
    across = std::sqrt(r[0] * r[0] + r[1] * r[1]);
  }
  if (!w.has_shadow || !(across >= kOverhead)) {
    FillQuadCorners(record, x0, y0, x1, y1);
    return 0;
  }
  r[0] /= across;
  r[1] /= across;
  const float u[3] = {d[1] * r[2] - d[2] * r[1], d[2] * r[0] - d[0] * r[2], d[0] * r[1] - d[1] * r[0]};
  for (int k = 0; k < 3; ++k) {  // rows -r, u, -d
    view[4 * k + 0] = -r[k];
    view[4 * k + 1] = u[k];
    view[4 * k + 2] = -d[k];
  }
  const float box[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  FillQuadCorners(record, x0, y0, x1, y1);
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 3; ++k) record->corners[c][2 + k] = -box[c][0] * r[k] + box[c][1] * u[k];
  return 1;
}

namespace {

// ---- the casters

// The part's own shadow list in a pass (the rule DrawShadowParts applies
// to every part and the aircraft to its root).
void OwnShadowList(const kxgeometricobject* part, int list, int pass) {
  const GLuint id = static_cast<GLuint>(list);
  if (pass == 0 && PropellerPart(part)) glCallList(id);
  const int rotating = part->Flags & kxgeometricobject::kFlagRotating;
  if (rotating != pass) return;
  if (!rotating) {
    glCallList(id);
    return;
  }
  const float rpm = PartRpm(part);
  if (rpm > kShadowRpmLimit) return;
  glColor3f(1.0f - 0.5f * rpm / kShadowRpmLimit, 1.0f, 1.0f);
  glCallList(id);
  glColor3f(1.0f, 1.0f, 1.0f);
}

// A blur disc's shadow: a flat disc of the part's disc radius, lighter the
// faster the part turns.
void ShadowDisc(const kxgeometricobject* part) {
  const float f = std::min(PartRpm(part) / kShadowRpmLimit, 1.0f);
  glColor3f(kDiscRed + kDiscRedRise * f * f, 1.0f, 1.0f);
  glPushMatrix();
  glMultMatrixf(part->Matrix.Data());
  DrawDiscFan(part->discRadius, 0.0f, 0);
  glPopMatrix();
}

/* The discs are drawn under the root's frame like the parts they belong
   to: the root's children are placed relative to it, so a disc drawn
   without it would stand apart from its aircraft whenever the root's frame
   is not the identity. */
void AircraftCaster(const simplayer* player) {
  const kxgeometricobject* root =
      player->flight_state ? kxnode::As<kxgeometricobject>(player->flight_state->graphics_root) : nullptr;
  if (!root) return;
  glPushMatrix();
  glMultMatrixf(root->Matrix.Data());
  ForEachPart(root, [](const kxgeometricobject* part) {
    if ((part->Flags & kxgeometricobject::kFlagRotating) && part->discTexture) ShadowDisc(part);
  });
  glPopMatrix();
  if (player->list_shadow < kFirstAircraftList) return;  // no lists built: ids would name the scenery's
  for (int pass : {kxgeometricobject::kFlagRotating, 0}) {
    glColor3f(1.0f, 1.0f, 1.0f);
    int counter = player->list_shadow;
    glPushMatrix();
    glMultMatrixf(root->Matrix.Data());
    ForEachPart(root, [&](const kxgeometricobject* part) { DrawShadowParts(part, &counter, pass); });
    OwnShadowList(root, counter, pass);
    glPopMatrix();
  }
}

/* The given casters come before the player's own aircraft: the balloons
   and a recorded flight are rendered with a player record too, and a
   player flying a legacy model must not put that model's shadow into them. */
void DrawCaster(const simplayer* player, const kxgeometricobject* playback, const kxgeometry* balloons) {
  if (balloons) {
    kxgl::DrawGeometryPlain(balloons);
  } else if (playback) {
    DrawTransparentGeometry(playback, 0);
  } else if (player && player->legacy) {
    if (Hooks().legacy_view_plain) Hooks().legacy_view_plain();
  } else if (player) {
    AircraftCaster(player);
  }
}

}  // namespace

void DrawShadowParts(const kxgeometricobject* part, int* counter, int pass) {
  glPushMatrix();
  glMultMatrixf(part->Matrix.Data());
  ForEachPart(part, [&](const kxgeometricobject* child) { DrawShadowParts(child, counter, pass); });
  OwnShadowList(part, *counter, pass);
  ++*counter;
  glPopMatrix();
}

void DrawTransparentGeometry(const kxgeometricobject* node, int flag) {
  glPushMatrix();
  glMultMatrixf(node->Matrix.Data());
  ForEachPart(node, [&](const kxgeometricobject* child) { DrawTransparentGeometry(child, flag); });
  if (node->mesh && (node->mesh->transparent != 0) == (flag != 0)) kxgl::DrawElementPlain(node->mesh);
  glPopMatrix();
}

// ---- RenderAircraftShadow

void RenderAircraftShadow(const simplayer* player, shadowquad* record, const float position[3],
                          const kxgeometricobject* playback, const kxgeometry* balloons) {
  if (!record || !position) return;
  float view[16];
  ShadowLightView(*TheWorld(), record, view);
  kxtexture* texture = static_cast<kxtexture*>(record->texture);
  const float x0 = record->min[0], y0 = record->min[1], x1 = record->max[0], y1 = record->max[1];
  if (!texture || !(x1 > x0 && y1 > y0) || !kxgl::HasContext()) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  rendertarget target;
  if (BeginRenderTarget(texture->width, texture->height, &target)) {
    // Red, green and blue only: on the back buffer the frame's alpha stays as it was.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);  // a silhouette has no back side
    PushBoxView(x0, x1, y0, y1);
    glColor3f(0.0f, 0.0f, 0.0f);
    glRectf(x0, y0, x1, y1);
    glColor3f(1.0f, 1.0f, 1.0f);
    glMultMatrixf(view);
    glTranslatef(-position[0], -position[1], -position[2]);
    DrawCaster(player, playback, balloons);
    CopyRenderTarget(target, texture);
    PopBoxView();
    EndRenderTarget(target);
  }
  glPopAttrib();
}

}  // namespace sim
