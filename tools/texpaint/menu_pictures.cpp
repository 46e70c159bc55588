#include "tools/texpaint/menu_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "graphics/font.h"
#include "tools/texpaint/texpaint.h"

namespace texpaint {

namespace {

constexpr float kPi = 3.14159265f;

uint8_t* At(kximage& image, int x, int y) {
  return &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
}

uint8_t Byte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f)); }

// Blends colour c at coverage a (0..1) into a texel.
void Blend(kximage& image, int x, int y, const float c[3], float a) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height || a <= 0) return;
  uint8_t* p = At(image, x, y);
  int colours = image.channels == 1 ? 0 : 3;
  for (int i = 0; i < colours; ++i) p[i] = Byte(p[i] + (c[i] - p[i]) * a);
  if (image.channels == 4 || image.channels == 1) {
    uint8_t& alpha = p[image.channels - 1];
    alpha = Byte(alpha + (255 - alpha) * a);
  }
}

// A disc of radius r around (cx, cy) with a one-texel soft edge.
void Disc(kximage& image, float cx, float cy, float r, const float c[3], float alpha = 1) {
  for (int y = static_cast<int>(cy - r - 1); y <= static_cast<int>(cy + r + 1); ++y)
    for (int x = static_cast<int>(cx - r - 1); x <= static_cast<int>(cx + r + 1); ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      Blend(image, x, y, c, alpha * std::clamp(r - d + 0.5f, 0.0f, 1.0f));
    }
}

// A line of width w from (x0, y0) to (x1, y1).
void Line(kximage& image, float x0, float y0, float x1, float y1, float w, const float c[3]) {
  float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  int xa = static_cast<int>(std::min(x0, x1) - w - 1), xb = static_cast<int>(std::max(x0, x1) + w + 1);
  int ya = static_cast<int>(std::min(y0, y1) - w - 1), yb = static_cast<int>(std::max(y0, y1) + w + 1);
  for (int y = ya; y <= yb; ++y)
    for (int x = xa; x <= xb; ++x) {
      float px = x + 0.5f - x0, py = y + 0.5f - y0;
      float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
      float d = std::hypot(px - t * dx, py - t * dy);
      Blend(image, x, y, c, std::clamp(w / 2 - d + 0.5f, 0.0f, 1.0f));
    }
}

const float kWhite[3] = {255, 255, 255};

// A round instrument face: dark disc, white ring and ticks; n ticks around
// the part of the circle from angle a0 to a1 (degrees, 0 up, clockwise).
kximage Dial(int size, int ticks, float a0, float a1) {
  kximage image = Blank(size, size, 4);
  float c = size / 2.0f, r = c - 2;
  const float face[3] = {25, 28, 32};
  Disc(image, c, c, r, kWhite);
  Disc(image, c, c, r - 3, face);
  for (int i = 0; i < ticks; ++i) {
    float a = (a0 + (a1 - a0) * i / std::max(ticks - 1, 1)) * kPi / 180;
    float len = i % 5 == 0 ? 0.2f : 0.1f;
    Line(image, c + std::sin(a) * r * (0.9f - len), c - std::cos(a) * r * (0.9f - len), c + std::sin(a) * r * 0.9f,
         c - std::cos(a) * r * 0.9f, i % 5 == 0 ? 3.0f : 1.5f, kWhite);
  }
  return image;
}

// A pointer needle from the centre up, on a transparent picture.
kximage Needle(int size) {
  kximage image = Blank(size, size, 4);
  float c = size / 2.0f;
  const float red[3] = {230, 60, 40};
  Line(image, c, c, c, size * 0.12f, 4, red);
  Disc(image, c, c, size * 0.06f, kWhite);
  return image;
}

// The artificial horizon's bezel, drawn over the turning ball: a dark rim
// and the fixed miniature aircraft; the middle stays clear so the ball shows.
kximage HorizonBezel(int size) {
  kximage image = Blank(size, size, 4);
  const float rim[3] = {25, 28, 32}, wings[3] = {250, 160, 30};
  float c = size / 2.0f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float d = std::hypot(x + 0.5f - c, y + 0.5f - c);
      Blend(image, x, y, d > c - 3 ? kWhite : rim, std::clamp(d - (c - 7), 0.0f, 1.0f) * std::clamp(c - 1 - d, 0.0f, 1.0f));
    }
  Line(image, size * 0.2f, c, size * 0.4f, c, 3, wings);
  Line(image, size * 0.6f, c, size * 0.8f, c, 3, wings);
  Disc(image, c, c, size * 0.03f, wings);
  return image;
}

// The compass's fixed glass: a clear picture with the lubber mark at the top
// and a dot in the middle, drawn over the turning card.
kximage CompassGlass(int size) {
  kximage image = Blank(size, size, 4);
  const float mark[3] = {250, 160, 30};
  float c = size / 2.0f;
  for (int i = 0; i < 6; ++i) Line(image, c - 6 + i * 0.8f, 4 + i * 1.6f, c + 6 - i * 0.8f, 4 + i * 1.6f, 2, mark);
  Disc(image, c, c, size * 0.04f, mark);
  return image;
}

kximage Compass(int size, bool rose) {
  kximage image = rose ? Blank(size, size, 3) : Dial(size, 36, 0, 350);
  float c = size / 2.0f;
  const float north[3] = {220, 50, 40}, south[3] = {230, 230, 230};
  Line(image, c, c, c, size * 0.1f, size * 0.05f, north);
  Line(image, c, c, c, size * 0.9f, size * 0.05f, south);
  Line(image, size * 0.1f, c, size * 0.9f, c, size * 0.02f, south);
  return image;
}

