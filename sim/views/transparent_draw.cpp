#include "sim/views/transparent_draw.h"

#include <GL/gl.h>

#include <cmath>

#include "core/maths.h"
#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/texture_gl.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/element_draw.h"
#include "sim/views/reflection.h"
#include "sim/views/transparent_list.h"
#include "sim/world/contest_record.h"

namespace sim {
namespace {

constexpr int kRimPoints = 64;
constexpr float kMarkerHalf = 2.0f;     // m, half the marker's edge
constexpr float kMarkerStep = 4.0f;     // m between the players' markers
constexpr float kMarkerBase = 0.5f;     // m, the first marker's centre
constexpr float kGateHeight = 8.0f;     // m
constexpr float kDiscGrey[4] = {0.75f, 0.75f, 0.75f, 1.0f};
constexpr float kNoSpecular[4] = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr float kDiscShininess = 25.0f;

struct rim {
  float c[kRimPoints], s[kRimPoints];
  rim() {
    for (int i = 0; i < kRimPoints; ++i) {
      float a = 2.0f * kxmaths::kPi * static_cast<float>(i) / (kRimPoints - 1);
      c[i] = std::cos(a);
      s[i] = std::sin(a);
    }
  }
};

const rim& Rim() {
  static const rim table;
  return table;
}

// Draws a plain element record; tracks the bound texture between records.
void DrawElementRecord(const transparentrecord& r, const kxtexture** bound) {
  const kxgeometry* el = r.element;
  if (!el) return;
  BindElementTexture(el, bound);
  if (!r.lit) {
    glColor4fv(el->diffuse);
    kxgl::DrawElementPlain(el);
    return;
  }
  glEnable(GL_LIGHTING);
  SetFrontAndBackMaterial(el, el->shininess);
  const bool reflect = r.reflect && ReflectionsOn();
  if (reflect) BeginCubeReflection(kAircraftCubeMap);
  kxgl::DrawElementPlain(el);
  if (reflect) EndReflection();
  glDisable(GL_LIGHTING);
}

}  // namespace

void DrawDiscFan(float radius, float height, int back) {
  const rim& t = Rim();
  glBegin(GL_TRIANGLE_FAN);
  glNormal3f(0, 0, back ? -1.0f : 1.0f);
  glTexCoord2f(0.5f, 0.5f);
  glVertex3f(0, 0, 0);
  for (int k = 0; k < kRimPoints; ++k) {
    int i = back ? kRimPoints - 1 - k : k;
    glTexCoord2f(0.5f + 0.5f * t.c[i], 0.5f + 0.5f * t.s[i]);
    glVertex3f(radius * t.c[i], radius * t.s[i], height);
  }
  glEnd();
}

void DrawTransparentList() {
  transparentlist& list = TransparentList();
  SortTransparentList();
  list.drawn = 0;
  if (!kxgl::HasContext()) return;
  const kxtexture* bound = nullptr;
  for (transparentrecord** it = list.order; *it; ++it) {
    const transparentrecord& r = **it;
    glPushMatrix();
    glMultMatrixf(r.matrix);
    if (r.draw) {
      r.draw(r);
      bound = nullptr;
      glEnable(GL_TEXTURE_2D);
    } else {
      DrawElementRecord(r, &bound);
    }
    glPopMatrix();
    ++list.drawn;
  }
}

void DrawPylonMarker(const transparentrecord& r) {
  if (!kxgl::BindTexture(session.media.circle_texture)) glDisable(GL_TEXTURE_2D);
  int i = 0;
  for (const simplayer* p = &players[0]; p; p = p->next, ++i) {
    if (p->contest.pylon != r.pylon) continue;
    float alpha = PylonMarkerAlpha(p->contest.gate_distance);
    if (alpha <= 0.0f) continue;
    float c = kMarkerStep * static_cast<float>(i) + kMarkerBase;
    glColor4f(1, 0, 0, alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(0, -kMarkerHalf, c - kMarkerHalf);
    glTexCoord2f(1, 0), glVertex3f(0, kMarkerHalf, c - kMarkerHalf);
    glTexCoord2f(1, 1), glVertex3f(0, kMarkerHalf, c + kMarkerHalf);
    glTexCoord2f(0, 1), glVertex3f(0, -kMarkerHalf, c + kMarkerHalf);
    glEnd();
  }
}

void DrawDragRaceGate(const transparentrecord& r) {
  if (!r.contest) return;
  glDisable(GL_TEXTURE_2D);
  float colour[4];
  DragGateColour(r.player ? r.player->contest.phase : kContestNoPhase, colour);
  glColor4fv(colour);
  const float* p = r.contest->finish_point;
  const float* w = r.contest->finish_line;
  glBegin(GL_QUADS);
  glVertex3f(p[0], p[1], p[2]);
  glVertex3f(p[0] + w[0], p[1] + w[1], p[2] + w[2]);
  glVertex3f(p[0] + w[0], p[1] + w[1], p[2] + w[2] + kGateHeight);
  glVertex3f(p[0], p[1], p[2] + kGateHeight);
  glEnd();
}

void DrawPropellerDisc(const transparentrecord& r) {
  const float diffuse[4] = {1, 1, 1, DiscAlpha(r.rpm)};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kDiscGrey);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kDiscGrey);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kDiscShininess);
  glEnable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  if (!kxgl::BindTexture(r.disc_texture)) glDisable(GL_TEXTURE_2D);
  float h = r.disc_radius * r.cone;
  DrawDiscFan(r.disc_radius, h, 0);
  DrawDiscFan(r.disc_radius, h, 1);
  glDisable(GL_LIGHTING);
}

void DrawFadingBlades(const transparentrecord& r) {
  const float diffuse[4] = {1, 1, 1, BladeAlpha(r.rpm)};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kDiscGrey);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kNoSpecular);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glEnable(GL_LIGHTING);
  kxgl::DrawGeometryTextured(r.element);
  glDisable(GL_LIGHTING);
}

}  // namespace sim
