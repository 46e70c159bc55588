// Sections: colours and texels; rings; the three lists; BuildSky.
#include "sim/views/sky.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "core/maths.h"
#include "graphics/draw.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_gl.h"
#include "graphics/texture_table.h"
#include "sim/session.h"
#include "sim/views/display_lists.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr int kSegments = 18;             // 20 degrees each
constexpr float kSkyHeight = 2.4f;        // x cloud height: zenith cap and ceiling
constexpr float kBandHeight = 2.3f;       // x cloud height: the high cloud band
constexpr float kCapRadius = 0.1f;        // x range
constexpr float kCloudInner = 0.3f;       // x range: where the cloud layers turn opaque
constexpr float kBandRepeat = 0.2f;       // the band repeats its texture a fifth as often
constexpr float kSkirtDepth = -200.0f;    // m, the ocean skirt's lower edge
constexpr float kRainGrey = 120.0f;
constexpr float kRainShare = 0.25f;
constexpr uint8_t kRainAlpha = 220;
constexpr float kOceanColour[4] = {0.5f, 0.5f, 0.8f, 0.85f};

struct skycolours {
  cloudtype type;
  float colours[3][3];  // zenith, haze, upper horizon
};
constexpr skycolours kSkyTable[] = {
    {kCloudsNone, {{0.0f, 0.4f, 0.8f}, {0.75f, 0.85f, 0.88f}, {0.8f, 0.9f, 0.99f}}},
    {kCloudsFair, {{0.02f, 0.12f, 0.67f}, {0.65f, 0.75f, 0.78f}, {0.41f, 0.61f, 0.95f}}},
    {kCloudsRain, {{0.22f, 0.3f, 0.69f}, {0.55f, 0.65f, 0.68f}, {0.33f, 0.41f, 0.65f}}},
};
enum { kZenith, kHaze, kUpperHorizon, kOceanDepth };

uint8_t ClampByte(float v) {
  if (!(v > 0.0f)) return 0;  // also NaN
  return v >= 255.0f ? 255 : static_cast<uint8_t>(v);
}

// ---- rings: point k of kSegments + 1 (the last repeats the first)

float Cos(int k) { return std::cos(static_cast<float>(k % kSegments) * 2.0f * kxmaths::kPi / kSegments); }
float Sin(int k) { return std::sin(static_cast<float>(k % kSegments) * 2.0f * kxmaths::kPi / kSegments); }

// A flat disc at height z, its points in decreasing angle so it faces down.
void Disc(float radius, float z, float texScale) {
  glBegin(GL_POLYGON);
  for (int k = kSegments; k > 0; --k) {
    float x = radius * Cos(k), y = radius * Sin(k);
    glTexCoord2f(x * texScale, y * texScale);
    glVertex3f(x, y, z);
  }
  glEnd();
}

// A flat ring at height z from the outer to the inner radius, each edge in
// its own colour; faces down.
void Ring(float outer, float inner, float z, const float outerColour[4], const float innerColour[4], float texScale) {
  glBegin(GL_QUAD_STRIP);
  for (int k = 0; k <= kSegments; ++k) {
    float c = Cos(k), s = Sin(k);
    glColor4fv(outerColour);
    glTexCoord2f(outer * c * texScale, outer * s * texScale);
    glVertex3f(outer * c, outer * s, z);
    glColor4fv(innerColour);
    glTexCoord2f(inner * c * texScale, inner * s * texScale);
    glVertex3f(inner * c, inner * s, z);
  }
  glEnd();
}

// An upright wall at the radius from z0 to z1; faces inwards.
void Wall(float radius, float z0, float z1, const float bottom[3], const float top[3]) {
  glBegin(GL_QUAD_STRIP);
  for (int k = 0; k <= kSegments; ++k) {
    float x = radius * Cos(k), y = radius * Sin(k);
    glColor3fv(bottom);
    glVertex3f(x, y, z0);
    glColor3fv(top);
    glVertex3f(x, y, z1);
  }
  glEnd();
}

void Opaque(const float rgb[3], float out[4]) {
  out[0] = rgb[0], out[1] = rgb[1], out[2] = rgb[2], out[3] = 1.0f;
}

bool HasClouds(const world& w) {
  return w.cloud_texture && w.cloud_pixels && w.cloud_low_texture && w.cloud_texture->pixels &&
         w.cloud_low_texture->pixels && w.cloud_low_texture->width == w.cloud_texture->width &&
         w.cloud_low_texture->height == w.cloud_texture->height && w.cloud_texture->bytesPerTexel == 1 &&
         w.cloud_low_texture->bytesPerTexel == 4;
}

void RegenerateClouds(world& w, cloudtype cloudType) {
  kxtexture* alpha = w.cloud_texture;
  kxtexture* colour = w.cloud_low_texture;
  const long count = static_cast<long>(alpha->width) * alpha->height;
  const int rain = cloudType == kCloudsRain;
  for (long i = 0; i < count; ++i) {
    cloudtexel t = CloudTexel(w.cloud_pixels[i], w.cloud_exponent, w.cloud_density, rain);
    alpha->pixels[i] = t.alpha;
    std::memcpy(colour->pixels + 4 * i, t.rgba, 4);
  }
  alpha->uploaded = 0;
  colour->uploaded = 0;
  kxgl::UploadTexture(alpha);
  kxgl::UploadTexture(colour);
}