// A glow that falls off from the centre (the sun's back light), grey.
kximage Glow(int size) {
  kximage image = Blank(size, size, 3);
  float c = size / 2.0f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float d = std::hypot(x + 0.5f - c, y + 0.5f - c) / c;
      uint8_t v = Byte(255 * std::pow(std::max(0.0f, 1 - d), 2.0f));
      std::memset(At(image, x, y), v, 3);
    }
  return image;
}

kximage Ring(int size) {
  kximage image = Blank(size, size, 4);
  float c = size / 2.0f;
  Disc(image, c, c, c - 1, kWhite);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) At(image, x, y)[3] = Byte(At(image, x, y)[3] * 0.6f);
  return image;
}

// The menu background: sky over hills (upper picture) and a field (lower).
kximage MenuSky(int width, int height) {
  static const int top[3] = {30, 70, 150}, bottom[3] = {170, 200, 235};
  kximage image = SkyGradient(width, height, top, bottom);
  const float hill[3] = {70, 110, 70};
  for (int x = 0; x < width; ++x) {
    float h = height * (0.82f + 0.06f * std::sin(x * 0.013f) + 0.03f * std::sin(x * 0.041f + 1));
    for (int y = static_cast<int>(h); y < height; ++y) Blend(image, x, y, hill, 1);
  }
  return image;
}

kximage Splash(const kxglfont& font) {
  static const int top[3] = {20, 50, 120}, bottom[3] = {120, 160, 220};
  kximage image = SkyGradient(400, 240, top, bottom);
  static const int white[3] = {255, 255, 255};
  DrawLabel(image, font, "Skyvane Gold Edition", 200, 110, white);
  DrawLabel(image, font, "loading...", 200, 150, white);
  return image;
}

kximage Logo(const kxglfont& font) {
  kximage image = Blank(256, 64, 3);
  static const int gold[3] = {240, 200, 80};
  DrawLabel(image, font, "Skyvane", 128, 32, gold);
  return image;
}

kximage MenuButton(const kxglfont& font, const char* label) {
  static const int blue[3] = {60, 100, 170};
  static const int white[3] = {255, 255, 255};
  kximage image = Button(256, 64, blue);
  DrawLabel(image, font, label, 128, 32, white);
  return image;
}

}  // namespace

void DrawLabel(kximage& image, const kxglfont& font, const char* text, int cx, int cy, const int colour[3]) {
  int width = 0;
  for (const char* p = text; *p; ++p) width += font.glyphs[static_cast<unsigned char>(*p)].advance;
  int penX = cx - width / 2;
  // Image rows run down: the line box's bottom row puts the text's middle at cy.
  int boxBottom = cy + font.lineHeight / 2;
  const float c[3] = {static_cast<float>(colour[0]), static_cast<float>(colour[1]), static_cast<float>(colour[2])};
  for (const char* p = text; *p; ++p) {
    const kxglyph& g = font.glyphs[static_cast<unsigned char>(*p)];
    for (int gy = 0; gy < g.h; ++gy)
      for (int gx = 0; gx < g.w; ++gx) {
        float a = font.pixels[static_cast<size_t>(g.y + gy) * font.texWidth + g.x + gx] / 255.0f;
        Blend(image, penX + g.xoff + gx, boxBottom - g.yoff - g.h + 1 + gy, c, a);
      }
    penX += g.advance;
  }
}

int WriteMenuPictures(const std::string& folder, const kxglfont& font, const kxglfont& labelFont) {
  struct picture {
    const char* name;
    kximage image;
  };
  static const char* const kButtons[11][2] = {
      {"l1", "Aircraft I"}, {"l2", "Aircraft II"}, {"r2", "Remove II"}, {"sc", "Scenery"},
      {"ca", "Calibrate"},  {"co", "Controls"},    {"ea", "Edit aircraft"}, {"op", "Options"},
      {"he", "Help"},       {"go", "Fly"},         {"ex", "Exit"}};
  std::vector<picture> pictures = {
      {"splash", Splash(font)},
      {"logo", Logo(font)},
      {"smoke", Particle(64)},
      {"exhaust", Particle(32)},
      {"circle", Ring(64)},
      {"svmap00", MenuSky(512, 256)},
      {"svmap01", Grass(256, 9)},
      {"airspeed", Dial(128, 31, -135, 135)},
      {"caltimeter", Dial(128, 50, 0, 352.8f)},
      {"cvariometer", Dial(128, 21, -150, 150)},
      {"indicator", Needle(128)},
      // The card turns under the fixed glass; the ball turns under the bezel.
      {"ccompass", CompassGlass(128)},
      {"ccompassindicator", Compass(128, false)},
      {"chorizon", HorizonBezel(128)},
      {"backlight", Glow(128)},
      {"compass", Compass(128, true)},
  };
  for (const auto& b : kButtons) pictures.push_back({nullptr, MenuButton(labelFont, b[1])});
  int ok = 1, button = 0;
  for (const picture& p : pictures) {
    std::string name = p.name ? p.name : std::string("svgebutton") + kButtons[button++][0];
    std::string path = folder + "/" + name + ".bmp";
    if (!kxgl::WriteBmp(path.c_str(), p.image)) {
      std::fprintf(stderr, "paint_texture: cannot write %s\n", path.c_str());
      ok = 0;
    }
  }
  return ok;
}

}  // namespace texpaint
