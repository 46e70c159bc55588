// The blur disc is baked on the processor: the parts' triangles, turned
// through every pass, are filled into the texel grid row by row the way the
// graphics card's blending of half-transparent passes would colour it. A few
// milliseconds, against a quarter of a second and tens of megabytes of the
// software renderer's memory for 720 passes drawn through OpenGL.
#include "sim/views/blur_disc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/hooks.h"
#include "core/maths.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "sim/views/part_walk.h"

namespace sim {
namespace {

constexpr float kPassAlpha = 0.5f;      // each pass blends half over the last
constexpr float kBoxDepth = 5000.0f;    // m either side of the disc's plane that is drawn
constexpr uint32_t kDepthSteps = (1u << 24) - 1;  // a 24-bit depth buffer's steps over 2 kBoxDepth
constexpr uint32_t kFarDepth = kDepthSteps;       // cleared: nothing drawn there
constexpr float kDegrees = kxmaths::kRadiansPerDegree;

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

// The first texel whose centre (i + 0.5) lies at or beyond x, clamped to
// the picture's range (and so to int's) before rounding.
int FirstCentreAtOrBeyond(float x, int size) {
  const float t = std::clamp(x - 0.5f, -1.0f, static_cast<float>(size));
  int i = static_cast<int>(t);
  return i < t ? i + 1 : i;
}

// A vertex in texel units, with what is interpolated across a triangle.
struct rastervertex {
  float x, y;          // texels from the disc's corner (-radius, -radius)
  float depth;         // depth-buffer steps, nearer is smaller
  const float* rgba;   // 4
  const float* uv;     // 2
};

// The colour and depth buffers of the disc under construction: rows from
// the bottom, as the graphics card would read them back.
struct discpicture {
  int size;
  std::vector<float> rgb;       // 3 per texel, 0..255, rounded to whole steps after every pass
  std::vector<uint32_t> depth;  // per texel, kFarDepth where nothing was drawn
};

// A texture's texel at (s, t) as the card samples it for a mesh: linear
// filtering between the four nearest texels, clamped or repeated at the
// edges; rows run from t = 0 up. Alpha textures give white with their alpha.
void Sample(const kxtexture* tex, float s, float t, float out[4]) {
  const int w = tex->width, h = tex->height, n = tex->bytesPerTexel;
  auto texel = [&](int x, int y, float c[4]) {
    auto wrap = [](int i, int size, int mode) {
      if (mode == kxgl::kWrapClamp || mode == kxgl::kWrapClampToEdge) return std::clamp(i, 0, size - 1);
      i %= size;
      return i < 0 ? i + size : i;
    };
    const uint8_t* p = tex->pixels + (static_cast<size_t>(wrap(y, h, tex->wrapT)) * w + wrap(x, w, tex->wrapS)) * n;
    if (n == 1) {
      c[0] = c[1] = c[2] = 1.0f;
      c[3] = p[0] / 255.0f;
      return;
    }
    for (int k = 0; k < 3; ++k) c[k] = p[k] / 255.0f;
    c[3] = n == 4 ? p[3] / 255.0f : 1.0f;
  };
  float u = s * w - 0.5f, v = t * h - 0.5f;
  if (tex->filter != kxgl::kFilterLinear) {
    texel(static_cast<int>(std::floor(u + 0.5f)), static_cast<int>(std::floor(v + 0.5f)), out);
    return;
  }
  int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
  float fx = u - x0, fy = v - y0;
  float c[4][4];
  texel(x0, y0, c[0]);
  texel(x0 + 1, y0, c[1]);
  texel(x0, y0 + 1, c[2]);
  texel(x0 + 1, y0 + 1, c[3]);
  for (int k = 0; k < 4; ++k) {
    out[k] = (c[0][k] * (1 - fx) + c[1][k] * fx) * (1 - fy) + (c[2][k] * (1 - fx) + c[3][k] * fx) * fy;
  }
}

// Fills one triangle: texels whose centres lie inside (left and bottom
// edges included), nearer than or as near as what is there, blend the
// fragment's colour (vertex colour times texture) over the picture. Most
// fragments lie behind what an earlier pass drew, so the depth is stepped
// alone and the colour's gradients are made at the first fragment that
// passes.
void Fill(discpicture* pic, const rastervertex& a, const rastervertex& b, const rastervertex& c, const kxtexture* tex) {
  const float ylo = std::min({a.y, b.y, c.y}), yhi = std::max({a.y, b.y, c.y});
  const int j0 = std::max(0, FirstCentreAtOrBeyond(ylo, pic->size));
  const int j1 = std::min(pic->size - 1, FirstCentreAtOrBeyond(yhi, pic->size) - 1);
  if (j0 > j1) return;
  const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (!(std::fabs(area) > 0.0f)) return;
  const float inverse = 1.0f / area;
  // value(x, y) = value at a + per x * (x - a.x) + per y * (y - a.y).
  auto gradient = [&](float va, float vb, float vc, float* dx, float* dy) {
    *dx = ((vb - va) * (c.y - a.y) - (vc - va) * (b.y - a.y)) * inverse;
    *dy = ((vc - va) * (b.x - a.x) - (vb - va) * (c.x - a.x)) * inverse;
  };
  float depthX, depthY;
  gradient(a.depth, b.depth, c.depth, &depthX, &depthY);
  float attr[6][3];  // rgba, uv: value at a, per x, per y; made at the first fragment that passes
  bool colours = false;
  // Corners by height; each row's span runs between the long edge (low to
  // high) and the short edge below or above the middle corner.
  const rastervertex* v[3] = {&a, &b, &c};
  if (v[0]->y > v[1]->y) std::swap(v[0], v[1]);
  if (v[1]->y > v[2]->y) std::swap(v[1], v[2]);
  if (v[0]->y > v[1]->y) std::swap(v[0], v[1]);
  auto slope = [](const rastervertex* p, const rastervertex* q) { return q->y > p->y ? (q->x - p->x) / (q->y - p->y) : 0.0f; };
  const float longSlope = slope(v[0], v[2]), lowSlope = slope(v[0], v[1]), highSlope = slope(v[1], v[2]);
  for (int j = j0; j <= j1; ++j) {
    const float y = j + 0.5f;
    const float xLong = v[0]->x + (y - v[0]->y) * longSlope;
    const float xShort = y < v[1]->y ? v[0]->x + (y - v[0]->y) * lowSlope : v[1]->x + (y - v[1]->y) * highSlope;
    const float xlo = std::min(xLong, xShort), xhi = std::max(xLong, xShort);
    const int i0 = std::max(0, FirstCentreAtOrBeyond(xlo, pic->size));
    const int i1 = std::min(pic->size - 1, FirstCentreAtOrBeyond(xhi, pic->size) - 1);
    if (i0 > i1) continue;
    const float dy = y - a.y;
    const float rowDepth = a.depth + depthY * dy - depthX * a.x;
    size_t at = static_cast<size_t>(j) * pic->size + i0;
    for (int i = i0; i <= i1; ++i, ++at) {
      const float depthValue = rowDepth + depthX * (i + 0.5f);
      if (!(depthValue >= 0.0f && depthValue <= static_cast<float>(kDepthSteps))) continue;  // beyond the drawn depth
      const uint32_t depth = static_cast<uint32_t>(depthValue + 0.5f);
      if (depth > pic->depth[at]) continue;
      pic->depth[at] = depth;
      if (!colours) {
        const float va[6] = {a.rgba[0], a.rgba[1], a.rgba[2], a.rgba[3], a.uv[0], a.uv[1]};
        const float vb[6] = {b.rgba[0], b.rgba[1], b.rgba[2], b.rgba[3], b.uv[0], b.uv[1]};
        const float vc[6] = {c.rgba[0], c.rgba[1], c.rgba[2], c.rgba[3], c.uv[0], c.uv[1]};
        for (int k = 0; k < 6; ++k) {
          attr[k][0] = va[k];
          gradient(va[k], vb[k], vc[k], &attr[k][1], &attr[k][2]);
        }
        colours = true;
      }
      const float dx = i + 0.5f - a.x;
      float rgba[4];
      for (int k = 0; k < 4; ++k) rgba[k] = attr[k][0] + attr[k][1] * dx + attr[k][2] * dy;
      if (tex) {
        float t[4];
        Sample(tex, attr[4][0] + attr[4][1] * dx + attr[4][2] * dy, attr[5][0] + attr[5][1] * dx + attr[5][2] * dy, t);
        for (int k = 0; k < 4; ++k) rgba[k] *= t[k];
      }
      const float alpha = std::clamp(rgba[3], 0.0f, 1.0f);
      float* out = &pic->rgb[3 * at];
      for (int k = 0; k < 3; ++k) {
        const float src = std::clamp(rgba[k], 0.0f, 1.0f) * 255.0f;
        out[k] = static_cast<float>(static_cast<int>(src * alpha + out[k] * (1.0f - alpha) + 0.5f));
      }
    }
  }
}

// The triangles of the object's parts in the object's frame, with what a
// fragment needs, made once for all passes.
struct disctriangles {
  struct corner {
    float p[2];   // m, x and y in the object's frame
    float depth;  // depth-buffer steps of its height; the passes do not change it
    float rgba[4];
    float uv[2];
  };
  struct element {
    std::vector<corner> corners;  // three per triangle, in drawing order
    const kxtexture* texture;     // null: the vertex colour alone
  };
  std::vector<element> elements;
};

void Gather(const kxgeometry* el, const kxmatrix& m, disctriangles* out) {
  if (!el->vertices || !el->strips || el->vertexCount <= 0) return;
  const int floats = kxgeometry::FloatsPerVertex(el->format);
  if (floats <= 0) return;
  const int colours = kxgeometry::ColorFloats(el->format), texCoords = kxgeometry::TexCoordFloats(el->format);
  disctriangles::element e;
  e.texture = el->texture && el->texture->pixels && texCoords ? el->texture : nullptr;
  auto vertex = [&](uint32_t index) {
    const float* f = el->vertices + static_cast<size_t>(index) * floats;
    const float* p = f + floats - 3;
    disctriangles::corner c;
    c.p[0] = m.X.x * p[0] + m.Y.x * p[1] + m.Z.x * p[2] + m.R.x;
    c.p[1] = m.X.y * p[0] + m.Y.y * p[1] + m.Z.y * p[2] + m.R.y;
    const float z = m.X.z * p[0] + m.Y.z * p[1] + m.Z.z * p[2] + m.R.z;
    c.depth = (0.5f - 0.5f * z / kBoxDepth) * static_cast<float>(kDepthSteps);
    // Without a colour array the drawing's colour is white at half alpha;
    // three colours leave alpha whole.
    const float* rgba = f + texCoords;
    for (int k = 0; k < 4; ++k) c.rgba[k] = k < colours ? rgba[k] : (k < 3 || colours == 3 ? 1.0f : kPassAlpha);
    c.uv[0] = texCoords ? f[0] : 0.0f;
    c.uv[1] = texCoords ? f[1] : 0.0f;
    return c;
  };
  for (const uint32_t* run = el->strips; *run; run += *run + 1) {
    const uint32_t n = *run;
    for (uint32_t i = 0; i < n; ++i) {
      if (run[1 + i] >= static_cast<uint32_t>(el->vertexCount)) return;
    }
    for (uint32_t i = 2; i < n; ++i) {
      for (uint32_t k = i - 2; k <= i; ++k) e.corners.push_back(vertex(run[1 + k]));
    }
  }
  out->elements.push_back(std::move(e));
}

/* The passes turn the parts by kBlurStep each, as a turntable under a
   camera looking down; every pass blends its drawing over the last (alpha
   0.5), so a texel's colour builds up with how often a blade crosses it,
   and a part nearer the viewer hides what lies below it in that pass and
   later ones. */
void BakeDisc(const kxgeometricobject* object, float radius, discpicture* pic) {
  const size_t texels = static_cast<size_t>(pic->size) * pic->size;
  pic->rgb.assign(3 * texels, 0.0f);
  pic->depth.assign(texels, kFarDepth);
  disctriangles parts;
  ForEachPart(object, [&](const kxgeometricobject* child) {
    for (const kxgeometry* el = child->mesh; el; el = el->next) Gather(el, child->Matrix, &parts);
  });
  const float scale = pic->size / (2.0f * radius);
  for (int pass = 0; pass < kBlurPasses; ++pass) {
    const double angle = std::fmod(static_cast<double>(kBlurStep) * (pass + 1), 360.0) * kDegrees;
    const float cosine = static_cast<float>(std::cos(angle)), sine = static_cast<float>(std::sin(angle));
    for (const disctriangles::element& e : parts.elements) {
      rastervertex v[3];
      for (size_t k = 0; k < e.corners.size(); ++k) {
        const disctriangles::corner& c = e.corners[k];
        rastervertex& r = v[k % 3];
        r.x = (cosine * c.p[0] - sine * c.p[1] + radius) * scale;
        r.y = (sine * c.p[0] + cosine * c.p[1] + radius) * scale;
        r.depth = c.depth;
        r.rgba = c.rgba;
        r.uv = c.uv;
        if (k % 3 == 2) Fill(pic, v[0], v[1], v[2], e.texture);
      }
    }
  }
}

// Colour as baked; alpha 255 where anything was drawn.
void StoreDisc(const discpicture& pic, kxtexture* texture) {
  const int w = std::min(texture->width, pic.size), h = std::min(texture->height, pic.size);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * pic.size + x;
      uint8_t* texel = texture->pixels + (static_cast<size_t>(y) * texture->width + x) * 4;
      for (int k = 0; k < 3; ++k) texel[k] = static_cast<uint8_t>(pic.rgb[3 * i + k]);
      texel[3] = pic.depth[i] < kFarDepth ? 255 : 0;
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
  if (std::isfinite(radius) && radius > 0.0f) {
    discpicture pic;
    pic.size = size;
    BakeDisc(object, radius, &pic);
    StoreDisc(pic, texture);
  } else {
    std::fill(texture->pixels, texture->pixels + static_cast<size_t>(size) * size * 4, uint8_t{0});
    kxcore::Log("sim:  blur disc %s radius %g=fail\n", name ? name : "", static_cast<double>(radius));
  }
  kxgl::MakeProceduralTexture(texture, kBlurMode, kBlurAlphaCap);
  kxgl::UploadTexture(texture);
}

}  // namespace sim
