#include "legacy/blur_texture.h"

#include <algorithm>
#include <cmath>

#include "core/hooks.h"
#include "core/maths.h"
#include "graphics/texture_table.h"

namespace dnsmodel {
namespace {

using kxmaths::kPi;
constexpr float kCentre = 255.0f;       // texel of the disc's centre
constexpr float kRadius = 256.0f;       // texels
constexpr float kBandFloor = 0.85f;     // sin^2 of the angle above it makes the band
constexpr float kCentreGrey = 0.3f;
constexpr float kRimGrey = 0.2f;

// The angle of (a, b) from the +a axis, with the edge cases on the b axis
// taken as the disc has always been drawn: straight down at the centre.
float Angle(float a, float b) {
  if (a > 0.0f) return std::atan(b / a);
  if (a < 0.0f) return std::atan(b / a) + kPi;
  return b > 0.0f ? kPi / 2.0f : -kPi / 2.0f;
}

}  // namespace

uint8_t BlurTexel(int i, int j) {
  float a = (static_cast<float>(i) - kCentre) / kRadius;
  float b = (static_cast<float>(j) - kCentre) / kRadius;
  float r = std::sqrt(a * a + b * b);
  if (r > 1.0f) return 0;
  float s = std::sin(Angle(a, b));
  float band = std::max(s * s - kBandFloor, 0.0f);
  float v = std::min(band + kCentreGrey * (1.0f - r) + kRimGrey * r, 1.0f);
  return static_cast<uint8_t>(v * 255.0f);
}

kxtexture* MakeBlurTexture() {
  kxtexture* t = kxgl::CreateTexture(kBlurTextureName, kxgl::kTypeAlpha, kBlurTextureSize, kBlurTextureSize,
                                     kxgl::kFilterLinear, kxgl::kWrapClamp, kxgl::kWrapClamp, 0);
  if (!t || !t->pixels) {
    kxcore::Log("dnsmodel:  no room for texture %s; propellers and rotors are drawn without discs\n",
                kBlurTextureName);
    return nullptr;
  }
  for (int j = 0; j < kBlurTextureSize; ++j) {
    for (int i = 0; i < kBlurTextureSize; ++i) t->pixels[i + kBlurTextureSize * j] = BlurTexel(i, j);
  }
  return t;
}

}  // namespace dnsmodel
