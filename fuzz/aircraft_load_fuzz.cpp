// Loads a whole aircraft made from arbitrary bytes: its component file with
// the header, the geometry script with its "Mesh" lines, meshes and textures,
// all written into "aircraft/fuzz/" of a private data folder (airfoils, named
// "*.kxa", into "aircraft/airfoil/"). A loaded aircraft is placed and stepped
// a few substeps; unloading must give back every texture the load took.
//
// Input: the component file, then up to eight files, each introduced by a
// line "@@ <name>" (letters, digits, '.', '-', '_'; not starting with '.'):
//   <fuzz.kxd text>
//   @@ fuzz.kxg
//   <geometry script>
//   @@ fuzz.obj
//   <mesh naming "skin.kxt">
//   @@ skin.kxt
//   <texture>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/matrix.h"
#include "dynamics/air_model.h"
#include "dynamics/all/register_all.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/load.h"
#include "dynamics/registry.h"
#include "fuzz/input_file.h"
#include "graphics/geometric_object.h"
#include "graphics/texture_table.h"

namespace {

constexpr std::string_view kFileMark = "\n@@ ";
constexpr const char* kFolder = "aircraft/fuzz";
constexpr const char* kAirfoilFolder = "aircraft/airfoil";
constexpr size_t kMaxFiles = 8;
constexpr size_t kMaxNameLength = 32;
constexpr int kSubsteps = 3;

bool SafeName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength || name[0] == '.') return false;
  for (char c : name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                 c == '-' || c == '_';
    if (!plain) return false;
  }
  return true;
}

void Put(std::string_view name, std::string_view bytes) {
  const char* folder = name.ends_with(".kxa") ? kAirfoilFolder : kFolder;
  std::filesystem::path path = std::filesystem::path(folder) / std::string(name);
  fuzzinput::WriteBytes(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Writes the component file and every well-named file that follows it.
void PutFiles(std::string_view input) {
  size_t mark = input.find(kFileMark);
  Put("fuzz.kxd", input.substr(0, mark));
  for (size_t files = 0; mark != std::string_view::npos && files < kMaxFiles; ++files) {
    size_t nameStart = mark + kFileMark.size();
    size_t nameEnd = input.find('\n', nameStart);
    if (nameEnd == std::string_view::npos) return;
    size_t next = input.find(kFileMark, nameEnd);
    std::string_view name = input.substr(nameStart, nameEnd - nameStart);
    if (SafeName(name)) Put(name, input.substr(nameEnd + 1, next == std::string_view::npos ? next : next - nameEnd - 1));
    mark = next;
  }
}

bool Setup() {
  kxcore::SetLogHandler([](const char*) {});
  if (!fuzzinput::EnterFolder()) return false;
  kxscript::Init();
  kxgraphics::RegisterTypes();
  kxdynamics::RegisterAll();
  kxdynamics::InitField(kxdynamics::Environment());
  std::error_code error;
  std::filesystem::create_directories(kFolder, error);
  if (!error) std::filesystem::create_directories(kAirfoilFolder, error);
  return !error;
}

void Clear(const char* folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = Setup();
  if (!ready) return 0;
  PutFiles(std::string_view(reinterpret_cast<const char*>(data), size));

  int texturesBefore = kxgl::TexturesInUse();
  if (kxdload::LoadSlot(0, "fuzz")) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Slot(0);
    kxmatrix pose;
    kxmatrix::SetIdentity(&pose);
    pose.R = {0.0f, 0.0f, 10.0f, 1.0f};
    kxdaircraftinstance::PlaceAt(instance, pose, {10.0f, 0.0f, 0.0f, 0.0f});
    kxdynamics::RunSubsteps(kxdynamics::Tree(kxdynamics::kxdtree::kState),
                            kxdynamics::Tree(kxdynamics::kxdtree::kChange), kSubsteps);
  }
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  if (kxgl::TexturesInUse() != texturesBefore) std::abort();

  // Airfoils stay cached by title; the next input brings its own.
  kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil)->DeleteChildren();
  Clear(kFolder);
  Clear(kAirfoilFolder);
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
