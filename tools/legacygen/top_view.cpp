#include "tools/legacygen/top_view.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "graphics/mesh.h"

namespace legacygen {
namespace {

constexpr int kMarginPixels = 3;
constexpr float kSky[3] = {0.62f, 0.78f, 0.95f};
constexpr float kLeastShade = 0.45f;   // of a face standing on its edge

struct point {
  float col, row, z;
};

float Edge(const point& a, const point& b, float col, float row) {
  return (b.col - a.col) * (row - a.row) - (b.row - a.row) * (col - a.col);
}

}  // namespace

kximage TopView(const kxgeometry* list, int size) {
  kximage image;
  image.width = image.height = size;
  image.channels = 3;
  image.pixels.resize(static_cast<size_t>(size) * size * 3);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(kSky[i % 3] * 255.0f);

  float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
  for (const kxgeometry* el = list; el; el = el->next) {
    for (int i = 0; i < el->vertexCount; ++i) {
      float p[3];
      kxgeometry::GetVertexPosition(el, i, p);
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
    }
  }
  float extent = std::max(hi[0] - lo[0], hi[1] - lo[1]);
  if (!(extent > 0.0f)) return image;
  float scale = static_cast<float>(size - 2 * kMarginPixels) / extent;
  float colOffset = 0.5f * (static_cast<float>(size) - (hi[1] - lo[1]) * scale);
  float rowOffset = 0.5f * (static_cast<float>(size) - (hi[0] - lo[0]) * scale);

  // Seen from above: the nose (largest x) at the top, the left wing (largest
  // y) on the left; the highest surface wins each pixel.
  std::vector<float> depth(static_cast<size_t>(size) * size, -std::numeric_limits<float>::infinity());
  for (const kxgeometry* el = list; el; el = el->next) {
    for (int t = 0; t < el->triangleCount; ++t) {
      float p[3][3];
      point s[3];
      for (int k = 0; k < 3; ++k) {
        kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[t * 3 + k]), p[k]);
        s[k] = {(hi[1] - p[k][1]) * scale + colOffset, (hi[0] - p[k][0]) * scale + rowOffset, p[k][2]};
      }
      float u[3], v[3];
      for (int k = 0; k < 3; ++k) u[k] = p[1][k] - p[0][k], v[k] = p[2][k] - p[0][k];
      float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
      float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      float area = Edge(s[0], s[1], s[2].col, s[2].row);
      if (length <= 0.0f || area == 0.0f) continue;
      float shade = kLeastShade + (1.0f - kLeastShade) * std::fabs(n[2]) / length;
      int c0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].col, s[1].col, s[2].col}))));
      int c1 = std::min(size - 1, static_cast<int>(std::ceil(std::max({s[0].col, s[1].col, s[2].col}))));
      int r0 = std::max(0, static_cast<int>(std::floor(std::min({s[0].row, s[1].row, s[2].row}))));
      int r1 = std::min(size - 1, static_cast<int>(std::ceil(std::max({s[0].row, s[1].row, s[2].row}))));
      for (int row = r0; row <= r1; ++row) {
        for (int col = c0; col <= c1; ++col) {
          float x = col + 0.5f, y = row + 0.5f;
          float w0 = Edge(s[1], s[2], x, y) / area, w1 = Edge(s[2], s[0], x, y) / area;
          float w2 = 1.0f - w0 - w1;
          if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f) continue;
          float z = w0 * s[0].z + w1 * s[1].z + w2 * s[2].z;
          size_t at = static_cast<size_t>(row) * size + col;
          if (z < depth[at]) continue;
          depth[at] = z;
          for (int k = 0; k < 3; ++k) {
            float value = std::clamp(el->diffuse[k] * shade, 0.0f, 1.0f);
            image.pixels[at * 3 + k] = static_cast<uint8_t>(value * 255.0f);
          }
        }
      }
    }
  }
  return image;
}

}  // namespace legacygen
