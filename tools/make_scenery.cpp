// make_scenery <data folder>: writes the sample sceneries and what they
// need: "winzeln" (a grass airfield with a runway, trees, a clubhouse, a
// hangar and a contest of every kind) and "seaslope" (a slope above the sea
// with a wind wheel), their meshes, textures, preview pictures and
// selection tiles, the balloon mesh, the water and cloud textures and the
// card shown for a scenery without a preview.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"
#include "tools/texpaint/texpaint.h"

namespace {

float Smoothstep(float a, float b, float x) {
  float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Deterministic scatter for tree places.
struct scatter {
  unsigned state;
  float Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 16777216.0f;
  }
};

struct placedhouse {
  float x, y, heading;  // m, degrees
  float scale;
};

// What a scenery holds, enough to write its files and paint its map.
struct layout {
  std::string name;
  std::function<float(float, float)> height;  // terrain, m
  float terrainSize;                          // m, side of the terrain square
  int terrainCells;
  const char* terrainElement;
  bool sea;                                   // an ocean at z = 0
  float runway[4];                            // x0 y0 x1 y1; all 0: none
  float field[4];                             // mown grass patch
  std::vector<placedhouse> houses;
  std::vector<std::array<float, 2>> trees;
  std::vector<std::array<float, 2>> marks;    // starts and pylons, drawn on the map
  float mapHalf;                              // m, half the side the map shows
  std::string geo;                            // the description file's text
};

bool Write(const std::string& path, kxgeometry* list) {
  bool ok = list && kxgeometry::WriteBinary(path.c_str(), list);
  kxgeometry::Free(&list);
  if (!ok) std::fprintf(stderr, "make_scenery: cannot write %s\n", path.c_str());
  return ok;
}

bool WritePicture(const std::string& path, const kximage& image) {
  bool kxt = path.size() > 4 && path.compare(path.size() - 4, 4, ".kxt") == 0;
  bool ok = kxt ? kxgl::WriteKxt(path.c_str(), image) : kxgl::WriteBmp(path.c_str(), image);
  if (!ok) std::fprintf(stderr, "make_scenery: cannot write %s\n", path.c_str());
  return ok;
}

kxgeometry* Textured(const meshgen::mesh& m, const char* name, const char* texture) {
  kxgeometry* el = meshgen::ToElement(m, name, "", GL_T2F_N3F_V3F);
  if (!el) return nullptr;
  std::snprintf(el->textureName, sizeof el->textureName, "%s", texture);
  const float ambient[4] = {0.4f, 0.4f, 0.4f, 1}, diffuse[4] = {0.9f, 0.9f, 0.9f, 1};
  std::copy(ambient, ambient + 4, el->ambient);
  std::copy(diffuse, diffuse + 4, el->diffuse);
  return el;
}

// A flat rectangle x0..x1, y0..y1 at height z.
meshgen::mesh Patch(const float r[4], float z, float tile) {
  meshgen::mesh m = meshgen::Terrain(r[2] - r[0], r[3] - r[1], 4, 4, tile, [z](float, float) { return z; });
  meshgen::Translate(m, (r[0] + r[2]) / 2, (r[1] + r[3]) / 2, 0);
  return m;
}

// A house with a glass pane on its front (+y) wall.
kxgeometry* House() {
  static const float kWall[3] = {0.85f, 0.8f, 0.7f}, kRoof[3] = {0.6f, 0.2f, 0.15f}, kGlass[3] = {0.5f, 0.7f, 0.9f};
  meshgen::mesh walls, roof;
  meshgen::House(10, 6, 3, 2, &walls, &roof);
  meshgen::mesh glass = meshgen::Box(4, 0.05f, 1.2f);
  meshgen::Translate(glass, 0, 3.03f, 1.6f);
  kxgeometry* parts[3] = {meshgen::ColouredElement(walls, "house_wall", "", kWall),
                          meshgen::ColouredElement(roof, "house_roof", "", kRoof),
                          meshgen::ColouredElement(glass, "T__glass", "", kGlass)};
  // Walls and roof take the sky's light from every side: a wall turned away
  // from the sun stands in shade, not black.
  for (kxgeometry* p : {parts[0], parts[1]})
    if (p) std::copy(p->diffuse, p->diffuse + 3, p->ambient);
  if (parts[2]) {
    parts[2]->transparent = 1;
    parts[2]->diffuse[3] = 0.4f;
  }
  return meshgen::Chain(parts, 3);
}

// One billboard element per tree, each standing at its place.
kxgeometry* Trees(const layout& l) {
  std::vector<kxgeometry*> parts;
  for (size_t i = 0; i < l.trees.size(); ++i) {
    meshgen::mesh m = meshgen::TreeCards(6, 10);
    float x = l.trees[i][0], y = l.trees[i][1];
    meshgen::Translate(m, x, y, l.height(x, y));
    char name[32];
    std::snprintf(name, sizeof name, "bbrd%03zu", i + 1);
    kxgeometry* el = Textured(m, name, "tree.kxt");
    if (el) el->transparent = 1;
    parts.push_back(el);
  }
  return meshgen::Chain(parts.data(), parts.size());
}

bool Inside(const float r[4], float x, float y) {
  return (r[0] != r[2]) && x >= r[0] && x <= r[2] && y >= r[1] && y <= r[3];
}

// A map seen from above: terrain shaded by height, sea, field, runway,
// houses, trees and marks for the starts and pylons. Row 0 is north (+y).
kximage Map(const layout& l, int size) {
  kximage image;
  image.width = image.height = size;
  image.channels = 3;
  image.pixels.assign(static_cast<size_t>(size) * size * 3, 0);
  auto set = [&](int px, int py, int r, int g, int b) {
    if (px < 0 || py < 0 || px >= size || py >= size) return;
    uint8_t* p = &image.pixels[(static_cast<size_t>(py) * size + px) * 3];
    p[0] = static_cast<uint8_t>(r), p[1] = static_cast<uint8_t>(g), p[2] = static_cast<uint8_t>(b);
  };
  float metre = 2 * l.mapHalf / size;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      float x = -l.mapHalf + (px + 0.5f) * metre, y = l.mapHalf - (py + 0.5f) * metre;
      float h = l.height(x, y);
      if (l.sea && h < 0.0f) set(px, py, 30, 80 + static_cast<int>(20 * std::max(h + 8, 0.0f) / 8), 140);
      else if (Inside(l.runway, x, y)) set(px, py, 95, 95, 100);
      else if (Inside(l.field, x, y)) set(px, py, 90, 160, 60);
      else {
        // Meadow green turning to dry grass with height, lit from the north-west.
        float dx = l.height(x + metre, y) - l.height(x - metre, y), dy = l.height(x, y + metre) - l.height(x, y - metre);
        float light = std::clamp(1.0f + (dy - dx) / (2 * metre), 0.6f, 1.3f);
        float dry = std::clamp(h / 80.0f, 0.0f, 1.0f);
        set(px, py, static_cast<int>(light * (70 + 80 * dry)), static_cast<int>(light * (135 + 5 * dry)),
            static_cast<int>(light * (55 + 30 * dry)));
      }
    }
  }
  auto dot = [&](float x, float y, int radius, int r, int g, int b) {
    int cx = static_cast<int>((x + l.mapHalf) / metre), cy = static_cast<int>((l.mapHalf - y) / metre);
    for (int dy = -radius; dy <= radius; ++dy)
      for (int dx = -radius; dx <= radius; ++dx)
        if (dx * dx + dy * dy <= radius * radius) set(cx + dx, cy + dy, r, g, b);
  };
  for (const auto& t : l.trees) dot(t[0], t[1], std::max(1, size / 128), 25, 70, 25);
  for (const placedhouse& h : l.houses) dot(h.x, h.y, std::max(1, static_cast<int>(3 * h.scale / metre)), 170, 60, 45);
  for (const auto& m : l.marks) dot(m[0], m[1], std::max(1, size / 96), 250, 250, 240);
  return image;
}

