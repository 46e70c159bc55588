// In-place edits of a texture's texels made before upload: row reversal and
// the soft, see-through look of rotor and propeller discs.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "graphics/texture_table.h"

namespace kxgl {
namespace {
constexpr int kModeReverseRows = 1;
constexpr int kModeRotorDisc = 2;
}  // namespace

void MakeProceduralTexture(kxtexture* texture, int mode, float param) {
  if (!texture || !texture->pixels) return;
  int w = texture->width, h = texture->height, n = texture->bytesPerTexel;
  size_t rowBytes = static_cast<size_t>(w) * n;
  if (mode == kModeReverseRows) {
    std::vector<uint8_t> row(rowBytes);
    for (int y = 0; y < h / 2; ++y) {
      uint8_t* a = texture->pixels + y * rowBytes;
      uint8_t* b = texture->pixels + (h - 1 - y) * rowBytes;
      std::memcpy(row.data(), a, rowBytes);
      std::memcpy(a, b, rowBytes);
      std::memcpy(b, row.data(), rowBytes);
    }
  } else if (mode == kModeRotorDisc) {
    int alphaChannel = texture->type == kTypeAlpha ? 0 : texture->type == kTypeRGBA ? 3 : -1;
    if (alphaChannel >= 0 && std::isfinite(param)) {
      float cap = std::clamp(param, 0.0f, 255.0f);
      uint8_t limit = static_cast<uint8_t>(cap);
      for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        uint8_t& a = texture->pixels[i * n + alphaChannel];
        a = std::min(a, limit);
      }
    }
    // Box blur over the texels that exist: edges average fewer neighbours.
    std::vector<uint8_t> source(texture->pixels, texture->pixels + rowBytes * h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        for (int c = 0; c < n; ++c) {
          int sum = 0, count = 0;
          for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
              int sx = x + dx, sy = y + dy;
              if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
              sum += source[sy * rowBytes + sx * n + c];
              ++count;
            }
          }
          texture->pixels[y * rowBytes + x * n + c] = static_cast<uint8_t>((sum + count / 2) / count);
        }
      }
    }
  } else {
    kxcore::Log("gl:  procedural mode %d unknown\n", mode);
    return;
  }
  texture->uploaded = 0;
}

}  // namespace kxgl
