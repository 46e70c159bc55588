// Building blocks the texture painters share: blank pictures, deterministic
// hash noise and tileable value noise.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/image.h"

namespace texpaint {

inline kximage Blank(int width, int height, int channels) {
  kximage image;
  image.width = width;
  image.height = height;
  image.channels = channels;
  image.pixels.assign(static_cast<size_t>(width) * height * channels, 0);
  return image;
}

// Small deterministic hash noise in 0..1; the pictures must not change from
// one run to the next.
inline float Noise(unsigned seed, int x, int y) {
  uint32_t h = seed * 374761393u + static_cast<uint32_t>(x) * 668265263u + static_cast<uint32_t>(y) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFF) / 65535.0f;
}

// Tileable value noise, period = size / scale.
inline float Smooth(unsigned seed, float x, float y, int period) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  auto at = [&](int i, int j) { return Noise(seed, ((i % period) + period) % period, ((j % period) + period) % period); };
  float a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

inline uint8_t Byte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f)); }

}  // namespace texpaint
