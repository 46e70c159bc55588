// OpenGL side of the texture table: upload with filter, wrap, mip levels,
// quality halving and compression; binding; context loss.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/gl_frame.h"
#include "graphics/image.h"
#include "graphics/texture_gl.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"

namespace kxgl {
namespace {

GLint FilterOf(int code) { return code == kFilterLinear ? GL_LINEAR : GL_NEAREST; }

GLint MipFilterOf(int code) { return code == kFilterLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST; }

GLint WrapOf(int code) {
  if (code == kWrapClamp) return GL_CLAMP;
  if (code == kWrapClampToEdge) return GL_CLAMP_TO_EDGE;
  return GL_REPEAT;
}

GLenum FormatOf(int type) {
  switch (type) {
    case kTypeAlpha: return GL_ALPHA;
    case kTypeRGBA: return GL_RGBA;
    default: return GL_RGB;
  }
}

// Halves a texel block with a 2 x 2 box filter (odd edges repeat).
void Halve(std::vector<uint8_t>& texels, int& width, int& height, int channels) {
  int w = width > 1 ? width / 2 : 1, h = height > 1 ? height / 2 : 1;
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * channels);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int x0 = std::min(2 * x, width - 1), x1 = std::min(2 * x + 1, width - 1);
      int y0 = std::min(2 * y, height - 1), y1 = std::min(2 * y + 1, height - 1);
      for (int c = 0; c < channels; ++c) {
        int sum = texels[(static_cast<size_t>(y0) * width + x0) * channels + c] +
                  texels[(static_cast<size_t>(y0) * width + x1) * channels + c] +
                  texels[(static_cast<size_t>(y1) * width + x0) * channels + c] +
                  texels[(static_cast<size_t>(y1) * width + x1) * channels + c];
        out[(static_cast<size_t>(y) * w + x) * channels + c] = static_cast<uint8_t>((sum + 2) / 4);
      }
    }
  }
  texels.swap(out);
  width = w;
  height = h;
}

}  // namespace

void DeleteGLName(kxtexture* texture) {
  if (texture->glName && HasContext()) {
    GLuint name = texture->glName;
    glDeleteTextures(1, &name);
  }
  texture->glName = 0;
  texture->uploaded = 0;
}

int UploadTexture(kxtexture* texture) {
  if (!texture || !texture->pixels || texture->cube || !HasContext()) return 0;
  if (!texture->glName) {
    GLuint name = 0;
    glGenTextures(1, &name);
    texture->glName = name;
  }
  glBindTexture(GL_TEXTURE_2D, texture->glName);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

  int width = texture->width, height = texture->height, channels = texture->bytesPerTexel;
  const uint8_t* texels = texture->pixels;
  std::vector<uint8_t> reduced;
  int halvings = texture->reducible ? std::clamp(textureQuality, kQualityHigh, kQualityLow) : 0;
  // The user's limit, and the context's own, on the longer edge.
  int limit = maxTextureSize > 0 ? maxTextureSize : width;
  if (caps.max_texture_size > 0) limit = std::min(limit, caps.max_texture_size);
  for (int w = width >> halvings, h = height >> halvings; (w > limit || h > limit) && w > 1 && h > 1; w >>= 1, h >>= 1)
    ++halvings;
  if (halvings > 0) {
    reduced.assign(texture->pixels, texture->pixels + static_cast<size_t>(width) * height * channels);
    for (int i = 0; i < halvings; ++i) Halve(reduced, width, height, channels);
    texels = reduced.data();
  }

  GLenum format = FormatOf(texture->type);
  GLint internal = static_cast<GLint>(format);
  // Photo tiles, and pictures whose file asks for it, may trade detail for memory.
  bool compressible = texture->type == kTypePhoto || (texture->fileFlags & kKxtFlagCompressed);
  if (compressible && textureCompression && caps.compressed_textures)
    internal = texture->type == kTypeRGBA ? GL_COMPRESSED_RGBA_ARB
               : texture->type == kTypeAlpha ? GL_COMPRESSED_ALPHA_ARB
                                             : GL_COMPRESSED_RGB_ARB;

  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, FilterOf(texture->filter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  texture->mipmap ? MipFilterOf(texture->filter) : FilterOf(texture->filter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WrapOf(texture->wrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WrapOf(texture->wrapT));
  if (texture->mipmap) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, internal, width, height, format, GL_UNSIGNED_BYTE, texels);
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, internal, width, height, 0, format, GL_UNSIGNED_BYTE, texels);
  }
  texture->uploaded = 1;
  return 1;
}

int UploadAllTextures() {
  if (!HasContext()) return 0;
  int count = 0;
  for (int i = 0; i < kTextureCount; ++i) {
    kxtexture* t = TextureEntry(i);
    if (t->refs && !t->uploaded && !t->cube) count += UploadTexture(t);
  }
  return count;
}

int BindTexture(kxtexture* texture) {
  if (!texture || !HasContext()) return 0;
  if ((!texture->uploaded || !texture->glName) && !UploadTexture(texture)) return 0;
  glBindTexture(GL_TEXTURE_2D, texture->glName);
  return 1;
}

void ContextLost() {
  for (int i = 0; i < kTextureCount; ++i) {
    kxtexture* t = TextureEntry(i);
    if (t->refs) DeleteGLName(t);
  }
}

}  // namespace kxgl
