// The picture drawn on the spinning discs of propellers and rotors: a round
// grey fade, 0.3 at the centre to 0.2 at the rim, with a brighter band
// across it along the vertical that makes the disc read as blades in motion.
// It is made by rule, so no file ships with it.
#pragma once

#include <cstdint>

struct kxtexture;

namespace dnsmodel {

constexpr const char* kBlurTextureName = "PropBlurr";
constexpr int kBlurTextureSize = 512;   // texels per side; the disc's centre is texel (255, 255)

// The texel at column i and row j (0 .. kBlurTextureSize-1): 0 outside the
// disc, else the fade and the band, times 255.
uint8_t BlurTexel(int i, int j);

// Creates (or finds by name and size) the one-byte-per-texel blur texture
// and fills its texels; null, after a log line, when the texture table has
// no room. It is uploaded when first drawn.
kxtexture* MakeBlurTexture();

}  // namespace dnsmodel
