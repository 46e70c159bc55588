#include "tools/texpaint/texpaint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace texpaint {

kximage Blank(int width, int height, int channels) {
  kximage image;
  image.width = width;
  image.height = height;
  image.channels = channels;
  image.pixels.assign(static_cast<size_t>(width) * height * channels, 0);
  return image;
}

namespace {

// Small deterministic hash noise in 0..1; the pictures must not change from
// one run to the next.
float Noise(unsigned seed, int x, int y) {
  uint32_t h = seed * 374761393u + static_cast<uint32_t>(x) * 668265263u + static_cast<uint32_t>(y) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFF) / 65535.0f;
}

// Tileable value noise, period = size / scale.
float Smooth(unsigned seed, float x, float y, int period) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  auto at = [&](int i, int j) { return Noise(seed, ((i % period) + period) % period, ((j % period) + period) % period); };
  float a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

uint8_t Byte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f)); }

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

kximage Grass(int size, unsigned seed) {
  kximage image = Blank(size, size, 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float broad = Smooth(seed, x / 16.0f, y / 16.0f, std::max(size / 16, 1));
      float fine = Noise(seed + 1, x, y);
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * size + x) * 3];
      p[0] = Byte(50 + 30 * broad + 20 * fine);
      p[1] = Byte(95 + 50 * broad + 35 * fine);
      p[2] = Byte(30 + 15 * broad + 10 * fine);
    }
  }
  return image;
}

kximage Asphalt(int size, unsigned seed) {
  kximage image = Blank(size, size, 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float grain = Noise(seed, x, y), patch = Smooth(seed + 7, x / 32.0f, y / 32.0f, std::max(size / 32, 1));
      float v = 70 + 25 * patch + 30 * grain;
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * size + x) * 3];
      p[0] = p[1] = Byte(v);
      p[2] = Byte(v + 4);
    }
  }
  return image;
}

kximage SkyGradient(int width, int height, const int top[3], const int bottom[3]) {
  kximage image = Blank(width, height, 3);
  for (int y = 0; y < height; ++y) {
    float f = height > 1 ? static_cast<float>(y) / (height - 1) : 0.0f;
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        image.pixels[(static_cast<size_t>(y) * width + x) * 3 + c] = Byte(top[c] + (bottom[c] - top[c]) * f);
  }
  return image;
}

kximage Particle(int size) {
  kximage image = Blank(size, size, 4);
  float r = size / 2.0f;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float dx = (x + 0.5f - r) / r, dy = (y + 0.5f - r) / r;
      float d = std::sqrt(dx * dx + dy * dy);
      float a = d >= 1 ? 0.0f : 0.5f + 0.5f * std::cos(d * 3.14159265f);
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * size + x) * 4];
      p[0] = p[1] = p[2] = 255;
      p[3] = Byte(255 * a);
    }
  }
  return image;
}

kximage Pointer() {
  // 1 outline, 2 fill; rows top-down, the tip at (0, 0).
  static const char* kArrow[] = {
      "1               ", "11              ", "121             ", "1221            ",
      "12221           ", "122221          ", "1222221         ", "12222221        ",
      "122222221       ", "1222222221      ", "12222211111     ", "1221221         ",
      "121 1221        ", "11  1221        ", "1    1221       ", "     1221       ",
      "      11        ", "                ", "                ", "                "};
  const int width = 16, height = 20;
  kximage image = Blank(width, height, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
      char c = kArrow[y][x];
      if (c == '1') p[0] = p[1] = p[2] = 0, p[3] = 255;
      if (c == '2') p[0] = p[1] = p[2] = 255, p[3] = 255;
    }
  }
  return image;
}

kximage Button(int width, int height, const int colour[3]) {
  kximage image = Blank(width, height, 4);
  float radius = std::min(width, height) * 0.25f;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Distance outside the rounded rectangle, for a soft edge.
      float cx = std::clamp(x + 0.5f, radius, width - radius), cy = std::clamp(y + 0.5f, radius, height - radius);
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
      float a = std::clamp(0.5f - d, 0.0f, 1.0f);
      float shade = 1.15f - 0.35f * y / std::max(height - 1, 1);
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
      for (int c = 0; c < 3; ++c) p[c] = Byte(colour[c] * shade);
      p[3] = Byte(255 * a);
    }
  }
  return image;
}

kximage IconSheet(int cell, int cols, int rows) {
  kximage image = Blank(cell * cols, cell * rows, 4);
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < cols; ++i) {
      int kind = j * cols + i;
      for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
          float u = (x + 0.5f) / cell - 0.5f, v = (y + 0.5f) / cell - 0.5f;
          bool on = false;
          switch (kind % 4) {
            case 0: on = u * u + v * v < 0.16f && u * u + v * v > 0.09f; break;   // ring
            case 1: on = std::fabs(u) < 0.35f && std::fabs(v) < 0.35f; break;      // square
            case 2: on = v > -0.35f && std::fabs(u) < (v + 0.35f) * 0.6f && v < 0.35f; break;  // triangle
            default: on = std::fabs(u) < 0.08f || std::fabs(v) < 0.08f; break;     // cross
          }
          uint8_t* p = &image.pixels[(static_cast<size_t>(j * cell + y) * cols * cell + i * cell + x) * 4];
          p[0] = p[1] = p[2] = 255;
          p[3] = on ? 255 : 0;
        }
      }
    }
  }
  return image;
}

