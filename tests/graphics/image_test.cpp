#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <jpeglib.h>
#include <vector>

#include "graphics/byte_reader.h"
#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "test_support.h"

namespace {

// A bottom-up 24-bit BMP written byte by byte, independent of our writer.
std::vector<uint8_t> HandmadeBmp24(int width, int height, const std::vector<uint8_t>& rgbTopDown) {
  int stride = (width * 3 + 3) / 4 * 4;
  kxbytewriter w;
  w.U8('B');
  w.U8('M');
  w.U32(54 + stride * height);
  w.U32(0);
  w.U32(54);
  w.U32(40);
  w.I32(width);
  w.I32(height);
  w.U16(1);
  w.U16(24);
  w.U32(0);
  w.U32(stride * height);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgbTopDown[(row * width + x) * 3];
      w.U8(p[2]);
      w.U8(p[1]);
      w.U8(p[0]);
    }
    for (int pad = width * 3; pad < stride; ++pad) w.U8(0);
  }
  return w.bytes;
}

std::vector<uint8_t> Gradient(int width, int height, int channels) {
  std::vector<uint8_t> p(static_cast<size_t>(width) * height * channels);
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(i * 7 + 3);
  return p;
}

// Each AC coefficient of each component in a progressive scan of its own:
// 1 + 3 x 63 scans, every one valid, where encoders write about ten.
void ScanPerCoefficient(jpeg_compress_struct* info) {
  static std::vector<jpeg_scan_info> scans;
  scans = {{3, {0, 1, 2, 0}, 0, 0, 0, 0}};
  for (int c = 0; c < 3; ++c)
    for (int k = 1; k < DCTSIZE2; ++k) scans.push_back({1, {c, 0, 0, 0}, k, k, 0, 0});
  info->scan_info = scans.data();
  info->num_scans = static_cast<int>(scans.size());
}

// Baseline unless script sets a progressive scan script.
std::vector<uint8_t> EncodeJpeg(int width, int height, void (*script)(jpeg_compress_struct*) = nullptr) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (script) script(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(width * 3);
  while (info.next_scanline < info.image_height) {
    // Top half red, bottom half blue.
    bool top = info.next_scanline < static_cast<unsigned>(height / 2);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = top ? 255 : 0;
      row[x * 3 + 1] = 0;
      row[x * 3 + 2] = top ? 0 : 255;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

}  // namespace

class ImageReaders : public kxtest::GraphicsTest {};

TEST_F(ImageReaders, Bmp24RowsComeTopDown) {
  std::vector<uint8_t> rgb = Gradient(4, 2, 3);
  std::vector<uint8_t> file = HandmadeBmp24(4, 2, rgb);
  kximage image;
  ASSERT_EQ(kxgl::ReadBmp(file.data(), file.size(), &image), 1);
  EXPECT_EQ(image.width, 4);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.channels, 3);
  EXPECT_EQ(image.pixels, rgb);
}

TEST_F(ImageReaders, BmpWriterRoundTripsAlphaThroughBitfields) {
  kximage in;
  in.width = 3;
  in.height = 5;
  in.channels = 4;
  in.pixels = Gradient(3, 5, 4);
  std::vector<uint8_t> file = kxgl::EncodeBmp(in);
  kximage out;
  ASSERT_EQ(kxgl::ReadImage(file.data(), file.size(), &out), 1);
  EXPECT_EQ(out.channels, 4);
  EXPECT_EQ(out.pixels, in.pixels);
}

TEST_F(ImageReaders, BmpPaletteEightBitExpandsToRgb) {
  kxbytewriter w;
  w.U8('B');
  w.U8('M');
  w.U32(0);
  w.U32(0);
  w.U32(14 + 40 + 8);
  w.U32(40);
  w.I32(2);
  w.I32(-1);  // top-down
  w.U16(1);
  w.U16(8);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U32(2);  // two palette entries
  w.U32(0);
  w.U32(0x00112233);  // B G R X stored as 33 22 11 00
  w.U32(0x00AABBCC);
  w.U8(1);
  w.U8(0);
  w.U8(0);
  w.U8(0);
  kximage image;
  ASSERT_EQ(kxgl::ReadBmp(w.bytes.data(), w.bytes.size(), &image), 1);
  std::vector<uint8_t> expected = {0xAA, 0xBB, 0xCC, 0x11, 0x22, 0x33};
  EXPECT_EQ(image.pixels, expected);
}

TEST_F(ImageReaders, BmpTruncatedPixelsFail) {
  std::vector<uint8_t> file = HandmadeBmp24(4, 2, Gradient(4, 2, 3));
  file.pop_back();
  kximage image;
  EXPECT_EQ(kxgl::ReadBmp(file.data(), file.size(), &image), 0);
  EXPECT_NE(Log().find("gl:  bmp pixel data truncated"), std::string::npos);
}

