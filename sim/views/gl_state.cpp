#include "sim/views/gl_state.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <initializer_list>

#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "sim/session.h"
#include "sim/world/world.h"

namespace sim {
namespace {

// Unit 0 forms dot3(texel, (1, 0.5, 0.5)) = 2 red - 1: the shadow texture's
// red channel, with 0.5 meaning no shadow.
constexpr float kShadowConstant[4] = {1.0f, 0.5f, 0.5f, 0.0f};
constexpr float kBlack[4] = {0.0f, 0.0f, 0.0f, 0.0f};

void ClearAndSwap() {
  glClearColor(0, 0, 0, 1);
  for (int i = 0; i < 2; ++i) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    kxgl::SwapBuffers();
  }
}

void StandingState() {
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glShadeModel(GL_SMOOTH);
  glDisable(GL_FOG);
  glAlphaFunc(GL_GREATER, 0.0f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_FOG_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glPointSize(1.0f);
  glColor4f(1, 1, 1, 1);
}


void Combiners() {
  PFNGLACTIVETEXTUREARBPROC unit = kxgl::caps.active_texture;
  if (!kxgl::caps.multitexture || !unit) return;
  unit(GL_TEXTURE0);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, kShadowConstant);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_DOT3_RGBA_EXT);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_CONSTANT);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
  unit(GL_TEXTURE1);
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_REPLACE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PRIMARY_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_MODULATE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_PREVIOUS);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA, GL_PRIMARY_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PREVIOUS);
  unit(GL_TEXTURE0);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_TEXTURE_2D);
  unit(GL_TEXTURE1);
  for (GLenum coord : {GL_S, GL_T, GL_R}) glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
  unit(GL_TEXTURE0);
}

void Lights(const world& w) {
  const int count = w.light_count < kSceneLights ? (w.light_count > 0 ? w.light_count : 0) : kSceneLights;
  for (int i = 0; i < kSceneLights; ++i) {
    const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
    const bool on = i < count;
    glLightfv(light, GL_AMBIENT, on ? w.light_ambient[i] : kBlack);
    glLightfv(light, GL_DIFFUSE, on ? w.light_diffuse[i] : kBlack);
    glLightfv(light, GL_SPECULAR, on ? w.light_specular[i] : kBlack);
    on ? glEnable(light) : glDisable(light);
  }
}

}  // namespace

void WindowOrtho(int width, int height) {
  glViewport(0, 0, width, height);
  kxgl::PixelProjection(width, height);
}

void SetupGL() {
  const sessionsettings& s = session.settings;
  kxsystem::CallHook(s.use_vsync);
  if (!kxgl::HasContext()) return;
  ClearAndSwap();
  StandingState();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  WindowOrtho(kxsystem::display.window_width, kxsystem::display.window_height);
  if (kxgl::caps.separate_specular) glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  if (!kxgl::caps.software) Combiners();
  glStencilFunc(GL_EQUAL, 0, ~0u);
  glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kBlack);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
  Lights(*TheWorld());
  const float fog[4] = {s.fog_color[0], s.fog_color[1], s.fog_color[2], 1.0f};
  glFogfv(GL_FOG_COLOR, fog);
  glFogi(GL_FOG_MODE, GL_EXP);
  glFogf(GL_FOG_DENSITY, s.fog_density);
  kxgl::UploadAllTextures();
}

}  // namespace sim
