// make_legacy_models: writes the sample models of the legacy runtime.
//   make_legacy_models <data> <fixtures>
// Into <data>: airlark/aircraft/{glider,trainer,vectorjet,heli}.dns with
// their text meshes (.obj) and 64 x 64 thumbnails (<stem>_thumb.bmp); their
// sounds in airlark/sound/; aircraft/piccolo/ with piccolo.dns, piccolo.tgo,
// thumb.bmp and the selection's 256 x 256 preview-piccolo.bmp and
// preview-piccolo.txt (its sound is the program's sound/motor.wav). Into
// <fixtures>: fall.dns and trainer_scrambled.dns, the trainer scrambled.
#include <cstdio>
#include <filesystem>
#include <string>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "graphics/mesh.h"
#include "legacy/dns_scramble.h"
#include "tools/legacygen/samples.h"
#include "tools/legacygen/top_view.h"
#include "tools/soundgen/soundgen.h"

namespace {

constexpr int kThumbnailSide = 64;  // pixels
constexpr int kPreviewSide = 256;   // pixels

// What the aircraft selection says of the piccolo: ten lines that fit its
// description box.
constexpr const char kPiccoloDescription[] =
    "Small electric helicopter\n"
    "\n"
    "Rotor: 0.5 m, two blades, fixed pitch\n"
    "Weight: about 0.25 kg\n"
    "Controls: throttle, roll, pitch, tail\n"
    "\n"
    "The throttle sets the rotor's speed\n"
    "and so its lift: it climbs from half\n"
    "throttle on; gusts rock it low down.\n"
    "A model of the older format.\n";

bool WriteText(const std::string& path, const std::string& text) {
  if (kxgl::WriteFileBytes(path.c_str(), text.data(), text.size())) return true;
  std::fprintf(stderr, "make_legacy_models: cannot write %s\n", path.c_str());
  return false;
}

// The model file, its mesh (text or binary) and its thumbnail; with a
// preview path also its preview picture.
bool WriteModel(legacygen::sample s, const std::string& folder, const std::string& meshPath,
                const std::string& thumbnailPath, const std::string& previewPath = "") {
  bool ok = WriteText(folder + s.name + ".dns", s.dns);
  int meshOk = meshPath.ends_with(".tgo") ? kxgeometry::WriteBinary(meshPath.c_str(), s.mesh)
                                          : kxgeometry::WriteText(meshPath.c_str(), s.mesh);
  int thumbOk = kxgl::WriteBmp(thumbnailPath.c_str(), legacygen::TopView(s.mesh, kThumbnailSide));
  if (!previewPath.empty()) {
    thumbOk = kxgl::WriteBmp(previewPath.c_str(), legacygen::TopView(s.mesh, kPreviewSide)) && thumbOk;
  }
  kxgeometry::Free(&s.mesh);
  if (!meshOk || !thumbOk) std::fprintf(stderr, "make_legacy_models: cannot write the mesh or thumbnail of %s\n",
                                        s.name.c_str());
  return ok && meshOk && thumbOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_legacy_models <data> <fixtures>\n");
    return 2;
  }
  std::string data = std::string(argv[1]) + "/", fixtures = std::string(argv[2]) + "/";
  std::string airlark = data + "airlark/aircraft/", sounds = data + "airlark/sound/";
  std::string piccolo = data + "aircraft/piccolo/";
  for (const std::string& folder : {airlark, sounds, piccolo, fixtures}) std::filesystem::create_directories(folder);

  bool ok = true;
  for (legacygen::sample (*make)() : {legacygen::Glider, legacygen::Trainer, legacygen::VectorJet, legacygen::Heli}) {
    legacygen::sample s = make();
    std::string stem = airlark + s.name;
    ok = WriteModel(s, airlark, stem + ".obj", stem + "_thumb.bmp") && ok;
  }
  ok = WriteModel(legacygen::Piccolo(), piccolo, piccolo + "piccolo.tgo", piccolo + "thumb.bmp",
                  piccolo + "preview-piccolo.bmp") &&
       ok;
  ok = WriteText(piccolo + "preview-piccolo.txt", kPiccoloDescription) && ok;
  // The trainer's engine and the helicopter's rotor.
  ok = soundgen::WriteWave((sounds + "engine.wav").c_str(), soundgen::Engine(6000.0f, 0.4f, 11)) && ok;
  ok = soundgen::WriteWave((sounds + "heli.wav").c_str(), soundgen::Engine(1500.0f, 0.6f, 12)) && ok;
  ok = soundgen::WriteWave((sounds + "jet.wav").c_str(), soundgen::Turbine(2400.0f, 13)) && ok;

  ok = WriteText(fixtures + "fall.dns", legacygen::Fall().dns) && ok;
  legacygen::sample trainer = legacygen::Trainer();
  kxgeometry::Free(&trainer.mesh);
  dnsmodel::Scramble(trainer.dns.data(), trainer.dns.size());
  ok = WriteText(fixtures + "trainer_scrambled.dns", trainer.dns) && ok;
  return ok ? 0 : 1;
}
