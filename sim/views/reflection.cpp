#include "sim/views/reflection.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <initializer_list>

#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"
#include "sim/session.h"
#include "sim/views/reflection_maps.h"
#include "sim/views/view_matrices.h"

namespace sim {
namespace {

constexpr float kStrong = 0.75f;
constexpr float kMedium = 0.5f;
constexpr float kFaint = 0.25f;

void ActiveUnit(GLenum unit) { kxgl::caps.active_texture(unit); }

void TexGen(bool on) {
  for (GLenum coord : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R}) on ? glEnable(coord) : glDisable(coord);
}

bool UnitOneUsable() { return kxgl::HasContext() && kxgl::caps.multitexture && kxgl::caps.active_texture; }

}  // namespace

int ReflectionMap(float shininess) {
  if (shininess > kStrong) return 0;
  if (shininess > kMedium) return 1;
  if (shininess > kFaint) return 2;
  return -1;
}

uint32_t CubeMapName(int map) {
  if (map < 0 || map >= kCubeMaps || !kxgl::HasContext()) return 0;
  kxtexture* t = session.media.cubemap_textures[map];
  if (!t) return 0;
  if (!t->glName) {
    GLuint name = 0;
    glGenTextures(1, &name);
    t->glName = name;
  }
  return t->glName;
}

int ReflectionsOn() {
  return kxgl::caps.cube_map && kxgl::caps.multitexture && kxgl::caps.active_texture &&
         session.settings.gl_aircraft_reflections;
}

void BeginCubeReflection(int map) {
  if (!UnitOneUsable()) return;
  ActiveUnit(GL_TEXTURE1);
  GLuint name = map >= 0 ? CubeMapName(map) : 0;
  if (!name) {
    glDisable(GL_TEXTURE_CUBE_MAP);
    TexGen(false);
    ActiveUnit(GL_TEXTURE0);
    return;
  }
  float texture[16];
  ReflectionTextureMatrix(SceneView().view, texture);
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(texture);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_TEXTURE_CUBE_MAP);
  glBindTexture(GL_TEXTURE_CUBE_MAP, name);
  TexGen(true);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
  ActiveUnit(GL_TEXTURE0);
}

void BeginReflection(float shininess) { BeginCubeReflection(ReflectionMap(shininess)); }

void EndReflection() {
  if (!UnitOneUsable()) return;
  ActiveUnit(GL_TEXTURE1);
  glDisable(GL_TEXTURE_CUBE_MAP);
  TexGen(false);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  ActiveUnit(GL_TEXTURE0);
}

}  // namespace sim
