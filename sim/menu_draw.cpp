// The menu's screen: background picture, the players' aircraft on the
// turntable with their flat shadows, the scenery card, the buttons with the
// hovered one's tip, the version line, the GUI and the pointer.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>

#include "dynamics/instance.h"
#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/texture_gl.h"
#include "gui/gui.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "sim/multilanguage.h"
#include "sim/player.h"
#include "sim/resources.h"
#include "sim/session.h"
#include "sim/views/flat_draw.h"
#include "sim/views/frame.h"
#include "sim/views/loading_screen.h"

namespace sim {

namespace {

constexpr float kLightAmbient[4] = {0.55f, 0.55f, 0.55f, 1};
constexpr float kLightDiffuse[4] = {0.99f, 0.99f, 0.99f, 1};
constexpr float kLightSpecular[4] = {1, 1, 1, 1};
// Toward the light: (2, -1, 4) normalised, a directional light.
constexpr float kLightDirection[4] = {0.43643576f, -0.21821788f, 0.8728715f, 0};
constexpr float kFrustum = 0.235f;          // half height at the near plane
constexpr float kNear = 1, kFar = 100;
constexpr float kShadowAlpha = 0.75f;
constexpr float kShadowLift = 0.05f;        // above the lowest point
constexpr float kModelScale = 0.89f;        // of the bounding radius
constexpr float kPlayerPlaces[2][3] = {{0.03f, -0.1f, 0}, {0.5f, 0.7f, 0}};
constexpr float kCardPlace[3] = {0.72f, -0.75f, 0.1f};
constexpr float kCardShadowHeight = 0.06f;
// Where the turntable is seen from: back from the scene and tilted so its
// z-up world stands upright on the screen.
constexpr float kViewDistance = 5.0f;
constexpr float kViewTilt = -62.0f;         // degrees about x
constexpr float kDimButton = 0.8f;
constexpr float kTipReference = 768.0f;     // window height the menu font was made for
constexpr float kTipLeft = 275.0f / 1024.0f;
constexpr float kVersionRight = 0.9375f;
constexpr int kLogLines = 30;             // log lines shown with `show_log`
constexpr double kMenuDepth = 10.0;       // the menu's 2-D passes reach this far either side of z = 0

// Projects along the light direction onto the plane z = height.
void ShadowMatrix(float height, float out[16]) {
  const float* L = kLightDirection;
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, -L[0] / L[2], -L[1] / L[2], 0, 0,
                 height * L[0] / L[2], height * L[1] / L[2], height, 1};
  std::memcpy(out, m, sizeof(m));
}


void DrawBackground(int w, int h) {
  const menustate& m = Menu();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
  kxgl::PixelProjection(w, h, -kMenuDepth, kMenuDepth);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  float third = static_cast<float>(h) / 3.0f;
  DrawPicture(m.background[0], 0, third, static_cast<float>(w), static_cast<float>(h));
  DrawPicture(m.background[1], 0, 0, static_cast<float>(w), third);
}

bool HasModel(int player) {
  const simplayer& p = players[player];
  return p.legacy ? p.flight_state != nullptr : TurntableModel(player) != nullptr;
}

void FlatShadow(int player, kxgeometricobject* model, float lowest) {
  float shadow[16];
  ShadowMatrix(lowest + kShadowLift, shadow);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0, 0, 0, kShadowAlpha);
  // The stencil darkens each pixel once where parts overlap.
  bool stencil = kxgl::caps.stencil_bits > 0;
  if (stencil) {
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
  }
  glPushMatrix();
  glMultMatrixf(shadow);
  DrawModelPlain(model, player);
  glPopMatrix();
  if (stencil) glDisable(GL_STENCIL_TEST);
  glDisable(GL_BLEND);
}