// ---- the three lists

void SkyList(const world& w, cloudtype cloudType, bool clouds) {
  const float R = static_cast<float>(w.scenery_size), h = static_cast<float>(w.cloud_height);
  float zenith[4], haze[4], upper[4];
  Opaque(w.sky_colours[kZenith], zenith);
  Opaque(w.sky_colours[kHaze], haze);
  Opaque(w.sky_colours[kUpperHorizon], upper);
  glNewList(kListSky, GL_COMPILE);
  glDisable(GL_TEXTURE_2D);
  glColor4fv(zenith);
  Disc(kCapRadius * R, kSkyHeight * h, 0.0f);
  Ring(R, kCapRadius * R, kSkyHeight * h, upper, zenith, 0.0f);
  Wall(R, 0.0f, kSkyHeight * h, haze, upper);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  if (cloudType != kCloudsNone && clouds && w.cloud_texture->glName) {
    const float clear[4] = {1, 1, 1, 0}, white[4] = {1, 1, 1, 1};
    const float scale = kBandRepeat * static_cast<float>(w.cloud_repeat) / R;
    glBindTexture(GL_TEXTURE_2D, w.cloud_texture->glName);
    glColor4fv(white);
    Disc(kCloudInner * R, kBandHeight * h, scale);
    Ring(R, kCloudInner * R, kBandHeight * h, clear, white, scale);
  }
  glEndList();
}

void LowCloudList(const world& w) {
  const float R = static_cast<float>(w.scenery_size), h = static_cast<float>(w.cloud_height);
  const float clear[4] = {1, 1, 1, 0}, white[4] = {1, 1, 1, 1};
  const float scale = static_cast<float>(w.cloud_repeat) / R;
  glNewList(kListLowClouds, GL_COMPILE);
  glDisable(GL_CULL_FACE);
  glColor4fv(white);
  if (w.cloud_low_texture->glName) glBindTexture(GL_TEXTURE_2D, w.cloud_low_texture->glName);
  Disc(kCloudInner * R, h, scale);
  Ring(R, kCloudInner * R, h, clear, white, scale);
  glEnable(GL_CULL_FACE);
  glEndList();
}

void OceanList(const world& w) {
  glNewList(kListOcean, GL_COMPILE);
  if (w.ocean) {
    const float R = static_cast<float>(w.scenery_size);
    glDisable(GL_TEXTURE_2D);
    Wall(R, kSkirtDepth, 0.0f, w.sky_colours[kOceanDepth], w.sky_colours[kHaze]);
    glEnable(GL_TEXTURE_2D);
    glColor4fv(kOceanColour);
    if (w.water_texture && w.water_texture->glName) glBindTexture(GL_TEXTURE_2D, w.water_texture->glName);
    kxgl::DrawGeometryPlain(w.ocean);
  }
  glEndList();
}

void DeleteList(int id) {
  if (glIsList(static_cast<GLuint>(id))) glDeleteLists(static_cast<GLuint>(id), 1);
}

}  // namespace

int SkyColours(cloudtype cloudType, float out[3][3]) {
  for (const skycolours& row : kSkyTable) {
    if (row.type != cloudType) continue;
    std::memcpy(out, row.colours, sizeof row.colours);
    return 1;
  }
  return 0;
}

cloudtexel CloudTexel(uint8_t source, float exponent, float density, int rain) {
  const float a = std::pow(static_cast<float>(source) / 255.0f, exponent);
  cloudtexel t{};
  t.alpha = ClampByte(a * 255.0f * density);
  if (rain) {
    const uint8_t grey = ClampByte(kRainShare * a * 255.0f * density + kRainGrey);
    t.rgba[0] = t.rgba[1] = t.rgba[2] = grey;
    t.rgba[3] = kRainAlpha;
  } else {
    t.rgba[0] = t.rgba[1] = t.rgba[2] = 255;
    t.rgba[3] = t.alpha;
  }
  return t;
}

void BuildSky(world* w) {
  if (!w) return;
  const cloudtype cloudType = session.settings.cloud_type;
  const bool context = kxgl::HasContext();
  if (context) {
    for (int id : {kListLowClouds, kListSky, kListOcean}) DeleteList(id);
  }
  SkyColours(cloudType, w->sky_colours);
  const bool clouds = HasClouds(*w);
  if (clouds) RegenerateClouds(*w, cloudType);
  if (!context) return;
  if (w->water_texture && (!w->water_texture->uploaded || !w->water_texture->glName))
    kxgl::UploadTexture(w->water_texture);
  SkyList(*w, cloudType, clouds);
  if (clouds) LowCloudList(*w);
  OceanList(*w);
}

}  // namespace sim