kximage ButtonFrames(int cell, int sheet) {
  constexpr int kBorder = 3;  // texels
  const uint8_t light[3] = {250, 250, 250}, dark[3] = {70, 70, 70};
  kximage image = Blank(sheet, sheet, 4);
  for (int frame = 0; frame < 2; ++frame) {
    bool pressed = frame == 1;
    for (int y = 0; y < cell && y < sheet; ++y) {
      for (int x = 0; x < cell && frame * cell + x < sheet; ++x) {
        int fromEdge = std::min(std::min(x, y), std::min(cell - 1 - x, cell - 1 - y));
        if (fromEdge >= kBorder) continue;
        // Rows run top-down: the top and left edges catch the light.
        bool upperLeft = (y < kBorder && y < cell - 1 - x) || (x < kBorder && x < cell - 1 - y);
        const uint8_t* c = upperLeft != pressed ? light : dark;
        uint8_t* p = At(image, frame * cell + x, y);
        p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = 255;
      }
    }
  }
  return image;
}

// Scenery pictures.

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

kximage About(int size, int usedRows) {
  static const int kTop[3] = {30, 80, 190}, kHorizon[3] = {200, 225, 245};
  kximage image = Blank(size, size, 3);
  int rows = std::min(usedRows, size);
  kximage sky = SkyGradient(size, rows, kTop, kHorizon);
  std::copy(sky.pixels.begin(), sky.pixels.end(), image.pixels.begin());
  const float kPi = 3.14159265f;
  for (int x = 0; x < size; ++x) {
    float u = static_cast<float>(x) / size;
    // Two layers of hills, the far one bluish, the near one green.
    int far = static_cast<int>(rows * (0.70f + 0.05f * std::sin(u * 2 * kPi * 2 + 1.0f)));
    int near = static_cast<int>(rows * (0.80f + 0.06f * std::sin(u * 2 * kPi * 1.5f + 2.5f)));
    for (int y = far; y < rows; ++y) {
      uint8_t* p = At(image, x, y);
      p[0] = 90, p[1] = 130, p[2] = 140;
    }
    for (int y = near; y < rows; ++y) {
      float shade = 0.8f + 0.2f * Fractal(7, x, y, size, 4);
      uint8_t* p = At(image, x, y);
      p[0] = Byte(60 * shade), p[1] = Byte(140 * shade), p[2] = Byte(50 * shade);
    }
  }
  // A glider seen from below: long thin wings, a fuselage and a tail.
  const float cx = size * 0.55f, cy = rows * 0.32f;
  auto fill = [&](float x0, float y0, float x1, float y1) {
    for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y)
      for (int x = static_cast<int>(x0); x < static_cast<int>(x1); ++x)
        if (x >= 0 && x < size && y >= 0 && y < rows) {
          uint8_t* p = At(image, x, y);
          p[0] = 245, p[1] = 245, p[2] = 240;
        }
  };
  float span = size * 0.40f;
  fill(cx - span / 2, cy - 3, cx + span / 2, cy + 3);            // wing
  fill(cx - size * 0.09f, cy - 2, cx + size * 0.12f, cy + 2);    // fuselage
  fill(cx - size * 0.10f, cy - 14, cx - size * 0.08f, cy + 14);  // tailplane
  return image;
}

kximage ByName(const std::string& kind) {
  static const int kSkyTop[3] = {40, 90, 200}, kSkyBottom[3] = {190, 215, 240};
  static const int kButton[3] = {70, 110, 180};
  if (kind == "grass") return Grass(256, 1);
  if (kind == "asphalt") return Asphalt(256, 2);
  if (kind == "sky") return SkyGradient(4, 256, kSkyTop, kSkyBottom);
  if (kind == "particle") return Particle(64);
  if (kind == "pointer") return Pointer();
  if (kind == "button") return Button(128, 32, kButton);
  if (kind == "icons") return IconSheet(32, 8, 4);
  if (kind == "water") return Water(256, 4);
  if (kind == "clouds") return Clouds(256, 5);
  if (kind == "tree") return Tree(64, 128, 6);
  if (kind == "card") return Card(256, 256);
  if (kind == "about") return About(512, 420);
  // The designer's button frames and pictures.
  if (kind == "designerframes") return ButtonFrames(40, 256);
  if (kind == "designericons") return IconSheet(32, 8, 8);
  // Small pictures for test seeds.
  if (kind == "tinygrass") return Grass(8, 3);
  if (kind == "tinyparticle") return Particle(8);
  return kximage{};
}

}  // namespace texpaint