// Lines placing each house: the scale also scales the POSITION offset, so
// the offset is given divided by it.
std::string HouseLines(const layout& l, const char* mesh) {
  std::string out;
  char line[160];
  for (const placedhouse& h : l.houses) {
    float z = l.height(h.x, h.y);
    std::snprintf(line, sizeof line, "SCALE %g %g %g\nROTATE 0 0 %g\nPOSITION %g %g %g\nOBJECT %s\n", h.scale, h.scale,
                  h.scale, h.heading, h.x / h.scale, h.y / h.scale, z / h.scale, mesh);
    out += line;
  }
  return out + "SCALE 1 1 1\nROTATE 0 0 0\nPOSITION 0 0 0\n";
}

layout Winzeln() {
  layout l;
  l.name = "winzeln";
  // Flat around the airfield, rising into wooded hills beyond 600 m.
  l.height = [](float x, float y) {
    float r = std::sqrt(x * x + y * y);
    return 45.0f * Smoothstep(600, 1600, r) * (0.7f + 0.3f * std::sin(x * 0.004f) * std::cos(y * 0.003f));
  };
  l.terrainSize = 4000;
  l.terrainCells = 64;
  l.terrainElement = "land_meadow";
  l.sea = false;
  // The asphalt reaches well behind the first start: an aerotow lines the
  // glider up a rope length (20 m) behind it, and there it must stand wholly
  // on the runway, not across the 3 cm edge down to the grass, which its
  // small wheels cannot roll over.
  const float runway[4] = {-135, -8, 110, 8}, field[4] = {-180, -45, 180, 45};
  std::copy(runway, runway + 4, l.runway);
  std::copy(field, field + 4, l.field);
  l.houses = {{40, -75, 0, 1.0f}, {85, -80, 0, 2.4f}};
  scatter s{7};
  for (int i = 0; i < 24; ++i) l.trees.push_back({-220.0f + 440.0f * i / 23.0f, 70.0f + 12 * s.Next()});
  for (int i = 0; i < 16; ++i) l.trees.push_back({-300 + 120 * s.Next(), -160 + 300 * s.Next()});
  l.marks = {{-90, 0}, {0, 30}, {60, -55}, {-50, 20}, {50, 20}, {60, -20}, {-60, -20}};
  l.mapHalf = 400;
  l.geo = R"(// Winzeln: a grass airfield with a runway, a clubhouse, a hangar and trees.
// Written by tools/make_scenery.
SCENERY 6000
CLOUDS 300 4 0.9 0.55 texture/clouds.kxt
HASSHADOW
LIGHT_POSITION 0 0.5 -0.35 0.8 0
LIGHT_AMBIENT 0 0.35 0.35 0.38
LIGHT_DIFFUSE 0 0.9 0.88 0.8
LIGHT_SPECULAR 0 0.6 0.6 0.6
VIEWC 25 500
CUBE 50 50 25 120
GROUND winzeln_land.tgo
OBJECT winzeln_field.tgo GROUND
)" + HouseLines(l, "winzeln_house.tgo") +
          R"(OBJECT winzeln_trees.tgo
