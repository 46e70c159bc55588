// Pictures of the sceneries: water, clouds, billboard trees and the card
// shown when a scenery has no preview.
#include <algorithm>
#include <cmath>

#include "tools/texpaint/texpaint.h"
#include "tools/texpaint/texpaint_noise.h"

namespace texpaint {
namespace {

// Sum of octaves of tileable value noise, 0..1, period size texels.
float Fractal(unsigned seed, int x, int y, int size, int octaves) {
  float sum = 0, weight = 0, amplitude = 1;
  int cells = 4;
  for (int o = 0; o < octaves && cells <= size; ++o, cells *= 2, amplitude *= 0.5f) {
    float scale = static_cast<float>(cells) / size;
    sum += amplitude * Smooth(seed + o, x * scale, y * scale, cells);
    weight += amplitude;
  }
  return weight > 0 ? sum / weight : 0;
}

uint8_t* At(kximage& image, int x, int y) {
  return &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
}

}  // namespace

kximage Water(int size, unsigned seed) {
  kximage image = Blank(size, size, 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float swell = Fractal(seed, x, y, size, 5), glint = Noise(seed + 9, x, y);
      uint8_t* p = At(image, x, y);
      p[0] = Byte(20 + 30 * swell);
      p[1] = Byte(70 + 60 * swell + 10 * glint);
      p[2] = Byte(110 + 70 * swell + 15 * glint);
    }
  }
  return image;
}

kximage Clouds(int size, unsigned seed) {
  kximage image = Blank(size, size, 1);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Fair-weather cover: the noise above a threshold, softened at the edges.
      float n = Fractal(seed, x, y, size, 6);
      At(image, x, y)[0] = Byte(255 * std::clamp((n - 0.45f) * 3.5f, 0.0f, 1.0f));
    }
  }
  return image;
}

kximage Tree(int width, int height, unsigned seed) {
  kximage image = Blank(width, height, 4);
  float cx = width / 2.0f, crownY = height * 0.42f, rx = width * 0.46f, ry = height * 0.42f;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = At(image, x, y);
      float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - crownY) / ry;
      float edge = 1.0f - 0.25f * Noise(seed, x / 2, y / 2);
      bool trunk = std::fabs(x + 0.5f - cx) < width * 0.05f && y > crownY;
      if (dx * dx + dy * dy < edge) {
        float shade = Noise(seed + 3, x, y);
        p[0] = Byte(25 + 30 * shade);
        p[1] = Byte(70 + 60 * shade - 20 * dy);
        p[2] = Byte(20 + 20 * shade);
        p[3] = 255;
      } else if (trunk) {
        p[0] = 90, p[1] = 60, p[2] = 35, p[3] = 255;
      }
    }
  }
  return image;
}

kximage Card(int width, int height) {
  static const int kSky[3] = {120, 170, 230}, kHorizon[3] = {215, 230, 245};
  kximage image = SkyGradient(width, height, kSky, kHorizon);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = At(image, x, y);
      // Rolling green hills below a sky, inside a white border.
      float hill = height * (0.62f + 0.06f * std::sin(x * 6.2832f / width * 2) + 0.03f * std::sin(x * 6.2832f / width * 5));
      if (y > hill) p[0] = 70, p[1] = Byte(130 + 40 * (y - hill) / height), p[2] = 60;
      int border = std::max(width, height) / 32 + 1;
      if (x < border || y < border || x >= width - border || y >= height - border) p[0] = p[1] = p[2] = 245;
    }
  }
  return image;
}

}  // namespace texpaint
