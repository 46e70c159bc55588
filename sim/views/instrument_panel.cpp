#include "sim/views/instrument_panel.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/maths.h"
#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/mesh.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/flat_draw.h"

namespace sim {
namespace {

// The instrument pictures in the session's table.
enum : int {
  kAirspeedDial = 0,
  kAltimeterDial = 1,
  kVariometerDial = 2,
  kNeedle = 3,
  kCompassOverlay = 4,
  kCompassCard = 5,
  kHorizonBezel = 6,
};

constexpr float kDialHalf = 64.0f;       // px: every dial is 128 x 128
constexpr float kRowWidth = 640.0f;      // px: five dials side by side
constexpr float kDialY = 64.0f;          // px: centres on the bottom edge's row
constexpr float kAirspeedX = 64.0f, kHorizonX = 192.0f, kAltimeterX = 320.0f, kVariometerX = 448.0f,
                kCompassX = 576.0f;
constexpr float kShortHandLength = 0.7f;  // of the needle picture
constexpr float kHorizonDepth = -100.0f;  // in the 0..2000 deep 2-D pass
constexpr float kHorizonRadius = 62.0f;   // px
constexpr float kVariometerRange = 7.0f;  // m/s either way
constexpr float kVariometerScale = 22.5f; // degrees per m/s
constexpr float kVariometerKeep = 0.99f;  // per frame: about 100 frames to settle

// Looks from behind the ball's centre along the aircraft's nose: aircraft
// x into the screen, y to the left, z up (GL columns).
constexpr float kNoseView[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1};
constexpr float kHorizonLight[4] = {0.8704f, 0.3482f, 0.3482f, 0.0f};
constexpr float kHorizonSpecular[4] = {1, 1, 1, 0};
constexpr float kHorizonDiffuse[4] = {0.8f, 0.8f, 0.8f, 0};

float smoothedVariometer = 0.0f;  // degrees

kxtexture* Picture(int i) { return session.media.instrument_textures[i]; }

// A 128-pixel picture centred on the current origin.
void Dial(int picture) { DrawPicture(Picture(picture), -kDialHalf, -kDialHalf, kDialHalf, kDialHalf); }

// The needle picture turned by degrees (counter-clockwise) about (x, y).
void Needle(float x, float y, float degrees, float length) {
  glPushMatrix();
  glTranslatef(x, y, 0);
  glRotatef(degrees, 0, 0, 1);
  glScalef(1, length, 1);
  Dial(kNeedle);
  glPopMatrix();
}

void DialAt(float x, float y, int picture, float degrees = 0) {
  glPushMatrix();
  glTranslatef(x, y, 0);
  glRotatef(degrees, 0, 0, 1);
  Dial(picture);
  glPopMatrix();
}

// The scene leaves its depth behind, and near the ground (nose down on the
// runway) that depth lies in front of the ball's: the ball's square is
// cleared to the far plane first, so the ball shows whatever the scene was.
// rowX: px, the row's left edge in the view.
void ClearDepthUnderBall(float rowX) {
  GLint view[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, view);
  const int side = static_cast<int>(2 * kDialHalf);
  // Within the view: a row wider than a narrow view reaches past its edges.
  const int left = static_cast<int>(std::floor(rowX + kHorizonX - kDialHalf));
  const int x0 = std::clamp(left, 0, view[2]), x1 = std::clamp(left + side, 0, view[2]);
  const int y0 = static_cast<int>(kDialY - kDialHalf), y1 = std::min(y0 + side, static_cast<int>(view[3]));
  if (x1 <= x0 || y1 <= y0) return;
  glPushAttrib(GL_SCISSOR_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(view[0] + x0, view[1] + y0, x1 - x0, y1 - y0);
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
  glPopAttrib();
}

// The ball turns against the aircraft's attitude: the transpose of the
// aircraft's rotation carries world directions into its own frame.
void Horizon(const kxdflightstate& s) {
  const float turn[16] = {s.row_x()[0], s.row_y()[0], s.row_z()[0], 0, s.row_x()[1], s.row_y()[1], s.row_z()[1], 0,
                          s.row_x()[2], s.row_y()[2], s.row_z()[2], 0, 0,      0,      0,      1};
  glPushMatrix();
  glTranslatef(kHorizonX, kDialY, kHorizonDepth);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  // The far half of the ball is seen from inside: what lies ahead of the nose.
  glFrontFace(GL_CW);
  glMultMatrixf(kNoseView);
  // The ball's own light; the scene's light 0 comes back for the overlay
  // windows drawn after the row.
  glPushAttrib(GL_LIGHTING_BIT);
  glLightfv(GL_LIGHT0, GL_POSITION, kHorizonLight);
  glLightfv(GL_LIGHT0, GL_SPECULAR, kHorizonSpecular);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kHorizonDiffuse);
  glScalef(kHorizonRadius, kHorizonRadius, kHorizonRadius);
  glMultMatrixf(turn);
  glEnable(GL_NORMALIZE);
  glEnable(GL_LIGHTING);
  // Every hemisphere of the ball: the sky and the ground are separate elements.
  kxgl::DrawGeometry(session.media.horizon_mesh);
  glPopAttrib();
  glDisable(GL_LIGHTING);
  glDisable(GL_NORMALIZE);
  glDisable(GL_DEPTH_TEST);
  glFrontFace(GL_CCW);
  glDisable(GL_CULL_FACE);
  glPopMatrix();
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  DialAt(kHorizonX, kDialY, kHorizonBezel);
}

}  // namespace

float AirspeedNeedle(float kmh) {
  if (!(kmh >= 0.0f) || kmh >= 400.0f) return 0.0f;
  if (kmh < 100.0f) return 1.8f * kmh;
  if (kmh < 200.0f) return 180.0f + 0.9f * (kmh - 100.0f);
  return 270.0f + 0.45f * (kmh - 200.0f);
}

float AltimeterShortHand(float altitude) { return -360.0f * altitude / 1000.0f; }
float AltimeterLongHand(float altitude) { return -360.0f * altitude / 100.0f; }

float VariometerTarget(float verticalSpeed) {
  if (!std::isfinite(verticalSpeed)) return 0.0f;
  return std::clamp(verticalSpeed, -kVariometerRange, kVariometerRange) * kVariometerScale;
}

float SmoothVariometer(float smoothed, float target) {
  return kVariometerKeep * smoothed + (1.0f - kVariometerKeep) * target;
}

void ResetInstrumentPanel() { smoothedVariometer = 0.0f; }

void DrawInstrumentPanel(const simplayer* player, int w, int, float, int, int) {
  if (!player || !player->flight_state) return;
  const kxdflightstate& s = *player->flight_state;
  const float altitude = std::isfinite(s.position()[2]) ? s.position()[2] : 0.0f;
  const float heading = std::isfinite(player->hud.heading) ? player->hud.heading : 0.0f;
  smoothedVariometer = SmoothVariometer(smoothedVariometer, VariometerTarget(s.velocity[2]));

  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glColor4f(1, 1, 1, 1);
  const float rowX = (static_cast<float>(w) - kRowWidth) * 0.5f;
  glTranslatef(rowX, 0, 0);

  DialAt(kAltimeterX, kDialY, kAltimeterDial);
  Needle(kAltimeterX, kDialY, AltimeterShortHand(altitude), kShortHandLength);
  Needle(kAltimeterX, kDialY, AltimeterLongHand(altitude), 1.0f);

  DialAt(kVariometerX, kDialY, kVariometerDial);
  Needle(kVariometerX, kDialY, 90.0f - smoothedVariometer, 1.0f);

  DialAt(kAirspeedX, kDialY, kAirspeedDial);
  Needle(kAirspeedX, kDialY, -AirspeedNeedle(player->hud.speed * kxmaths::kKmhPerMs), 1.0f);

  DialAt(kCompassX, kDialY, kCompassCard, heading * kxmaths::kShownDegreesPerRadian);
  DialAt(kCompassX, kDialY, kCompassOverlay);

  ClearDepthUnderBall(rowX);
  Horizon(s);
  glPopMatrix();
}

}  // namespace sim