TEST_F(ImageReaders, BmpHugeOrRleHeadersFail) {
  std::vector<uint8_t> file = HandmadeBmp24(4, 2, Gradient(4, 2, 3));
  std::vector<uint8_t> huge = file;
  huge[18] = 0x00;
  huge[19] = 0x00;
  huge[20] = 0x01;  // width 65536
  kximage image;
  EXPECT_EQ(kxgl::ReadBmp(huge.data(), huge.size(), &image), 0);
  std::vector<uint8_t> rle = file;
  rle[30] = 1;  // BI_RLE8
  EXPECT_EQ(kxgl::ReadBmp(rle.data(), rle.size(), &image), 0);
  EXPECT_NE(Log().find("compression not supported"), std::string::npos);
}

TEST_F(ImageReaders, JpegDecodesTopRowFirst) {
  std::vector<uint8_t> file = EncodeJpeg(16, 16);
  kximage image;
  ASSERT_EQ(kxgl::ReadImage(file.data(), file.size(), &image), 1);
  EXPECT_EQ(image.width, 16);
  EXPECT_EQ(image.channels, 3);
  EXPECT_GT(image.pixels[0], 200);                      // red at the top
  EXPECT_GT(image.pixels[(15 * 16) * 3 + 2], 200);      // blue at the bottom
}

TEST_F(ImageReaders, TruncatedJpegFailsWithLoggedErrorAndProgramGoesOn) {
  std::vector<uint8_t> file = EncodeJpeg(64, 64);
  file.resize(file.size() / 3);
  kximage image;
  EXPECT_EQ(kxgl::ReadJpeg(file.data(), file.size(), &image), 0);
  EXPECT_NE(Log().find("JPEG ERROR="), std::string::npos);
  EXPECT_TRUE(image.pixels.empty());
  std::vector<uint8_t> header(file.begin(), file.begin() + 20);
  EXPECT_EQ(kxgl::ReadJpeg(header.data(), header.size(), &image), 0);
}

namespace {

// Offset of the first marker 0xFF code in a JPEG file; fails the test when
// there is none.
size_t MarkerAt(const std::vector<uint8_t>& file, uint8_t code) {
  for (size_t i = 2; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == code) return i;
  ADD_FAILURE() << "no marker " << static_cast<int>(code);
  return 0;
}

// The JPEG with its frame header claiming another size.
std::vector<uint8_t> JpegClaiming(uint16_t width, uint16_t height) {
  std::vector<uint8_t> file = EncodeJpeg(16, 16);
  size_t frame = MarkerAt(file, 0xC0);
  file[frame + 5] = static_cast<uint8_t>(height >> 8), file[frame + 6] = static_cast<uint8_t>(height);
  file[frame + 7] = static_cast<uint8_t>(width >> 8), file[frame + 8] = static_cast<uint8_t>(width);
  return file;
}

// A 1-bit BMP of that size with all its pixel bytes present.
std::vector<uint8_t> Bmp1(int width, int height) {
  const uint32_t stride = (static_cast<uint32_t>(width) + 31) / 32 * 4, offset = 14 + 40 + 8;
  kxbytewriter w;
  w.U8('B'), w.U8('M'), w.U32(offset + stride * height), w.U32(0), w.U32(offset);
  w.U32(40), w.I32(width), w.I32(height), w.U16(1), w.U16(1);
  for (int i = 0; i < 6; ++i) w.U32(0);
  w.U32(0), w.U32(0x00FFFFFF);  // black and white
  w.bytes.resize(offset + static_cast<size_t>(stride) * height, 0x55);
  return w.bytes;
}

}  // namespace

