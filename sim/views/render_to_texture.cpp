// Sections: the framebuffer objects kept for reuse; the render target; the
// box view and quad; RenderToTexture.
#include "sim/views/render_to_texture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>

#include "core/hooks.h"
#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"
#include "platform/gl_context.h"
#include "platform/window.h"

namespace sim {
namespace {

// ---- the framebuffer objects kept for reuse

/* One framebuffer object per size in use, kept between frames: a frame
   renders shadows of two or three sizes (aircraft, recorded aircraft,
   balloons), and making the storage anew for each would cost more than
   the drawing. Four sizes cover every caller; the least recently used
   surface makes room for a fifth. */
constexpr int kSurfaces = 4;
constexpr float kBoxDepth = 5000.0f;  // m either side of the box's plane

struct surface {
  GLuint framebuffer = 0;
  GLuint colour = 0;
  GLuint depth = 0;   // depth and stencil: the scene clears and may use both
  int width = 0, height = 0;
  unsigned lastUse = 0;
};

std::array<surface, kSurfaces> surfaces;
unsigned useClock = 0;
bool listening = false;
bool warned = false;

void Delete(surface& s) {
  const kxglframebufferapi& f = kxgl::caps.fbo;
  if (kxgl::HasContext() && f.delete_framebuffers) {
    if (s.framebuffer) f.delete_framebuffers(1, &s.framebuffer);
    if (s.colour) f.delete_renderbuffers(1, &s.colour);
    if (s.depth) f.delete_renderbuffers(1, &s.depth);
  }
  s = surface();
}

GLuint Storage(GLenum format, int width, int height) {
  const kxglframebufferapi& f = kxgl::caps.fbo;
  GLuint name = 0;
  f.gen_renderbuffers(1, &name);
  f.bind_renderbuffer(GL_RENDERBUFFER, name);
  f.renderbuffer_storage(GL_RENDERBUFFER, format, width, height);
  return name;
}

// A complete framebuffer object of the size, bound; null when the context
// cannot make one (then the back buffer serves).
surface* Make(surface& s, int width, int height) {
  const kxglframebufferapi& f = kxgl::caps.fbo;
  Delete(s);
  if (!listening) {
    kxsystem::AddContextListener(ReleaseRenderTargets);
    listening = true;
  }
  s.width = width;
  s.height = height;
  f.gen_framebuffers(1, &s.framebuffer);
  f.bind_framebuffer(GL_FRAMEBUFFER, s.framebuffer);
  s.colour = Storage(GL_RGBA8, width, height);
  s.depth = Storage(GL_DEPTH24_STENCIL8, width, height);
  f.bind_renderbuffer(GL_RENDERBUFFER, 0);
  f.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.colour);
  f.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, s.depth);
  if (f.check_framebuffer_status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return &s;
  if (!warned) kxcore::Log("sim:  offscreen surface %dx%d=fail\n", width, height);
  warned = true;
  Delete(s);
  return nullptr;
}

// The kept surface of the size, else a new one in the least recently used slot.
surface* Acquire(int width, int height) {
  const kxglframebufferapi& f = kxgl::caps.fbo;
  surface* oldest = &surfaces[0];
  for (surface& s : surfaces) {
    // A surface whose name the context does not know was left by an earlier context.
    if (s.framebuffer && s.width == width && s.height == height && f.is_framebuffer(s.framebuffer)) {
      s.lastUse = ++useClock;
      f.bind_framebuffer(GL_FRAMEBUFFER, s.framebuffer);
      return &s;
    }
    if (s.lastUse < oldest->lastUse) oldest = &s;
  }
  surface* made = Make(*oldest, width, height);
  if (made) made->lastUse = ++useClock;
  return made;
}

bool Offscreen(int width, int height) {
  const kxglcaps& c = kxgl::caps;
  return c.framebuffer_object && width <= c.max_renderbuffer_size && height <= c.max_renderbuffer_size;
}

}  // namespace

// ---- the render target

int BeginRenderTarget(int width, int height, rendertarget* target) {
  *target = rendertarget();
  if (!kxgl::HasContext() || width <= 0 || height <= 0) return 0;
  if (Offscreen(width, height)) {
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    if (Acquire(width, height)) {
      target->offscreen = 1;
      target->previous = previous;
      target->readWidth = width;
      target->readHeight = height;
    } else {
      kxgl::caps.fbo.bind_framebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    }
  }
  if (!target->offscreen) {
    // The window's pixels outside it are not kept: only what lies inside can be read back.
    target->readWidth = std::min(width, kxsystem::display.window_width);
    target->readHeight = std::min(height, kxsystem::display.window_height);
    if (target->readWidth <= 0 || target->readHeight <= 0) return 0;
  }
  target->width = width;
  target->height = height;
  glViewport(0, 0, width, height);
  return 1;
}

void EndRenderTarget(const rendertarget& target) {
  if (target.offscreen && kxgl::HasContext())
    kxgl::caps.fbo.bind_framebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(target.previous));
}

int CopyRenderTarget(const rendertarget& target, kxtexture* texture) {
  if (!texture || !kxgl::BindTexture(texture)) return 0;
  // The copy in OpenGL may be smaller than the table's entry (halved for the size limit).
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  w = std::min(w, target.readWidth);
  h = std::min(h, target.readHeight);
  if (w <= 0 || h <= 0) return 0;
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w, h);
  return 1;
}

void ReleaseRenderTargets() {
  for (surface& s : surfaces) Delete(s);
  useClock = 0;
}

// ---- the box view and quad

void PushBoxView(float x0, float x1, float y0, float y1) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(x0, x1, y0, y1, -kBoxDepth, kBoxDepth);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void PopBoxView() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void FillQuadCorners(shadowquad* quad, float x0, float y0, float x1, float y1) {
  const float corners[4][5] = {{0, 0, x0, y0, 0}, {1, 0, x1, y0, 0}, {1, 1, x1, y1, 0}, {0, 1, x0, y1, 0}};
  std::copy(&corners[0][0], &corners[0][0] + 20, &quad->corners[0][0]);
}

// ---- RenderToTexture

void RenderToTexture(shadowquad* rect, kxtexture* texture, const kxgeometry* mesh) {
  if (!rect) return;
  const float x0 = rect->min[0], y0 = rect->min[1], x1 = rect->max[0], y1 = rect->max[1];
  FillQuadCorners(rect, x0, y0, x1, y1);
  if (!texture || !(x1 > x0 && y1 > y0) || !kxgl::HasContext()) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  rendertarget target;
  if (BeginRenderTarget(texture->width, texture->height, &target)) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    PushBoxView(x0, x1, y0, y1);
    glColor4f(1, 1, 1, 1);
    kxgl::DrawGeometryPlain(mesh);
    CopyRenderTarget(target, texture);
    PopBoxView();
    EndRenderTarget(target);
  }
  // Popped on the frame buffer it was pushed on: the draw buffer it restores belongs there.
  glPopAttrib();
}

}  // namespace sim
