#include "sim/views/blur_disc.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/hooks.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "sim/views/part_walk.h"
#include "sim/views/render_to_texture.h"

namespace sim {
namespace {

constexpr int kBlurMode = 2;  // the procedural step's alpha cap and 3 x 3 blur
constexpr uint8_t kFarDepth = 255;  // the cleared depth as a byte: nothing drawn there

// The object's disc becomes texture; a reference the object held on an
// earlier one is given back.
void HoldDisc(kxgeometricobject* object, kxtexture* texture) {
  if (object->discTexture == texture) {
    kxgl::FreeTexture(texture);  // the object already holds this entry once
    return;
  }
  if (object->discTexture) kxgl::FreeTexture(object->discTexture);
  object->discTexture = texture;
}

/* The passes blend each blade drawing over the last (alpha 0.5) with the
   depth test passing equal depths, so the texel colour builds up with how
   often a blade crosses it, and the depth byte tells where anything was
   drawn at all. Lighting is off: the disc takes the blades' texture and
   the white colour, not the scene's light at set-up. */
void DrawBlades(const kxgeometricobject* object, float radius) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  PushBoxView(-radius, radius, -radius, radius);
  glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
  for (int pass = 0; pass < kBlurPasses; ++pass) {
    glRotatef(kBlurStep, 0.0f, 0.0f, 1.0f);
    ForEachPart(object, [](const kxgeometricobject* child) {
      glPushMatrix();
      glMultMatrixf(child->Matrix.Data());
      kxgl::DrawGeometryTextured(child->mesh);
      glPopMatrix();
    });
  }
  PopBoxView();
}

// Colour as read; alpha from whether the depth buffer was written.
void ReadDisc(const rendertarget& target, kxtexture* texture) {
  const int w = std::min(texture->width, target.readWidth), h = std::min(texture->height, target.readHeight);
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3), depth(static_cast<size_t>(w) * h);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glReadPixels(0, 0, w, h, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, depth.data());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      uint8_t* texel = texture->pixels + (static_cast<size_t>(y) * texture->width + x) * 4;
      texel[0] = rgb[3 * i];
      texel[1] = rgb[3 * i + 1];
      texel[2] = rgb[3 * i + 2];
      texel[3] = depth[i] < kFarDepth ? 255 : 0;
    }
  }
}

}  // namespace

void RenderShadowTexture(kxgeometricobject* object, const char* name, float radius, int size) {
  if (!object) return;
  kxtexture* texture = kxgl::CreateTexture(name, kxgl::kTypeRGBA, size, size, kxgl::kFilterLinear, kxgl::kWrapClamp,
                                           kxgl::kWrapClamp, 0);
  if (!texture) return;
  HoldDisc(object, texture);
  texture->uploaded = 0;
  if (!kxgl::HasContext()) return;
  if (std::isfinite(radius) && radius > 0.0f) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    rendertarget target;
    if (BeginRenderTarget(size, size, &target)) {
      DrawBlades(object, radius);
      ReadDisc(target, texture);
      EndRenderTarget(target);
    }
    glPopClientAttrib();
    glPopAttrib();
  } else {
    kxcore::Log("sim:  blur disc %s radius %g=fail\n", name ? name : "", static_cast<double>(radius));
  }
  kxgl::MakeProceduralTexture(texture, kBlurMode, kBlurAlphaCap);
  kxgl::UploadTexture(texture);
}

}  // namespace sim
