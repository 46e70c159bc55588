#include "platform/splash_bitmap.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/image_limits.h"
#include "platform/files.h"
#include "tests/temp_dir.h"

namespace {

constexpr uint32_t kCore = 12, kInfo = 40;  // header bytes

// A bitmap of one header and `pixels` bytes of rows: enough for the check,
// which reads no texel.
std::string Bitmap(uint32_t header, int width, int height, int bits, uint32_t compression, size_t pixels) {
  const size_t offset = 14 + header;
  std::string b(offset + pixels, '\0');
  auto put = [&b](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> 8 * i);
  };
  put(0, 'B' | 'M' << 8, 2);
  put(2, static_cast<uint32_t>(b.size()), 4);
  put(10, static_cast<uint32_t>(offset), 4);
  put(14, header, 4);
  const int side = header == kCore ? 2 : 4;
  put(18, static_cast<uint32_t>(width), side);
  put(18 + side, static_cast<uint32_t>(height), side);
  put(18 + 2 * side, 1, 2);
  put(20 + 2 * side, static_cast<uint32_t>(bits), 2);
  if (header == kInfo) put(30, compression, 4);
  return b;
}

class SplashBitmapTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    kxsystem::SetDataFolder(nullptr);
  }
};

// Each row is refused for its own reason before the window system sees the
// header; the first two are taken whole.
TEST_F(SplashBitmapTest, EachRefusalIsNamedByTheCheck) {
  const long long tooLong = kxcore::kMaxImageFileBytes + 1;
  struct row {
    const char* what;
    std::string bytes;
    long long fileBytes;  // the file made this long without writing it; 0: the bytes' length
    std::string refusal;
  } rows[] = {
      {"fits", Bitmap(kInfo, 2, 2, 24, 0, 16), 0, ""},
      {"rows top-down", Bitmap(kInfo, 2, -2, 24, 0, 16), 0, ""},
      {"a side too long", Bitmap(kInfo, 16385, 1, 8, 0, 0), 0, "16385x1, larger than any picture may be"},
      {"core header, height unsigned", Bitmap(kCore, 1024, 0xC000, 24, 0, 0), 0,
       "1024x49152, larger than any picture may be"},
      {"zero height", Bitmap(kInfo, 2, 0, 24, 0, 16), 0, "2x0, no picture: zero or negative size"},
      {"negative width", Bitmap(kInfo, -2, 2, 24, 0, 16), 0, "-2x2, no picture: zero or negative size"},
      {"run-length rows", Bitmap(kInfo, 2, 2, 8, 1, 16), 0, "compressed rows"},
      {"bit depth", Bitmap(kInfo, 2, 2, 7, 0, 16), 0, "bit depth unknown"},
      {"short rows", Bitmap(kInfo, 2, 2, 24, 0, 15), 0, "2x2, pixel rows truncated"},
      {"file too long", Bitmap(kInfo, 2, 2, 24, 0, 16), tooLong,
       std::to_string(tooLong) + " bytes, more than any picture takes"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    Write("splash.bmp", r.bytes);
    // Sparse: the file's length without its bytes on disk or in memory.
    if (r.fileBytes) std::filesystem::resize_file(temp_->Path("splash.bmp"), static_cast<uintmax_t>(r.fileBytes));
    std::vector<uint8_t> bytes;
    EXPECT_EQ(kxsystem::SplashRefusal("splash.bmp", &bytes), r.refusal);
    if (r.refusal.empty()) {
      EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.bytes);
    }
  }
}

}  // namespace
