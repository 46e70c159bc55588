#include "sim/mouse.h"

#include <algorithm>
#include <cmath>

#include "core/maths.h"
#include "core/matrix.h"
#include "graphics/font.h"
#include "platform/codes.h"
#include "platform/events.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"

namespace sim {

namespace {

constexpr int kCloseMargin = 4;      // px inside the panel's upper right corner
constexpr int kTitleStrip = 20;      // px at the panel's bottom that do not move it
constexpr int kCornerSize = 16;      // px of a resize corner

enum grabmode { kGrabNone = 0, kGrabMove = 1, kGrabResizeLeft = 2, kGrabResizeRight = 3, kGrabClose = 4 };

struct mousestate {
  int right_held = 0;
  int mode = kGrabNone;
  simcamera* camera = nullptr;
  simplayer* player = nullptr;
  int offset_x = 0, offset_y = 0;  // pointer minus the panel's corner
  int start_x = 0, start_y = 0;    // pointer when the resize began
  int start_width = 0, start_height = 0;
};

mousestate& Mouse() {
  static mousestate state;
  return state;
}

// The pointer in the player's view: player 2's view lies above or beside
// player 1's in split screen.
void ViewPointer(const simplayer* p, int* x, int* y) {
  const simsession& s = session;
  *x = input::pointer.x;
  *y = input::pointer.y;
  if (p != &players[1]) return;
  if (s.settings.game_type == kGameSplitAbove) *y -= s.run.viewport_height;
  if (s.settings.game_type == kGameSplitSide) *x -= s.run.viewport_width;
}

void Rotate(float v[3], const float axis[3], float degrees) {
  kxmatrix r;
  kxmatrix::SetRotation(&r, {axis[0], axis[1], axis[2], 0.0f}, degrees * kxmaths::kRadiansPerDegree);
  float in[4] = {v[0], v[1], v[2], 0.0f}, out[4];
  kxmatrix::TransformVector4(out, &r, in);
  vec3::Copy(v, out);
}

// The right button turns player 1's viewer: up and down about its own Y
// axis, left and right about the vertical.
void TurnViewer() {
  simplayer& p = players[0];
  float* X = p.viewer_row_x();
  float* Y = p.viewer_row_y();
  float* Z = p.viewer_row_z();
  Rotate(X, Y, static_cast<float>(input::pointer.dy) * kMouseTurn);
  vec3::Normalise(X);
  vec3::Cross(Z, X, Y);
  const float vertical[3] = {0.0f, 0.0f, 1.0f};
  const float turn = static_cast<float>(input::pointer.dx) * kMouseTurn;
  Rotate(X, vertical, turn);
  Rotate(Y, vertical, turn);
  vec3::Normalise(X);
  vec3::Normalise(Y);
  vec3::Cross(Z, X, Y);
}

int Grab(const simcamera& c, int x, int y) {
  const int L = kxgl::currentFont ? kxgl::currentFont->lineHeight : 0;
  if (x >= c.x + c.width - kCloseMargin - L && x < c.x + c.width && y >= c.y + c.height - kCloseMargin - L &&
      y < c.y + c.height)
    return kGrabClose;
  if (x >= c.x && x < c.x + c.width && y >= c.y + kTitleStrip && y < c.y + c.height) return kGrabMove;
  if (y >= c.y && y <= c.y + kCornerSize) {
    if (x >= c.x && x <= c.x + kCornerSize) return kGrabResizeLeft;
    if (x >= c.x + c.width - kCornerSize && x <= c.x + c.width) return kGrabResizeRight;
  }
  return kGrabNone;
}

void LeftDown() {
  mousestate& m = Mouse();
  for (simplayer* p = &players[0]; p; p = p->next) {
    int x, y;
    ViewPointer(p, &x, &y);
    for (simcamera& c : p->camera) {
      if (!c.on) continue;
      int mode = Grab(c, x, y);
      if (mode == kGrabNone) continue;
      m.mode = mode;
      m.camera = &c;
      m.player = p;
      m.offset_x = x - c.x;
      m.offset_y = y - c.y;
      m.start_x = x;
      m.start_y = y;
      m.start_width = c.width;
      m.start_height = c.height;
      return;
    }
  }
}

void LeftUp() {
  mousestate& m = Mouse();
  if (m.mode == kGrabClose && m.camera) {
    int x, y;
    ViewPointer(m.player, &x, &y);
    if (Grab(*m.camera, x, y) == kGrabClose) m.camera->on = 0;
  }
  m.mode = kGrabNone;
  m.camera = nullptr;
  m.player = nullptr;
}

void ResizeHeight(simcamera& c, int y) {
  const mousestate& m = Mouse();
  int height = m.start_height - (y - m.start_y);
  if (y - m.offset_y >= 0 && height >= kPanelMin) {
    c.y = y - m.offset_y;
    c.height = height;
  }
}

void Drag() {
  const simsession& s = session;
  mousestate& m = Mouse();
  if (!m.camera) return;
  simcamera& c = *m.camera;
  int x, y;
  ViewPointer(m.player, &x, &y);
  if (m.mode == kGrabMove) {
    const int bar = (m.player == &players[0] && s.settings.game_type == kGameSplitAbove) ? 0 : s.run.menu_bar_height;
    c.x = std::max(0, std::min(x - m.offset_x, s.run.viewport_width - c.width));
    c.y = std::max(0, std::min(y - m.offset_y, s.run.viewport_height - c.height - bar));
  } else if (m.mode == kGrabResizeLeft) {
    int width = m.start_width - (x - m.start_x);
    if (x - m.offset_x >= 0 && width >= kPanelMin) {
      c.x = x - m.offset_x;
      c.width = width;
    }
    ResizeHeight(c, y);
  } else if (m.mode == kGrabResizeRight) {
    int width = m.start_width + (x - m.start_x);
    if (c.x + width <= s.run.viewport_width && width >= kPanelMin) c.width = width;
    ResizeHeight(c, y);
  }
}

}  // namespace

void ResetMouse() { Mouse() = mousestate(); }

void OnMouse(int code, int) {
  mousestate& m = Mouse();
  switch (code) {
    case kxcode::kMouseRightDown: m.right_held = 1; break;
    case kxcode::kMouseRightUp:
      m.right_held = 0;
      session.run.mouse_look = 0;
      break;
    case kxcode::kMouseLeftDown: LeftDown(); break;
    case kxcode::kMouseLeftUp: LeftUp(); break;
    case kxcode::kMouseMove:
      if (m.right_held) {
        session.run.mouse_look = 1;
        TurnViewer();
      } else if (m.mode != kGrabNone) {
        Drag();
      }
      break;
    default: break;
  }
}

}  // namespace sim
