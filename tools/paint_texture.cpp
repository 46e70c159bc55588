// paint_texture <kind> <out.bmp|out.kxt|out.jpg>: writes a procedural picture
// (JPEG for RGB kinds only).
#include <cstdio>
#include <string>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "tools/texpaint/texpaint.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: paint_texture <grass|asphalt|sky|particle|pointer|button|icons|water|clouds|tree|card> <out.bmp|out.kxt|out.jpg>\n");
    return 2;
  }
  kximage image = texpaint::ByName(argv[1]);
  if (image.pixels.empty()) {
    std::fprintf(stderr, "paint_texture: unknown kind %s\n", argv[1]);
    return 2;
  }
  std::string out = argv[2];
  auto endsWith = [&](const char* suffix) {
    std::string s = suffix;
    return out.size() > s.size() && out.compare(out.size() - s.size(), s.size(), s) == 0;
  };
  int ok = 0;
  if (endsWith(".kxt")) {
    ok = kxgl::WriteKxt(out.c_str(), image);
  } else if (endsWith(".jpg")) {
    std::vector<uint8_t> bytes = texpaint::EncodeJpeg(image, 90);
    ok = !bytes.empty() && kxgl::WriteFileBytes(out.c_str(), bytes.data(), bytes.size());
  } else {
    ok = kxgl::WriteBmp(out.c_str(), image);
  }
  if (!ok) {
    std::fprintf(stderr, "paint_texture: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
