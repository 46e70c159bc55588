#include "tools/texpaint/texpaint.h"

#include <gtest/gtest.h>

TEST(TexturePainter, PointerTipIsTheTopLeftTexel) {
  kximage p = texpaint::Pointer();
  ASSERT_EQ(p.channels, 4);
  EXPECT_EQ(p.pixels[3], 255);                        // (0, 0) opaque
  EXPECT_EQ(p.pixels[(p.width - 1) * 4 + 3], 0);      // top-right clear
  EXPECT_EQ(p.pixels[((p.height - 1) * p.width) * 4 + 3], 0);
}

TEST(TexturePainter, PicturesAreDeterministicAndTile) {
  kximage a = texpaint::Grass(64, 5), b = texpaint::Grass(64, 5);
  EXPECT_EQ(a.pixels, b.pixels);
  // Broad variation repeats: the left column blends into the right one.
  int diff = 0;
  for (int y = 0; y < 64; ++y) diff += std::abs(a.pixels[(y * 64) * 3 + 1] - a.pixels[(y * 64 + 63) * 3 + 1]);
  EXPECT_LT(diff / 64, 40);
}

TEST(TexturePainter, ParticleFadesToTheRim) {
  kximage p = texpaint::Particle(32);
  EXPECT_GT(p.pixels[(16 * 32 + 16) * 4 + 3], 240);
  EXPECT_EQ(p.pixels[3], 0);
}

TEST(TexturePainter, SkyRunsFromTopColourToBottomColour) {
  const int top[3] = {0, 0, 200}, bottom[3] = {200, 200, 255};
  kximage s = texpaint::SkyGradient(2, 10, top, bottom);
  EXPECT_EQ(s.pixels[2], 200);
  EXPECT_EQ(s.pixels[(9 * 2) * 3], 200);
  EXPECT_TRUE(texpaint::ByName("nothing").pixels.empty());
}
