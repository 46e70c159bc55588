// The designer's frame: the viewer, then in window pixels the strip edges,
// the GUI, the title of the current object and the pointer.
#include <GL/gl.h>

#include "designer/design_object.h"
#include "designer/designer.h"
#include "designer/state.h"
#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "gui/background.h"
#include "gui/gui.h"

namespace svdesign {

namespace {

constexpr float kSky[4] = {0.4f, 0.6f, 0.8f, 1.0f};
constexpr int kViewerEdge = 82;     // px, white line along the viewer's lower edge
constexpr int kToolbarEdge = 65;    // px below the top, black line under the toolbar strip
constexpr int kTitleX = 2, kTitleY = 60;

// The viewer's area, cleared to the sky colour.
void DrawScene() {
  const svdesigncamera& c = State().camera;
  glViewport(c.viewportX, c.viewportY, c.viewportWidth, c.viewportHeight);
  glScissor(c.viewportX, c.viewportY, c.viewportWidth, c.viewportHeight);
  glEnable(GL_SCISSOR_TEST);
  glClearColor(kSky[0], kSky[1], kSky[2], kSky[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
}

void WindowPixels(int w, int h) {
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, 0, h, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  // The button frames are transparent inside.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Line(int x0, int y, int x1) {
  glBegin(GL_LINES);
  glVertex2f(static_cast<float>(x0), static_cast<float>(y) + 0.5f);
  glVertex2f(static_cast<float>(x1), static_cast<float>(y) + 0.5f);
  glEnd();
}

}  // namespace

void Draw() {
  designstate& s = State();
  if (!s.screen || !kxgl::HasContext()) return;
  int w = s.screen->W, h = s.screen->H;
  DrawScene();
  WindowPixels(w, h);
  glColor4f(1, 1, 1, 1);
  Line(0, kViewerEdge, w);
  glColor4f(0, 0, 0, 1);
  Line(0, h - kToolbarEdge, w);
  // No per-frame update runs in the designer: the layout pass, which
  // commits a field left by the focus and closes pop-ups, runs here.
  if (kxgui::Visible) kxgui::Visible->Update();
  kxgui::Draw();
  const char* title = s.currentObject ? s.currentObject->displayName.Text() : "";
  glEnable(GL_TEXTURE_2D);
  glColor4f(0, 0, 0, 1);
  kxgl::DrawText(kTitleX, kTitleY, title);
  glEnable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  kxgl::DrawMouse();
  glDisable(GL_TEXTURE_2D);
  kxgl::SwapBuffers();
}

}  // namespace svdesign
