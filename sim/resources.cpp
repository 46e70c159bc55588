#include "sim/resources.h"

#include <cstdlib>
#include <string>

#include "dynamics/interrupted_save.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "graphics/texture_table.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/reserves.h"
#include "platform/sound.h"
#include "sim/menu_state.h"
#include "sim/language_switch.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/settings.h"
#include "sim/views/reflection_maps.h"

namespace sim {

namespace {

constexpr int kCameraSizes[2][2] = {{210, 120}, {200, 88}};  // px, overlay cameras 0 and 1

// The recording store of both players: frame index and position records.
// Allocated zeroed once and kept for the run; the pages of a store nobody
// records into are never touched.
struct recordstore {
  recordframe* frames = nullptr;
  float* positions = nullptr;
  recordstore() {
    frames = static_cast<recordframe*>(std::calloc(static_cast<size_t>(kPlayers) * simplayer::kRecordFrameEntries,
                                                   sizeof(recordframe)));
    positions = static_cast<float*>(std::calloc(
        static_cast<size_t>(kPlayers) * simplayer::kRecordPositions * simplayer::kRecordFloats, sizeof(float)));
    if (!frames || !positions) kxsystem::Log("sim:  recording store=fail\n");
  }
  ~recordstore() {
    std::free(frames);
    std::free(positions);
  }
};

recordstore& Store() {
  static recordstore store;
  return store;
}

// A fresh record (every field at its declared start value, the exhaust rows
// chained to its own storage), then what the run gives each player: its
// share of the recording store and the overlay cameras' sizes.
void ResetPlayer(simplayer& p, int index) {
  // The fresh record is built on the stack; the smoke pool, most of its
  // weight, lives on the heap and changes hands with the assignment.
  static_assert(sizeof(simplayer) <= 64 * 1024, "a fresh player record must stay small enough for the stack");
  p = simplayer{};
  recordstore& store = Store();
  playerrecordstore& share = p.record_store;
  share.frames = store.frames ? store.frames + static_cast<size_t>(index) * simplayer::kRecordFrameEntries : nullptr;
  share.positions = store.positions ? store.positions + static_cast<size_t>(index) * simplayer::kRecordPositions *
                                                            simplayer::kRecordFloats
                                    : nullptr;
  share.write = share.positions;
  for (int c = 0; c < 2; ++c) {
    p.camera[c].width = kCameraSizes[c][0];
    p.camera[c].height = kCameraSizes[c][1];
  }
}

kxtexture* Instrument(const std::string& path) {
  return kxgl::LoadTexture(path.c_str());
}

// The folders the program writes into whose temporaries nobody else
// removes. The settings files' loaders end what their own killed writes
// left, and each aircraft folder is swept with what a save cut short left
// there (FinishInterruptedSaves).
const char* const kWrittenFolders[] = {"config", "recordings", "screenshots"};

}  // namespace

void RemoveUnfinishedWrites() {
  for (const char* folder : kWrittenFolders) kxsystem::RemoveUnfinishedWrites(folder);
  // The top level is the installation's: only the chosen translation's copy
  // is the program's there.
  kxsystem::RemoveUnfinishedWrite(kLanguagePath);
}

void LoadInstrumentPictures(const std::string& folder) {
  static const char* const kInstruments[sessionmedia::kInstruments] = {
      "texture/airspeed.bmp", "texture/caltimeter.bmp",        "texture/cvariometer.bmp", "texture/indicator.bmp",
      "texture/ccompass.bmp", "texture/ccompassindicator.bmp", "texture/chorizon.bmp"};
  for (int i = 0; i < sessionmedia::kInstruments; ++i)
    session.media.instrument_textures[i] = Instrument(folder + kInstruments[i]);
  kxgl::LoadGeometry((folder + "objects/horizon.obj").c_str(), &session.media.horizon_mesh, 0, 0);
}

void ResetPlayerRecords() {
  for (int i = 0; i < kPlayers; ++i) ResetPlayer(players[i], i);
}

}  // namespace sim

namespace {

// What became of a save's new files that were not whole, as the user's
// notice says it: moved out of the way, or left where they were.
std::string SetAsideNotice(const kxdwriters::setaside& aside) {
  const std::string files = kxdwriters::ListedNames(aside.files);
  return "A save of the aircraft " + aside.aircraft + " was cut short and its new files were not whole. " +
         (aside.moved ? "They were moved aside as " : "They could not be moved aside and stay as ") + files +
         " in aircraft/" + aside.aircraft + "; the aircraft stays as it was saved before.";
}

}  // namespace

namespace kxprogram {

void LoadResources() {
  using namespace sim;
  sessionmedia& m = session.media;
  kxsystem::Log("kxprogram:  %s Version %s\n", kProductName, kVersion);

  // The program starts from a fresh run; the world record's own words are
  // cleared by its loader.
  session.run = {};

  ResetPlayerRecords();
  RemoveUnfinishedWrites();
  // What a designer save killed on its way left is ended before any
  // aircraft is read.
  for (const kxdwriters::setaside& aside : kxdwriters::FinishInterruptedSaves())
    PostNotice(SetAsideNotice(aside));
  LoadConfigFiles();

  m.beep_sound = directsound::RegisterSound("sound/beep.wav");
  m.balloon_sound = directsound::RegisterSound("sound/balloon.wav");
  m.crash_sound = directsound::RegisterSound("sound/crash.wav");
  m.splash_sound = directsound::RegisterSound("sound/splash.wav");
  m.glider_sound = directsound::RegisterSound("sound/glider.wav");
  m.glider2_sound = directsound::RegisterSound("sound/glider2.wav");
  directsound::SetMasterVolume(session.settings.sound_volume);

  LoadInstrumentPictures("");
  m.backlight_texture = kxgl::LoadTexture("texture/backlight.bmp", {.type = kxgl::kTypeAlpha,
                                                                    .filter = kxgl::kFilterLinear});
  m.compass_texture = kxgl::LoadTexture("texture/compass.bmp", {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear});
  m.about_texture = kxgl::LoadTexture("texture/about.bmp", {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear});

  // Three cube maps of six RGB faces each; the views render into them.
  m.cube_size = kCubeSize;
  kxsystem::Reserve(&m.reflection_maps1, static_cast<long>(kCubeMaps) * 6 * kCubeSize * kCubeSize * 3, "reflmaps1");
  kxsystem::Reserve(&m.reflection_maps2, static_cast<long>(kCubeSize) * 18 * kCubeSize, "reflmaps2");
  for (int i = 0; i < kCubeMaps; ++i) {
    kxstring name;
    name.Format("cubemap%d", i);
    m.cubemap_textures[i] = kxgl::CreateTexture(name.Text(), kxgl::kTypeRGB, 1, 1, kxgl::kFilterNearest,
                                                kxgl::kWrapClamp, kxgl::kWrapClamp, 1);
    if (m.cubemap_textures[i]) m.cubemap_textures[i]->cube = 1;
  }
}

}  // namespace kxprogram
