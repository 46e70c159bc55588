// The designer's frame: the viewer, then in window pixels the strip edges,
// the GUI, the title of the current object and the pointer.
#include <GL/gl.h>

#include <vector>

#include "designer/design_object.h"
#include "designer/designer.h"
#include "designer/state.h"
#include "designer/viewer.h"
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
// A directional light fixed in the aircraft's space.
constexpr float kLight[4] = {1.0f, 2.0f, 3.0f, 0.0f};

void WindowPixels(int w, int h) {
  glViewport(0, 0, w, h);
  kxgl::PixelProjection(w, h, -1.0, 1.0);
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

void DrawObjects(const std::vector<svdesignobject*>& objects) {
  for (svdesignobject* o : objects) o->Draw(0);
  // Transparent meshes over the opaque ones, without hiding each other.
  glDepthMask(GL_FALSE);
  for (int twice = 0; twice < 2; ++twice) {
    for (svdesignobject* o : objects) o->Draw(1);
  }
  glDepthMask(GL_TRUE);
}

}  // namespace

void DrawScene() {
  designstate& s = State();
  svdesigncamera& c = s.camera;
  c.PullBack(kViewDistance * s.aircraftLength);
  GLint previous[4];
  glGetIntegerv(GL_VIEWPORT, previous);
  glViewport(c.viewportX, c.viewportY, c.viewportWidth, c.viewportHeight);
  // Only the viewer's band: the strips around it are the GUI's.
  glScissor(c.viewportX, c.viewportY, c.viewportWidth, c.viewportHeight);
  glEnable(GL_SCISSOR_TEST);
  glClearColor(kSky[0], kSky[1], kSky[2], kSky[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-c.halfWidth, c.halfWidth, -c.halfHeight, c.halfHeight, c.nearPlane, c.farPlane);
  glMatrixMode(GL_MODELVIEW);
  kxmatrix view = c.ViewMatrix();
  glLoadMatrixf(view.Data());
  glLightfv(GL_LIGHT0, GL_POSITION, kLight);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  if (c.geometry) DrawObjects(s.objects);
  glViewport(previous[0], previous[1], previous[2], previous[3]);
}

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