// Runway threshold for every model, a grass strip for airplanes only, and
// the hangar apron (on the ground) for indoor models.
START_POSITION -90 0 0.3 0 -75 -20 1.7
START_POSITION 0 30 0.3 0 -12 42 1.7 noheli
START_POSITION 60 -55 -1 90 48 -48 1.7 indoor
CONTEST PYLONRACE
STARTACFT -90 0 0.3 0
STARTVIEW -70 -25 1.7
PYLON -60 -20 0 0 0
PYLON 60 -20 0 0 0
PYLON 50 20 0 0 0
PYLON -50 20 0 0 0
CONTEST BALLOONPOP
STARTACFT -90 0 0.3 0
STARTVIEW -70 -25 1.7
BALLOONS 20 1.0 -120 -120 15 120 120 70
CONTEST DRAGRACE
STARTACFT -100 0 0.3 0
STARTVIEW -85 -18 1.7
DRAGRACE 150 0
CONTEST SPOTLANDING
STARTACFT -60 0 0.3 0
STARTVIEW -50 -20 1.7
SPOTAREA 20 10
)";
  return l;
}

layout SeaSlope() {
  layout l;
  l.name = "seaslope";
  // The sea floor to the west (-x), a beach, a steep slope facing the sea
  // and a rolling plateau inland.
  l.height = [](float x, float y) {
    float beach = -8.0f + 10.0f * Smoothstep(-520, -380, x);
    float slope = 68.0f * Smoothstep(-330, -120, x);
    float plateau = 6.0f * std::sin(y * 0.006f) * Smoothstep(-150, 200, x);
    return beach + slope + plateau;
  };
  l.terrainSize = 3000;
  l.terrainCells = 80;
  l.terrainElement = "slope_meadow";
  l.sea = true;
  std::fill(l.runway, l.runway + 4, 0.0f);
  std::fill(l.field, l.field + 4, 0.0f);
  l.houses = {{60, -60, 90, 1.0f}};
  scatter s{11};
  for (int i = 0; i < 14; ++i) l.trees.push_back({100 + 250 * s.Next(), -250 + 500 * s.Next()});
  l.marks = {{-90, 0}, {-360, 40}, {20, 60}, {-200, -250}, {-200, 250}, {-150, 0}, {200, 150}};
  l.mapHalf = 600;
  char wheel[256];
  float z = l.height(200, 150);
  std::snprintf(wheel, sizeof wheel, "DYNOBJECT seaslope_blades.tgo 200 150 %.2f wwblades\nDYNOBJECT seaslope_tower.tgo 200 150 %.2f wwbase\n", z, z);
  l.geo = R"(// Seaslope: a slope above the sea for slope soaring, with a wind wheel.
// Written by tools/make_scenery.
SCENERY 6000
CLOUDS 400 3 0.8 0.6 texture/clouds.kxt
LIGHT_POSITION 0 -0.4 0.3 0.85 0
LIGHT_AMBIENT 0 0.3 0.32 0.36
LIGHT_DIFFUSE 0 0.95 0.92 0.85
VIEWC 40 800
CUBE 60 60 30 150
OCEAN seaslope_sea.tgo
OBJECT seaslope_land.tgo GROUND
)" + HouseLines(l, "seaslope_hut.tgo") +
          "OBJECT seaslope_trees.tgo\n" + wheel +
          R"(// The ridge facing the sea for every model; the beach and a pad inland for
