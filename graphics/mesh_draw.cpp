#include <GL/gl.h>

#include <algorithm>

#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/texture_gl.h"
#include "graphics/texture_table.h"

namespace kxgl {
namespace {

constexpr float kMaxShininess = 128.0f;  // OpenGL's limit for the specular exponent

void DrawStrips(const kxgeometry* el) {
  if (!el->vertices || !el->strips || el->vertexCount == 0) return;
  glInterleavedArrays(el->format, 0, el->vertices);
  for (const uint32_t* run = el->strips; *run; run += *run + 1)
    glDrawElements(GL_TRIANGLE_STRIP, static_cast<GLsizei>(*run), GL_UNSIGNED_INT, run + 1);
}

void BindElementTexture(const kxgeometry* el) {
  if (el->texture && BindTexture(el->texture)) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}

}  // namespace

int DrawElement(const kxgeometry* el) {
  if (!el || !HasContext()) return 0;
  BindElementTexture(el);
  glColor4fv(el->diffuse);
  glMaterialfv(GL_FRONT, GL_AMBIENT, el->ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, el->diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, el->specular);
  glMaterialf(GL_FRONT, GL_SHININESS, std::clamp(el->shininess, 0.0f, kMaxShininess));
  DrawStrips(el);
  return 1;
}

int DrawGeometry(const kxgeometry* list) {
  if (!HasContext()) return 0;
  for (const kxgeometry* el = list; el; el = el->next)
    if (!el->transparent) DrawElement(el);
  return 1;
}

int DrawGeometryTextured(const kxgeometry* list) {
  if (!HasContext()) return 0;
  for (const kxgeometry* el = list; el; el = el->next) {
    BindElementTexture(el);
    DrawStrips(el);
  }
  return 1;
}

int DrawGeometryPlain(const kxgeometry* list) {
  if (!HasContext()) return 0;
  for (const kxgeometry* el = list; el; el = el->next) DrawStrips(el);
  return 1;
}

int DrawElementPlain(const kxgeometry* el) {
  if (!el || !HasContext()) return 0;
  DrawStrips(el);
  return 1;
}

int UploadGeometryTextures(const kxgeometry* first) {
  if (!first || !first->info || !HasContext()) return 0;
  int count = 0;
  for (int i = 0; i < first->info->textureCount; ++i) count += UploadTexture(first->info->textures[i]);
  return count;
}

}  // namespace kxgl
