// paint_texture <kind> <out.bmp|out.kxt|out.jpg>: writes a procedural picture
// (JPEG for RGB kinds only).
// paint_texture menu <texture folder> [<button font.kxf>]: writes the menu
// and instrument pictures into the folder, labelled with its "arial20b.kxf";
// the buttons with the second font when given. The menu draws a button at
// 0.625 of its size in a 640 x 480 window: a label keeps the dot of its "i"
// only when the gap below the dot is two texels or more, which DejaVuSans-Bold
// has from 26 px (20 px has one).
#include <cstdio>
#include <string>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "graphics/font.h"
#include "tools/texpaint/menu_pictures.h"
#include "tools/texpaint/texpaint.h"

namespace {

int ReadFontFile(const std::string& path, kxglfont* font) {
  std::vector<uint8_t> bytes;
  if (kxgl::ReadFileBytes(path.c_str(), &bytes) && kxgl::ReadFont(bytes.data(), bytes.size(), font)) return 1;
  std::fprintf(stderr, "paint_texture: cannot read %s\n", path.c_str());
  return 0;
}

int Menu(const std::string& folder, const char* buttonFont) {
  kxglfont font{}, labels{};
  int ok = ReadFontFile(folder + "/arial20b.kxf", &font) &&
           ReadFontFile(buttonFont ? std::string(buttonFont) : folder + "/arial20b.kxf", &labels) &&
           texpaint::WriteMenuPictures(folder, font, labels);
  kxgl::FreeFont(&font);
  kxgl::FreeFont(&labels);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "menu") return Menu(argv[2], argv[3]);
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: paint_texture <grass|asphalt|sky|particle|pointer|button|icons|water|clouds|tree|card|about|"
                 "designerframes|designericons> <out.bmp|out.kxt|out.jpg>\n"
                 "       paint_texture menu <texture folder> [<button font.kxf>]\n");
    return 2;
  }
  if (std::string(argv[1]) == "menu") return Menu(argv[2], nullptr);
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