// helicopters. Negative heights stand on the ground.
START_POSITION -90 0 -1 180 -70 12 -1
START_POSITION -360 40 -1 0 -350 20 -1 noairplane
START_POSITION 20 60 -1 270 30 40 -1 noairplane
CONTEST PYLONRACE
STARTACFT -90 0 -1 180
STARTVIEW -70 12 -1
PYLON -150 0 70 0 0
PYLON -200 250 60 0 0
PYLON -200 -250 60 0 0
CONTEST SPOTLANDING
STARTACFT 150 -40 -1 90
STARTVIEW 140 -60 -1
SPOTAREA 25 12
)";
  return l;
}

bool WriteScenery(const std::string& data, const layout& l) {
  std::string dir = data + "/scenery/";
  meshgen::mesh land = meshgen::Terrain(l.terrainSize, l.terrainSize, l.terrainCells, l.terrainCells, 25, l.height);
  bool ok = Write(dir + l.name + "_land.tgo", Textured(land, l.terrainElement, "grass.bmp"));
  if (l.runway[0] != l.runway[2]) {
    kxgeometry* parts[2] = {Textured(Patch(l.field, 0.03f, 25), "field_gras", "grass.bmp"),
                            Textured(Patch(l.runway, 0.06f, 20), "runway", "asphalt.bmp")};
    ok = Write(dir + l.name + "_field.tgo", meshgen::Chain(parts, 2)) && ok;
  }
  if (l.sea) {
    meshgen::mesh sea = meshgen::Terrain(6000, 6000, 8, 8, 60, [](float, float) { return 0.0f; });
    ok = Write(dir + l.name + "_sea.tgo", Textured(sea, "sea_water", "water2.kxt")) && ok;
    kxgeometry* blades = meshgen::SceneryShape("windblades");
    kxgeometry* tower = meshgen::SceneryShape("windtower");
    // The hub stands on the tower's axis at its top.
    for (kxgeometry* el = blades; el; el = el->next) {
      float p[3];
      for (int i = 0; i < el->vertexCount; ++i)
        if (kxgeometry::GetVertexPosition(el, i, p)) p[2] += 30.0f, kxgeometry::SetVertexPosition(el, i, p);
      kxgeometry::Store(el);
    }
    ok = Write(dir + l.name + "_blades.tgo", blades) && ok;
    ok = Write(dir + l.name + "_tower.tgo", tower) && ok;
  }
  ok = Write(dir + l.name + (l.sea ? "_hut.tgo" : "_house.tgo"), House()) && ok;
  ok = Write(dir + l.name + "_trees.tgo", Trees(l)) && ok;
  ok = kxgl::WriteFileBytes((dir + l.name + ".geo").c_str(), l.geo.data(), l.geo.size()) && ok;
  ok = WritePicture(dir + l.name + "lg.bmp", Map(l, 256)) && ok;
  ok = WritePicture(dir + l.name + ".bmp", Map(l, 64)) && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_scenery <data folder>\n");
    return 2;
  }
  std::string data = argv[1];
  for (const char* sub : {"/scenery", "/objects", "/texture"}) std::filesystem::create_directories(data + sub);
  bool ok = WriteScenery(data, Winzeln());
  ok = WriteScenery(data, SeaSlope()) && ok;
  kxgeometry* balloon = meshgen::SceneryShape("balloon");
  ok = balloon && kxgeometry::WriteText((data + "/objects/balloon.obj").c_str(), balloon) && ok;
  kxgeometry::Free(&balloon);
  ok = WritePicture(data + "/objects/card.kxt", texpaint::Card(256, 256)) && ok;
  ok = WritePicture(data + "/texture/water2.kxt", texpaint::Water(256, 4)) && ok;
  ok = WritePicture(data + "/texture/clouds.kxt", texpaint::Clouds(256, 5)) && ok;
  ok = WritePicture(data + "/scenery/grass.bmp", texpaint::Grass(256, 1)) && ok;
  ok = WritePicture(data + "/scenery/asphalt.bmp", texpaint::Asphalt(256, 2)) && ok;
  ok = WritePicture(data + "/scenery/tree.kxt", texpaint::Tree(64, 128, 6)) && ok;
  return ok ? 0 : 1;
}
