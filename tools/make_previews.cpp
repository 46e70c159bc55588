// make_previews: writes what the aircraft selection shows of each sample
// aircraft, drawn from its committed mesh: a 64 x 64 thumbnail (thumb.bmp),
// a 256 x 256 preview picture (preview-<name>.bmp) and a description
// (preview-<name>.txt, as much as the window shows); and the
// picture shown when an aircraft has none (texture/nopreview.bmp), labelled
// with the program's "texture/arial20b.kxf".
//   make_previews <data>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "tools/legacygen/top_view.h"
#include "tools/texpaint/menu_pictures.h"
#include "tools/texpaint/texpaint.h"

namespace {

constexpr int kThumbnailSide = 64;  // px
constexpr int kPreviewSide = 256;   // px

struct sample {
  const char* name;
  std::vector<const char*> description;
};

// At most ten lines each, as many as the selection window shows, and none
// wider than its description box in the program's GUI font.
const sample kSamples[] = {
    {"christeneagle",
     {"Aerobatic biplane", "", "Span: 1.2 m", "Weight: about 2.4 kg", "Engine: glow engine, 275 W",
      "Controls: ailerons, elevator, rudder,", "throttle, wheel brakes",
      "A tail-dragger for loops and rolls: hold", "a little up elevator on the take-off run.",
      "Sample aircraft of this program."}},
    {"trainer",
     {"Electric high-wing trainer", "", "Span: 1.6 m", "Weight: about 2.1 kg", "Motor: electric, 10-cell battery",
      "Controls: ailerons, elevator, rudder,", "throttle, wheel brakes", "Docile: it rolls back level by itself",
      "and flies level with the sticks centred.", "Sample aircraft of this program."}},
    {"jet",
     {"Sport jet", "", "Span: 1.2 m", "Weight: about 3.1 kg", "Engine: turbine, 15 N thrust",
      "Controls: ailerons, elevator, rudder,", "throttle, wheel brakes", "The turbine spools up slowly: open the",
      "throttle early, land long and flat.", "Sample aircraft of this program."}},
    {"glider",
     {"Glider", "", "Span: 1.8 m", "Weight: about 0.8 kg", "No engine: hand launch (J) or aerotow",
      "Controls: ailerons, elevator, rudder", "", "Ballasted to follow the tug on tow;",
      "it climbs in thermals and glides far.", "Sample aircraft of this program."}},
    {"heli",
     {"Helicopter with flybar", "", "Rotor: two blades with a flybar", "Weight: about 3.1 kg",
      "Engine: glow engine, 900 W", "Controls: collective, cyclic, tail rotor", "",
      "The flybar calms the rotor and a gyro", "holds the tail. It hovers at mid stick.",
      "Sample aircraft of this program."}},
    {"heli01",
     {"Helicopter with a three-blade rotor", "", "Rotor: three blades, no flybar", "Weight: about 3.1 kg",
      "Engine: glow engine, 900 W", "Controls: collective, cyclic, tail rotor", "",
      "More direct than the flybar helicopter:", "it answers the cyclic at once.",
      "Sample aircraft of this program."}},
};

// The component mesh of an aircraft folder: its text mesh, else its binary one.
kxgeometry* ReadMesh(const std::string& folder, const char* name) {
  std::string base = folder + "/" + name;
  std::string path = std::filesystem::exists(base + ".obj") ? base + ".obj" : base + ".tgo";
  return kxgl::ReadMeshFile(path.c_str());
}

bool WritePictures(const std::string& aircraft, const sample& s) {
  std::string folder = aircraft + "/" + s.name;
  kxgeometry* mesh = ReadMesh(folder, s.name);
  if (!mesh) {
    std::fprintf(stderr, "make_previews: no mesh for %s\n", s.name);
    return false;
  }
  std::string text;
  for (const char* line : s.description) text += std::string(line) + "\n";
  std::string stem = folder + "/preview-" + s.name;
  bool ok = kxgl::WriteBmp((folder + "/thumb.bmp").c_str(), legacygen::TopView(mesh, kThumbnailSide)) &&
            kxgl::WriteBmp((stem + ".bmp").c_str(), legacygen::TopView(mesh, kPreviewSide)) &&
            kxgl::WriteFileBytes((stem + ".txt").c_str(), text.data(), text.size());
  kxgeometry::Free(&mesh);
  if (!ok) std::fprintf(stderr, "make_previews: cannot write the pictures of %s\n", s.name);
  return ok;
}

// A light grey square with a darker frame, labelled "no preview".
bool WriteNoPreview(const std::string& data) {
  std::vector<uint8_t> bytes;
  kxglfont font{};
  std::string fontPath = data + "/texture/arial20b.kxf";
  if (!kxgl::ReadFileBytes(fontPath.c_str(), &bytes) || !kxgl::ReadFont(bytes.data(), bytes.size(), &font)) {
    std::fprintf(stderr, "make_previews: cannot read %s\n", fontPath.c_str());
    return false;
  }
  static const int kTop[3] = {200, 200, 205}, kBottom[3] = {150, 150, 160}, kLabel[3] = {60, 60, 70};
  kximage image = texpaint::SkyGradient(kPreviewSide, kPreviewSide, kTop, kBottom);
  constexpr int kFrame = 6;  // px
  for (int y = 0; y < kPreviewSide; ++y) {
    for (int x = 0; x < kPreviewSide; ++x) {
      if (x >= kFrame && y >= kFrame && x < kPreviewSide - kFrame && y < kPreviewSide - kFrame) continue;
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * kPreviewSide + x) * image.channels];
      p[0] = p[1] = p[2] = 110;
    }
  }
  texpaint::DrawLabel(image, font, "no preview", kPreviewSide / 2, kPreviewSide / 2, kLabel);
  kxgl::FreeFont(&font);
  std::string out = data + "/texture/nopreview.bmp";
  if (kxgl::WriteBmp(out.c_str(), image)) return true;
  std::fprintf(stderr, "make_previews: cannot write %s\n", out.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_previews <data>\n");
    return 2;
  }
  std::string data = argv[1];
  bool ok = WriteNoPreview(data);
  for (const sample& s : kSamples) ok = WritePictures(data + "/aircraft", s) && ok;
  return ok ? 0 : 1;
}