void DrawPlayer(int player, float angle) {
  simplayer& p = players[player];
  kxgeometricobject* model = TurntableModel(player);
  float radius = p.flight_state->radius > 0 && std::isfinite(p.flight_state->radius) ? p.flight_state->radius : 1.0f;
  float scale = (1.0f - 0.3f * static_cast<float>(player)) * kModelScale / radius;
  glPushMatrix();
  glTranslatef(kPlayerPlaces[player][0], kPlayerPlaces[player][1], kPlayerPlaces[player][2]);
  glScalef(scale, scale, scale);
  glRotatef(angle, 0, 0, 1);
  // The lowest point the shadow set-up measured, for a component aircraft
  // and a legacy model alike (the latter has no tree of its own here).
  float lowest = p.flight_state->bounds_min[2];
  FlatShadow(player, model, std::isfinite(lowest) ? lowest : -radius);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glColor4f(1, 1, 1, 1);
  DrawModelOpaque(model, player);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  DrawModelTransparent(model, player);
  glDisable(GL_BLEND);
  glPopMatrix();
}

void DrawCard() {
  const menustate& m = Menu();
  if (!m.card) return;
  float shadow[16];
  ShadowMatrix(0, shadow);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0, 0, 0, kShadowAlpha);
  glPushMatrix();
  glTranslatef(kCardPlace[0], kCardPlace[1], kCardShadowHeight);
  glMultMatrixf(shadow);
  kxgl::DrawGeometryPlain(m.card);
  glPopMatrix();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glPushMatrix();
  glTranslatef(kCardPlace[0], kCardPlace[1], kCardPlace[2]);
  kxgl::DrawGeometry(m.card);
  glPopMatrix();
}

void DrawScene(int w, int h) {
  float aspect = h > 0 ? static_cast<float>(w) / static_cast<float>(h) : 1.0f;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-aspect * kFrustum, aspect * kFrustum, -kFrustum, kFrustum, kNear, kFar);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -kViewDistance);
  glRotatef(kViewTilt, 1, 0, 0);
  glLightfv(GL_LIGHT0, GL_POSITION, kLightDirection);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE);
  glClear(GL_DEPTH_BUFFER_BIT);
  for (int i = 0; i < kPlayers; ++i)
    if (HasModel(i)) DrawPlayer(i, Menu().turntable_angle);
  DrawCard();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
}

