#include "graphics/texture_table.h"

#include <cstring>
#include <string>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "tools/texpaint/texpaint.h"
#include "test_support.h"

class TextureTable : public kxtest::GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    kxgl::ClearTextureTable();
  }
  void TearDown() override {
    kxgl::FreeAllTextures();
    GraphicsTest::TearDown();
  }
  // Sampled like a scenery picture; most tests here read texels, not sampling.
  static kxgl::textureoptions Tiled(int type) {
    return {.type = type, .filter = kxgl::kFilterLinear, .wrapS = kxgl::kWrapRepeat, .wrapT = kxgl::kWrapRepeat};
  }
  std::string WritePicture(const char* name, int width, int height, int channels, bool bmp) {
    kximage image;
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.pixels.resize(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 11 + 1);
    std::string path = Path(name);
    if (bmp) kxgl::WriteBmp(path.c_str(), image);
    else kxgl::WriteKxt(path.c_str(), image);
    picture_ = image;
    return path;
  }
  kximage picture_;
};

TEST_F(TextureTable, LoadsBmpTopRowFirstAndSharesByPathAndType) {
  std::string path = WritePicture("pic.bmp", 4, 2, 3, true);
  kxtexture* t = kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypeRGB});
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->width, 4);
  EXPECT_EQ(t->height, 2);
  EXPECT_EQ(t->bytesPerTexel, 3);
  EXPECT_EQ(std::memcmp(t->pixels, picture_.pixels.data(), 24), 0);
  EXPECT_EQ(t->glName, 0u);
  EXPECT_NE(Log().find("gl:  loading texture " + path + "=ok\n"), std::string::npos);
  EXPECT_EQ(kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypeRGB}), t);
  EXPECT_EQ(t->refs, 2);
  kxgl::FreeTexture(t);
  EXPECT_EQ(kxgl::TexturesInUse(), 1);
  kxgl::FreeTexture(t);
  EXPECT_EQ(kxgl::TexturesInUse(), 0);
}

// Each option lands in its own field of the entry; the defaults are the
// program's own pictures' (RGBA, nearest, clamped, whole size).
TEST_F(TextureTable, OptionsReachTheEntryFieldByField) {
  std::string path = WritePicture("pic.bmp", 2, 2, 3, true);
  kxtexture* own = kxgl::LoadTexture(path.c_str());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->type, kxgl::kTypeRGBA);
  EXPECT_EQ(own->filter, kxgl::kFilterNearest);
  EXPECT_EQ(own->wrapS, kxgl::kWrapClamp);
  EXPECT_EQ(own->wrapT, kxgl::kWrapClamp);
  EXPECT_EQ(own->mipmap, 0);
  EXPECT_EQ(own->reducible, 0);
  kxtexture* t = kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear,
                                                  .wrapS = kxgl::kWrapRepeat, .wrapT = kxgl::kWrapClampToEdge,
                                                  .mipmap = true, .reducible = true});
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->type, kxgl::kTypeRGB);
  EXPECT_EQ(t->filter, kxgl::kFilterLinear);
  EXPECT_EQ(t->wrapS, kxgl::kWrapRepeat);
  EXPECT_EQ(t->wrapT, kxgl::kWrapClampToEdge);
  EXPECT_EQ(t->mipmap, 1);
  EXPECT_EQ(t->reducible, 1);
}

TEST_F(TextureTable, SamePathWithAnotherTypeGetsItsOwnEntry) {
  std::string path = WritePicture("pic.kxt", 2, 2, 4, false);
  kxtexture* rgba = kxgl::LoadTexture(path.c_str(), Tiled(kxgl::kTypeRGBA));
  kxtexture* alpha = kxgl::LoadTexture(path.c_str(), Tiled(kxgl::kTypeAlpha));
  ASSERT_NE(rgba, nullptr);
  ASSERT_NE(alpha, nullptr);
  EXPECT_NE(rgba, alpha);
  // Type 1 takes the file's alpha channel.
  EXPECT_EQ(alpha->pixels[1], picture_.pixels[7]);
  kxgl::FreeTexture(alpha);
  EXPECT_EQ(rgba->refs, 1);
  EXPECT_NE(rgba->pixels, nullptr);
}

