// Texture table entries: claiming, sharing, loading, conversion, freeing and
// the CPU-side edits. Everything here works without an OpenGL context.
#include "graphics/texture_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "graphics/gl_frame.h"
#include "graphics/image.h"
#include "graphics/reserve_bridge.h"
#include "graphics/texture_gl.h"

namespace kxgl {

int textureQuality = kQualityHigh;
int textureCompression = 0;
int maxTextureSize = kDefaultMaxTextureSize;

namespace {

constexpr const char* kReserveName = "kxtexture";

kxtexture table[kTextureCount];

void CopyName(kxtexture* t, const char* name) {
  std::snprintf(t->name, sizeof t->name, "%s", name ? name : "");
}

void ReleaseEntry(kxtexture* t) {
  DeleteGLName(t);
  void* pixels = t->pixels;
  ReleaseBytes(&pixels);
  std::memset(t, 0, sizeof *t);
}

kxtexture* ClaimEntry(const char* name, int type, int width, int height, int filter, int wrapS, int wrapT,
                      int mipmap) {
  for (kxtexture& t : table) {
    if (t.refs) continue;
    std::memset(&t, 0, sizeof t);
    void* pixels = nullptr;
    size_t bytes = static_cast<size_t>(width) * height * BytesPerTexel(type);
    if (!ReserveBytes(&pixels, bytes, kReserveName)) return nullptr;
    CopyName(&t, name);
    t.pixels = static_cast<uint8_t*>(pixels);
    t.width = width;
    t.height = height;
    t.type = type;
    t.bytesPerTexel = BytesPerTexel(type);
    t.filter = filter;
    t.wrapS = wrapS;
    t.wrapT = wrapT;
    t.mipmap = mipmap;
    t.refs = 1;
    return &t;
  }
  kxcore::Log("gl:  texture table full\n");
  return nullptr;
}

bool SizeValid(int type, int width, int height) {
  return BytesPerTexel(type) > 0 && ImageSizeAllowed(width, height);
}

// One texel of any channel count, as RGBA with alpha 255 when absent.
void TexelRGBA(const uint8_t* p, int channels, uint8_t out[4]) {
  if (channels == 1) {
    out[0] = out[1] = out[2] = 255;
    out[3] = p[0];
  } else {
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
    out[3] = channels == 4 ? p[3] : 255;
  }
}

// Writes one source texel into a texture of the given type. Type 1 takes the
// source's alpha when it has one, else the mean of its colours.
void StoreTexel(const uint8_t* src, int channels, int type, uint8_t* dst) {
  uint8_t rgba[4];
  TexelRGBA(src, channels, rgba);
  switch (type) {
    case kTypeAlpha:
      dst[0] = channels == 3 ? static_cast<uint8_t>((rgba[0] + rgba[1] + rgba[2]) / 3) : rgba[3];
      break;
    case kTypeRGBA:
      std::memcpy(dst, rgba, 4);
      break;
    default:
      std::memcpy(dst, rgba, 3);
      break;
  }
}

}  // namespace

int BytesPerTexel(int type) {
  switch (type) {
    case kTypeAlpha: return 1;
    case kTypeRGB: return 3;
    case kTypeRGBA: return 4;
    case kTypePhoto: return 3;
    default: return 0;
  }
}

void ClearTextureTable() {
  for (kxtexture& t : table) {
    if (t.refs || t.pixels) ReleaseEntry(&t);
  }
}

kxtexture* CreateTexture(const char* name, int type, int width, int height, int filter, int wrapS, int wrapT,
                         int mipmap) {
  if (!SizeValid(type, width, height)) {
    kxcore::Log("gl:  texture %s size %dx%d type %d invalid\n", name ? name : "", width, height, type);
    return nullptr;
  }
  const char* key = name ? name : "";
  for (kxtexture& t : table) {
    if (t.refs && t.type == type && t.width == width && t.height == height && std::strcmp(t.name, key) == 0) {
      ++t.refs;
      return &t;
    }
  }
  return ClaimEntry(key, type, width, height, filter, wrapS, wrapT, mipmap);
}

kxtexture* LoadTexture(const char* path, const textureoptions& options) {
  const int type = options.type;
  const char* key = path ? path : "";
  for (kxtexture& t : table) {
    if (t.refs && t.fromFile && t.type == type && std::strcmp(t.name, key) == 0) {
      ++t.refs;
      return &t;
    }
  }
  // Reader complaints come first, then the whole result line.
  kximage image;
  kxtexture* t = nullptr;
  if (BytesPerTexel(type) && ReadImageFile(key, &image)) {
    t = ClaimEntry(key, type, image.width, image.height, options.filter, options.wrapS, options.wrapT,
                   options.mipmap ? 1 : 0);
  }
  kxcore::Log("gl:  loading texture %s=%s\n", key, t ? "ok" : "fail");
  if (!t) return nullptr;
  t->fromFile = 1;
  t->reducible = options.reducible ? 1 : 0;
  t->fileFlags = image.flags;
  size_t count = static_cast<size_t>(image.width) * image.height;
  for (size_t i = 0; i < count; ++i)
    StoreTexel(&image.pixels[i * image.channels], image.channels, type, t->pixels + i * t->bytesPerTexel);
  return t;
}

void FreeTexture(kxtexture* texture) {
  if (!texture || texture->refs <= 0) return;
  if (--texture->refs == 0) ReleaseEntry(texture);
}

kxtexture* ShareTexture(kxtexture* texture) {
  if (!texture || texture->refs <= 0) return nullptr;
  ++texture->refs;
  return texture;
}

void FreeAllTextures() {
  for (kxtexture& t : table) {
    if (t.refs || t.pixels) ReleaseEntry(&t);
  }
}

int UpdateTexture(kxtexture* texture, const uint8_t* pixels, int kind, int srcWidth, int srcHeight) {
  if (!texture || !texture->pixels || !pixels) return 0;
  if ((kind != kTypeAlpha && kind != kTypeRGB && kind != kTypeRGBA) || !ImageSizeAllowed(srcWidth, srcHeight))
    return 0;
  for (int y = 0; y < texture->height; ++y) {
    int sy = static_cast<int>(static_cast<int64_t>(y) * srcHeight / texture->height);
    for (int x = 0; x < texture->width; ++x) {
      int sx = static_cast<int>(static_cast<int64_t>(x) * srcWidth / texture->width);
      const uint8_t* src = pixels + (static_cast<size_t>(sy) * srcWidth + sx) * kind;
      StoreTexel(src, kind, texture->type,
                 texture->pixels + (static_cast<size_t>(y) * texture->width + x) * texture->bytesPerTexel);
    }
  }
  int wasUploaded = texture->uploaded;
  texture->uploaded = 0;
  if (wasUploaded && HasContext()) UploadTexture(texture);
  return 1;
}

int UpdateTexture(kxtexture* texture, const uint8_t* pixels, int kind) {
  if (!texture) return 0;
  return UpdateTexture(texture, pixels, kind, texture->width, texture->height);
}

kxtexture* TextureEntry(int index) {
  if (index < 0 || index >= kTextureCount) return nullptr;
  return &table[index];
}

int TexturesInUse() {
  int n = 0;
  for (const kxtexture& t : table) n += t.refs > 0;
  return n;
}

}  // namespace kxgl