// Text in the menu font at scale s, lines ending at '#'; (x, y) is the first
// line's lower left.
void ScaledLines(const char* text, float x, float y, float s) {
  std::string all = text;
  size_t start = 0;
  float lineHeight = static_cast<float>(menu_font.lineHeight) * s;
  for (int line = 0; start <= all.size(); ++line) {
    size_t end = all.find('#', start);
    std::string piece = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
    glPushMatrix();
    glTranslatef(x, y - lineHeight * static_cast<float>(line), 0);
    glScalef(s, s, 1);
    kxgl::DrawText(0, 0, piece.c_str());
    glPopMatrix();
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void DrawButtons(int w, int h) {
  const menustate& m = Menu();
  kxgl::PixelProjection(w, h);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  float fw = static_cast<float>(w), fh = static_cast<float>(h);
  for (int n = 0; n < kMenuButtons; ++n) {
    float c = n == m.hot_button ? 1.0f : kDimButton;
    glColor4f(c, c, c, 1);
    float y0 = ButtonBottom(n) * fh;
    DrawPicture(m.buttons[n], kButtonLeft * fw, y0, (kButtonLeft + kButtonWidth) * fw, y0 + kButtonHeight * fh);
  }
  kxglfont* previous = kxgl::currentFont;
  kxgl::SetFont(&menu_font);
  glColor4f(1, 1, 1, 1);
  float s = fh / kTipReference;
  float top = (fh - 2) - static_cast<float>(menu_font.lineHeight) * s;
  if (m.hot_button >= 0) ScaledLines(Language().menuText[m.hot_button].Text(), fw * kTipLeft, top, s);
  std::string version = std::string("Version ") + kVersion;
  float width = static_cast<float>(kxgl::TextWidth(version.c_str())) * s;
  ScaledLines(version.c_str(), kVersionRight * fw - width, top, s);
  kxgl::SetFont(previous);
}

void DrawOverlays(int w, int h) {
  kxgui::Draw();
  kxgl::PixelProjection(w, h, -kMenuDepth, kMenuDepth);
  if (session.settings.show_log) DrawLogLines(kLogLines);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  DrawStatusMessage(w, h, Menu().frame_time);
  if (kxgl::caps.software) {
    kxglfont* previous = kxgl::currentFont;
    kxgl::SetFont(&menu_font);
    glColor4f(1, 0, 0, 1);
    kxgl::DrawText(4, 4, Language().Text("NoOpenGL"));
    kxgl::SetFont(previous);
  }
  glColor4f(1, 1, 1, 1);
  kxgl::DrawMouse();
  kxgl::SwapBuffers();
}

// The three passes over a tree: push, the node's frame, children, own mesh, pop.
enum class pass { kOpaque, kTransparent, kPlain };

void DrawTree(kxgeometricobject* node, int player, pass which) {
  if (!node) return;
  glPushMatrix();
  glMultMatrixf(node->Matrix.Data());
  for (kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (kxgeometricobject* child = kxnode::As<kxgeometricobject>(c)) DrawTree(child, player, which);
  if (node->mesh) {
    switch (which) {
      case pass::kOpaque: kxgl::DrawGeometry(node->mesh); break;
      case pass::kPlain: kxgl::DrawGeometryPlain(node->mesh); break;
      case pass::kTransparent:
        for (const kxgeometry* el = node->mesh; el; el = el->next)
          if (el->transparent) kxgl::DrawElement(el);
        break;
    }
  }
  glPopMatrix();
}

// A legacy model draws itself through the runtime; true when it did.
bool DrawLegacy(int player, void (*draw)()) {
  if (!players[player].legacy) return false;
  if (draw) draw();
  return true;
}

}  // namespace

kxgeometricobject* TurntableModel(int player) {
  if (player < 0 || player >= kPlayers) return nullptr;
  simplayer& p = players[player];
  if (!p.flight_state || p.legacy) return nullptr;
  // The loaded geometry, not the drawn clone: the clone hands its rotor
  // blades and propellers to the rotating parts that only a flight draws,
  // and a flight moves its parts. The template keeps every mesh at rest.
  kxdaircraftinstance* slot = kxdaircraftinstance::Slot(player);
  if (slot && slot->GeometryTemplate && p.flight_state == kxdaircraftinstance::FlightStateOf(player))
    return kxnode::As<kxgeometricobject>(slot->GeometryTemplate);
  return kxnode::As<kxgeometricobject>(p.flight_state->graphics_root);
}

void DrawModelOpaque(kxgeometricobject* node, int player) {
  if (!DrawLegacy(player, Hooks().legacy_draw_solid)) DrawTree(node, player, pass::kOpaque);
}

void DrawModelTransparent(kxgeometricobject* node, int player) {
  if (!DrawLegacy(player, Hooks().legacy_draw_transparent)) DrawTree(node, player, pass::kTransparent);
}

void DrawModelPlain(kxgeometricobject* node, int player) {
  if (!DrawLegacy(player, Hooks().legacy_draw_plain)) DrawTree(node, player, pass::kPlain);
}

void DrawMenu() {
  menustate& m = Menu();
  m.turntable_angle = TurntableStep(m.turntable_angle, m.frame_time);
  if (!kxgl::HasContext()) return;
  int w = kxsystem::display.window_width, h = kxsystem::display.window_height;
  glViewport(0, 0, w, h);
  DrawBackground(w, h);
  DrawScene(w, h);
  DrawButtons(w, h);
  DrawOverlays(w, h);
}

}  // namespace sim