TEST_F(TextureTable, RgbFileGivesOpaqueRgbaAndMeanAlpha) {
  std::string path = WritePicture("pic.bmp", 1, 1, 3, true);
  kxtexture* rgba = kxgl::LoadTexture(path.c_str(), Tiled(kxgl::kTypeRGBA));
  kxtexture* alpha = kxgl::LoadTexture(path.c_str(), Tiled(kxgl::kTypeAlpha));
  ASSERT_NE(rgba, nullptr);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(rgba->pixels[3], 255);
  const uint8_t* p = picture_.pixels.data();
  EXPECT_EQ(alpha->pixels[0], (p[0] + p[1] + p[2]) / 3);
}

TEST_F(TextureTable, MissingFileLogsFailAndGivesNull) {
  std::string path = Path("none.bmp");
  EXPECT_EQ(kxgl::LoadTexture(path.c_str(), Tiled(kxgl::kTypeRGB)), nullptr);
  EXPECT_NE(Log().find("gl:  loading texture " + path + "=fail\n"), std::string::npos);
  EXPECT_EQ(kxgl::TexturesInUse(), 0);
}

TEST_F(TextureTable, TruncatedJpegGivesNullAndTheProgramGoesOn) {
  kximage picture;
  picture.width = picture.height = 32;
  picture.channels = 3;
  picture.pixels.assign(32 * 32 * 3, 0);
  for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<uint8_t>(i * 31);
  std::vector<uint8_t> jpeg = texpaint::EncodeJpeg(picture, 90);
  ASSERT_FALSE(jpeg.empty());
  std::string whole = Path("whole.jpg"), cut = Path("cut.jpg");
  kxgl::WriteFileBytes(whole.c_str(), jpeg.data(), jpeg.size());
  kxgl::WriteFileBytes(cut.c_str(), jpeg.data(), jpeg.size() / 2);
  EXPECT_EQ(kxgl::LoadTexture(cut.c_str(), Tiled(kxgl::kTypeRGB)), nullptr);
  EXPECT_NE(Log().find("JPEG ERROR="), std::string::npos);
  EXPECT_NE(Log().find("gl:  loading texture " + cut + "=fail\n"), std::string::npos);
  kxtexture* t = kxgl::LoadTexture(whole.c_str(), Tiled(kxgl::kTypeRGBA));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->width, 32);
  EXPECT_EQ(t->pixels[3], 255);
}

TEST_F(TextureTable, CreateTextureGivesZeroedBufferSharedByNameTypeAndSize) {
  kxtexture* t = kxgl::CreateTexture("PropBlurr", 1, 512, 512, 60, 71, 71, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->width * t->height * t->bytesPerTexel, 262144);
  EXPECT_EQ(t->pixels[262143], 0);
  EXPECT_EQ(t->uploaded, 0);
  EXPECT_EQ(kxgl::CreateTexture("PropBlurr", 1, 512, 512, 60, 71, 71, 0), t);
  kxtexture* other = kxgl::CreateTexture("PropBlurr", 4, 512, 512, 60, 71, 71, 0);
  EXPECT_NE(other, t);
  EXPECT_NE(kxgl::CreateTexture("PropBlurr", 1, 256, 512, 60, 71, 71, 0), t);
}

TEST_F(TextureTable, FullTableGivesNullWithOneLogLine) {
  char name[32];
  for (int i = 0; i < kxgl::kTextureCount; ++i) {
    std::snprintf(name, sizeof name, "t%d", i);
    ASSERT_NE(kxgl::CreateTexture(name, 1, 1, 1, 60, 71, 71, 0), nullptr) << i;
  }
  EXPECT_EQ(kxgl::CreateTexture("one too many", 1, 1, 1, 60, 71, 71, 0), nullptr);
  EXPECT_NE(Log().find("gl:  texture table full\n"), std::string::npos);
  EXPECT_EQ(kxgl::TexturesInUse(), kxgl::kTextureCount);
}

