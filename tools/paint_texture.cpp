// paint_texture <kind> <out.bmp|out.kxt|out.jpg>: writes a procedural picture
// (JPEG for RGB kinds only).
// paint_texture menu <texture folder>: writes the menu and instrument
// pictures into the folder, labelled with its "arial20b.kxf".
#include <cstdio>
#include <string>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "graphics/font.h"
#include "tools/texpaint/menu_pictures.h"
#include "tools/texpaint/texpaint.h"

namespace {

int Menu(const std::string& folder) {
  std::vector<uint8_t> bytes;
  kxglfont font{};
  std::string fontPath = folder + "/arial20b.kxf";
  if (!kxgl::ReadFileBytes(fontPath.c_str(), &bytes) || !kxgl::ReadFont(bytes.data(), bytes.size(), &font)) {
    std::fprintf(stderr, "paint_texture: cannot read %s\n", fontPath.c_str());
    return 1;
  }
  int ok = texpaint::WriteMenuPictures(folder, font);
  kxgl::FreeFont(&font);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: paint_texture <grass|asphalt|sky|particle|pointer|button|icons|water|clouds|tree|card|about|"
                 "designerframes|designericons|menu> <out.bmp|out.kxt|out.jpg>\n");
    return 2;
  }
  if (std::string(argv[1]) == "menu") return Menu(argv[2]);
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
