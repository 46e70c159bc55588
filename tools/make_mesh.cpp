// make_mesh: writes generated meshes.
//   make_mesh demo <out.tgo|out.obj>        the demo aircraft
//   make_mesh glider <out.tgo|out.obj>      the sample glider
//   make_mesh box|sphere|torus|ground <out> one primitive
//   make_mesh card|pylon|horizon <out>      the simulator's own meshes
//   make_mesh balloon|windblades|windtower|house|tree <out> one scenery shape
#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_mesh demo|glider|card|pylon|horizon|box|sphere|torus|ground|balloon|windblades|windtower|house|tree <out.tgo|out.obj>\n");
    return 2;
  }
  std::string what = argv[1], out = argv[2];
  kxgeometry* list = nullptr;
  if (what == "demo") list = meshgen::DemoAircraft();
  else if (what == "glider") list = meshgen::Glider();
  else if (what == "card") list = meshgen::SceneryCard();
  else if (what == "pylon") list = meshgen::Pylon();
  else if (what == "horizon") list = meshgen::HorizonBall();
  else if (what == "box") list = meshgen::ToElement(meshgen::Box(1, 1, 1), "box", "", GL_T2F_N3F_V3F);
  else if (what == "sphere") list = meshgen::ToElement(meshgen::Sphere(1, 24, 12), "sphere", "", GL_T2F_N3F_V3F);
  else if (what == "torus") list = meshgen::ToElement(meshgen::Torus(1, 0.3f, 24, 12), "torus", "", GL_N3F_V3F);
  else if (what == "ground") list = meshgen::ToElement(meshgen::Ground(400, 40, 2.0f), "field_gras", "", GL_T2F_N3F_V3F);
  else list = meshgen::SceneryShape(what.c_str());
  if (!list) {
    std::fprintf(stderr, "make_mesh: unknown shape %s\n", what.c_str());
    return 2;
  }
  bool binary = out.size() > 4 && out.compare(out.size() - 4, 4, ".tgo") == 0;
  int ok = binary ? kxgeometry::WriteBinary(out.c_str(), list) : kxgeometry::WriteText(out.c_str(), list);
  kxgeometry::Free(&list);
  if (!ok) {
    std::fprintf(stderr, "make_mesh: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