TEST_F(TextureTable, BadSizesAreRefused) {
  EXPECT_EQ(kxgl::CreateTexture("zero", 3, 0, 4, 60, 71, 71, 0), nullptr);
  EXPECT_EQ(kxgl::CreateTexture("type", 2, 4, 4, 60, 71, 71, 0), nullptr);
  EXPECT_EQ(kxgl::CreateTexture("huge", 3, 100000, 4, 60, 71, 71, 0), nullptr);
}

TEST_F(TextureTable, RotorDiscModeCapsAlphaAndBlurs) {
  kxtexture* t = kxgl::CreateTexture("disc", 4, 8, 8, 60, 71, 71, 0);
  for (int i = 0; i < 64; ++i) {
    t->pixels[i * 4] = i % 2 ? 255 : 0;
    t->pixels[i * 4 + 3] = 255;
  }
  kxgl::MakeProceduralTexture(t, 2, 100.0f);
  for (int i = 0; i < 64; ++i) EXPECT_LE(t->pixels[i * 4 + 3], 100);
  // A blurred stripe pattern no longer holds pure 0 or 255 inside.
  EXPECT_GT(t->pixels[(3 * 8 + 3) * 4], 0);
  EXPECT_LT(t->pixels[(3 * 8 + 3) * 4], 255);
}

TEST_F(TextureTable, ReverseRowsModeAndUnknownModeLogs) {
  kxtexture* t = kxgl::CreateTexture("rows", 1, 2, 3, 60, 71, 71, 0);
  const uint8_t rows[6] = {1, 2, 3, 4, 5, 6};
  std::memcpy(t->pixels, rows, 6);
  kxgl::MakeProceduralTexture(t, 1, 0.0f);
  const uint8_t reversed[6] = {5, 6, 3, 4, 1, 2};
  EXPECT_EQ(std::memcmp(t->pixels, reversed, 6), 0);
  kxgl::MakeProceduralTexture(t, 7, 0.0f);
  EXPECT_EQ(std::memcmp(t->pixels, reversed, 6), 0);
  EXPECT_NE(Log().find("gl:  procedural mode 7 unknown\n"), std::string::npos);
}

TEST_F(TextureTable, UpdateTextureResamplesAnotherSourceSize) {
  kxtexture* card = kxgl::CreateTexture("card", 3, 4, 4, 60, 71, 71, 0);
  // A 2 x 2 source: each texel becomes a 2 x 2 block; no read past its end.
  std::vector<uint8_t> source = {10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
  ASSERT_EQ(kxgl::UpdateTexture(card, source.data(), 3, 2, 2), 1);
  EXPECT_EQ(card->pixels[0], 10);
  EXPECT_EQ(card->pixels[(0 * 4 + 3) * 3], 20);
  EXPECT_EQ(card->pixels[(3 * 4 + 0) * 3 + 1], 31);
  EXPECT_EQ(card->pixels[(3 * 4 + 3) * 3 + 2], 42);
  EXPECT_EQ(kxgl::UpdateTexture(card, source.data(), 2, 2, 2), 0);
  EXPECT_EQ(kxgl::UpdateTexture(card, nullptr, 3), 0);
}

TEST_F(TextureTable, FreeingNullOrFreedEntriesIsHarmless) {
  kxgl::FreeTexture(nullptr);
  kxtexture* t = kxgl::CreateTexture("x", 3, 2, 2, 60, 71, 71, 0);
  kxgl::FreeTexture(t);
  kxgl::FreeTexture(t);
  EXPECT_EQ(kxgl::TexturesInUse(), 0);
}

TEST_F(TextureTable, UploadWithoutContextDoesNothing) {
  kxtexture* t = kxgl::CreateTexture("x", 3, 2, 2, 60, 71, 71, 0);
  EXPECT_EQ(kxgl::UploadTexture(t), 0);
  EXPECT_EQ(kxgl::UploadAllTextures(), 0);
  EXPECT_EQ(t->uploaded, 0);
  EXPECT_EQ(kxgl::UploadTexture(nullptr), 0);
}