// A picture is refused from its header when it claims more texels than one
// picture may have (whatever each side) or than its bytes can hold: a file
// of a few bytes must not make the program take gigabytes and seconds. A
// JPEG is refused too when it has more scans than encoders write.
TEST_F(ImageReaders, PicturesClaimingTooManyTexelsAreRefusedBeforeDecoding) {
  kximage tall;
  tall.width = 8192, tall.height = 2049, tall.channels = 1;
  tall.pixels.assign(static_cast<size_t>(tall.width) * tall.height, 7);
  struct claim {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* said;
  } claims[] = {
      {"jpeg 16384 square", JpegClaiming(16384, 16384), "JPEG ERROR=16384x16384 too large\n"},
      {"jpeg beyond its bytes", JpegClaiming(2048, 2048), "JPEG ERROR=2048x2048 cannot be held by "},
      {"bmp of 1 bit", Bmp1(8192, 4096), "gl:  bmp size out of range\n"},
      {"kxt", kxgl::EncodeKxt(tall), "gl:  kxt size 8192x2049x1 invalid\n"},
      {"jpeg of 190 scans", EncodeJpeg(16, 16, ScanPerCoefficient), "JPEG ERROR=more than 100 scans\n"},
  };
  for (const claim& c : claims) {
    SCOPED_TRACE(c.name);
    capture_.Clear();
    kximage image;
    EXPECT_EQ(kxgl::ReadImage(c.bytes.data(), c.bytes.size(), &image), 0);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_NE(Log().find(c.said), std::string::npos) << Log();
  }
  // Within the limits the same readers decode.
  tall.height = 2048;
  std::vector<uint8_t> bytes = kxgl::EncodeKxt(tall);
  kximage image;
  EXPECT_EQ(kxgl::ReadImage(bytes.data(), bytes.size(), &image), 1);
  bytes = Bmp1(4096, 4096);
  EXPECT_EQ(kxgl::ReadImage(bytes.data(), bytes.size(), &image), 1);
  bytes = EncodeJpeg(16, 16, jpeg_simple_progression);
  EXPECT_EQ(kxgl::ReadImage(bytes.data(), bytes.size(), &image), 1);
}

// The first warning ends the reading: bytes before a marker (a warning)
// followed by a scan that names no table (an error) give one line only.
TEST_F(ImageReaders, JpegReadingStopsAtTheFirstWarning) {
  std::vector<uint8_t> file = EncodeJpeg(16, 16);
  size_t scan = MarkerAt(file, 0xDA);
  file[scan + 6] = 0x33;  // the first component's tables: 3, never defined
  const uint8_t junk[2] = {0x12, 0x34};
  file.insert(file.begin() + static_cast<std::ptrdiff_t>(scan), junk, junk + 2);
  capture_.Clear();
  kximage image;
  EXPECT_EQ(kxgl::ReadJpeg(file.data(), file.size(), &image), 0);
  const std::string log = Log();
  EXPECT_NE(log.find("JPEG ERROR=Corrupt JPEG data: 2 extraneous bytes before marker 0xda"), std::string::npos) << log;
  EXPECT_EQ(log.find("JPEG ERROR=", log.find("JPEG ERROR=") + 1), std::string::npos) << log;
  EXPECT_TRUE(image.pixels.empty());
}

TEST_F(ImageReaders, KxtRoundTripsAndRejectsShortFiles) {
  kximage in;
  in.width = 5;
  in.height = 3;
  in.channels = 1;
  in.flags = kxgl::kKxtFlagCompressed;
  in.pixels = Gradient(5, 3, 1);
  ASSERT_EQ(kxgl::WriteKxt(Path("a.kxt").c_str(), in), 1);
  kximage out;
  ASSERT_EQ(kxgl::ReadImageFile(Path("a.kxt").c_str(), &out), 1);
  EXPECT_EQ(out.pixels, in.pixels);
  EXPECT_EQ(out.flags, kxgl::kKxtFlagCompressed);
  std::vector<uint8_t> bytes = kxgl::EncodeKxt(in);
  bytes.pop_back();
  EXPECT_EQ(kxgl::ReadKxt(bytes.data(), bytes.size(), &out), 0);
  bytes = kxgl::EncodeKxt(in);
  bytes[12] = 2;  // two channels is no format
  EXPECT_EQ(kxgl::ReadKxt(bytes.data(), bytes.size(), &out), 0);
}

// A picture padded past what the largest allowed picture takes is refused
// before a byte is read, not read whole into memory.
TEST_F(ImageReaders, APictureFileLongerThanAnyPictureIsNotRead) {
  const std::vector<uint8_t> bmp = HandmadeBmp24(1, 1, {1, 2, 3});
  const std::string path = Path("padded.bmp");
  ASSERT_EQ(kxgl::WriteFileBytes(path.c_str(), bmp.data(), bmp.size()), 1);
  kximage image;
  ASSERT_EQ(kxgl::ReadImageFile(path.c_str(), &image), 1);  // trailing bytes alone are no fault
  std::filesystem::resize_file(path, kxgl::kMaxImageFileBytes + 1);  // sparse: takes no disk
  capture_.Clear();
  EXPECT_EQ(kxgl::ReadImageFile(path.c_str(), &image), 0);
  EXPECT_NE(Log().find(path + ": 68157441 bytes, more than any picture takes; not read\n"), std::string::npos) << Log();
}

TEST_F(ImageReaders, UnknownContentFails) {
  const uint8_t junk[] = {'G', 'I', 'F', '8'};
  kximage image;
  EXPECT_EQ(kxgl::ReadImage(junk, sizeof junk, &image), 0);
  EXPECT_EQ(kxgl::ReadImageFile(Path("missing.bmp").c_str(), &image), 0);
}
