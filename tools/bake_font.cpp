// bake_font <font.ttf> <pixel size> <out.kxf>: renders a font for the program.
#include <cstdio>
#include <cstdlib>

#include "tools/fontbake/font_bake.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[2]) < 4 || std::atoi(argv[2]) > 200) {
    std::fprintf(stderr, "usage: bake_font <font.ttf> <pixel size 4..200> <out.kxf>\n");
    return 2;
  }
  return fontbake::Bake(argv[1], std::atoi(argv[2]), argv[3]) ? 0 : 1;
}
