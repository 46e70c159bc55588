// Sections: the last build; the faces; the maps; BuildReflectionMaps.
#include "sim/views/reflection_maps.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "core/vector3.h"
#include "dynamics/flight_state.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "platform/gl_context.h"
#include "platform/text.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/reflection.h"
#include "sim/views/render_to_texture.h"
#include "sim/views/scene.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr int kFaces = 6;
constexpr float kFaceHalf = 0.1f;     // frustum half-width at the near plane: a 90 degree view
constexpr float kFaceNear = 0.1f;     // m
constexpr float kFarFactor = 2.0f;    // far plane at twice the scenery's range
constexpr float kSamePlace = 1.0f;    // m a rebuild waits for
constexpr float kNowhere = 100000.0f; // m, the last place before any build

// ---- the last build

struct lastbuild {
  float position[3] = {kNowhere, kNowhere, kNowhere};
  char scenery[world::kNameChars] = {};
};
lastbuild last;

// 1 when every map still has its picture in this context.
bool MapsExist() {
  for (const kxtexture* t : session.media.cubemap_textures)
    if (t && !t->glName) return false;
  return true;
}

bool SameAsLast(const world& w, const float p[3]) {
  const float dx = p[0] - last.position[0], dy = p[1] - last.position[1], dz = p[2] - last.position[2];
  return kxsystem::StrEqualNoCase(w.name, last.scenery) && std::sqrt(dx * dx + dy * dy + dz * dz) <= kSamePlace;
}

// ---- the faces

/* Each face is seen with X forward and Y left (Z = X x Y up on the
   screen). The scene's lookup turns world directions 90 degrees about x
   (z up becomes the cube's -y), and a face's picture, read bottom row
   first, must then run along OpenGL's s and t for that face. The face
   looking down (+y of the cube) needs its left along -x for that; with
   left along +x it would come out turned half a turn. */
struct faceview {
  float X[3];
  float Y[3];
};
constexpr faceview kFaceViews[kFaces] = {
    {{1, 0, 0}, {0, 1, 0}},    // GL_TEXTURE_CUBE_MAP_POSITIVE_X
    {{-1, 0, 0}, {0, -1, 0}},  // NEGATIVE_X
    {{0, 0, -1}, {-1, 0, 0}},  // POSITIVE_Y: straight down
    {{0, 0, 1}, {-1, 0, 0}},   // NEGATIVE_Y: straight up
    {{0, 1, 0}, {-1, 0, 0}},   // POSITIVE_Z
    {{0, -1, 0}, {1, 0, 0}},   // NEGATIVE_Z
};

// The six faces' RGB bytes, face after face, each S x S from the bottom row.
void RenderFaces(const world& w, const float P[3], int S, uint8_t* faces) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  rendertarget target;
  if (BeginRenderTarget(S, S, &target)) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-kFaceHalf, kFaceHalf, -kFaceHalf, kFaceHalf, kFaceNear,
              kFarFactor * static_cast<float>(w.scenery_size));
    glMatrixMode(GL_MODELVIEW);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const int rows = std::min(S, target.readHeight), columns = std::min(S, target.readWidth);
    for (int f = 0; f < kFaces; ++f) {
      const faceview& v = kFaceViews[f];
      float Z[3];
      kxvector3::Cross(Z, v.X, v.Y);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
      DrawScene(&players[0], P, v.X, v.Y, Z, 1.0f, 0.0f, 0, 0, 0);
      // On a back buffer smaller than a face the rows beyond it stay black.
      uint8_t* face = faces + static_cast<size_t>(f) * S * S * 3;
      std::memset(face, 0, static_cast<size_t>(S) * S * 3);
      glPixelStorei(GL_PACK_ROW_LENGTH, S);
      glReadPixels(0, 0, columns, rows, GL_RGB, GL_UNSIGNED_BYTE, face);
    }
    EndRenderTarget(target);
  }
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopClientAttrib();
  glPopAttrib();
}

// ---- the maps

void UploadMap(int map, int S, const uint8_t* faces) {
  const GLuint name = CubeMapName(map);
  if (!name) return;
  glBindTexture(GL_TEXTURE_CUBE_MAP, name);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int f = 0; f < kFaces; ++f)
    gluBuild2DMipmaps(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(f), GL_RGB, S, S, GL_RGB,
                      GL_UNSIGNED_BYTE, faces + static_cast<size_t>(f) * S * S * 3);
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

// The session's reserve when it was made for this face size, else a buffer of our own.
uint8_t* Buffer(void* reserve, size_t bytes, std::vector<uint8_t>& own) {
  if (reserve && session.media.cube_size == kCubeSize) return static_cast<uint8_t*>(reserve);
  own.resize(bytes);
  return own.data();
}

}  // namespace

int ReflectionTexel(int byte, int map) {
  const float v = static_cast<float>(byte) / 255.0f;
  const float m = 255.0f / static_cast<float>((map + 1) * (map + 1));
  return static_cast<int>(m * (0.125f * v + 0.25f * v * v * v));
}

void ForgetReflectionMaps() { last = lastbuild(); }

// ---- BuildReflectionMaps

void BuildReflectionMaps(world* w) {
  const kxdflightstate* aircraft = players[0].flight_state;
  if (!w || !kxgl::caps.cube_map || !kxgl::HasContext() || !aircraft || !aircraft->position()) return;
  const float* P = aircraft->position();
  if (SameAsLast(*w, P) && MapsExist()) return;
  kxcore::Log("sim:  building rflmaps=(%.2f %.2f %.2f) ", static_cast<double>(P[0]), static_cast<double>(P[1]),
                static_cast<double>(P[2]));
  std::copy(P, P + 3, last.position);
  std::snprintf(last.scenery, sizeof last.scenery, "%s", w->name);

  const int S = kCubeSize;
  const size_t faceBytes = static_cast<size_t>(kFaces) * S * S * 3;
  std::vector<uint8_t> ownFaces, ownMaps;
  uint8_t* faces = Buffer(session.media.reflection_maps2, faceBytes, ownFaces);
  uint8_t* maps = Buffer(session.media.reflection_maps1, faceBytes * kCubeMaps, ownMaps);
  RenderFaces(*w, P, S, faces);

  // Every byte value gives the same texel: one table per map.
  for (int map = 0; map < kCubeMaps; ++map) {
    uint8_t table[256];
    for (int b = 0; b < 256; ++b) table[b] = static_cast<uint8_t>(ReflectionTexel(b, map));
    uint8_t* out = maps + faceBytes * map;
    for (size_t i = 0; i < faceBytes; ++i) out[i] = table[faces[i]];
    UploadMap(map, S, out);
  }
  kxcore::Log("done\n");
}

}  // namespace sim
