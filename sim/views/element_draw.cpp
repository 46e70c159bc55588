#include "sim/views/element_draw.h"

#include <GL/gl.h>

#include <algorithm>

#include "graphics/mesh.h"
#include "graphics/texture_gl.h"
#include "graphics/texture_table.h"

namespace sim {
namespace {

constexpr float kMaxShininess = 128.0f;  // OpenGL's limit for the specular exponent

}  // namespace

void BindElementTexture(const kxgeometry* el, const kxtexture** bound) {
  if (!el->texture) {
    glDisable(GL_TEXTURE_2D);
    return;
  }
  if (el->texture != *bound) {
    if (!kxgl::BindTexture(el->texture)) {
      glDisable(GL_TEXTURE_2D);
      return;
    }
    *bound = el->texture;
  }
  glEnable(GL_TEXTURE_2D);
}

void SetFrontAndBackMaterial(const kxgeometry* el, float shininess) {
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, el->ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, el->diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, el->specular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(shininess, 0.0f, kMaxShininess));
}

void UploadElementTextures(const kxgeometry* list) {
  for (const kxgeometry* el = list; el; el = el->next) {
    kxtexture* t = el->texture;
    if (t && !t->cube && (!t->uploaded || !t->glName)) kxgl::UploadTexture(t);
  }
}

}  // namespace sim
