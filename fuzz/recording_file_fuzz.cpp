// Reads arbitrary bytes as a recording file into player 1, who holds a
// recording already. A file that does not play leaves that recording as it
// was, byte for byte, still drawn. One that plays (the data folder has the
// aircraft "plane", drawn with no part, so its frames hold no record) takes
// its place: the frames stay within the store and the frame index, every
// stored number is finite, the end mark follows the last frame, and saving
// the result writes a file that reads back the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/air_model.h"
#include "dynamics/all/register_all.h"
#include "fuzz/input_file.h"
#include "graphics/geometric_object.h"
#include "platform/log.h"
#include "sim/player.h"
#include "sim/recording.h"
#include "sim/resources.h"

namespace {

constexpr char kPlane[] =
    "// Skyvane aircraft\n//\n//\n//\n// version: 1.8.0\n//\n// type:    4\n"
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 2\ncd ../\n";
constexpr float kHeldSeconds = 3.0f;    // s; long enough to play
constexpr float kShortestSaved = 2.01f;  // s; a saved length above this plays

bool EnterDataFolder() {
  std::error_code error;
  if (!fuzzinput::EnterFolder() || !std::filesystem::create_directories("recordings", error)) return false;
  std::filesystem::create_directories("aircraft/plane", error);
  if (error) return false;
  if (!fuzzinput::WriteBytes("aircraft/plane/plane.kxd", reinterpret_cast<const uint8_t*>(kPlane), sizeof kPlane - 1))
    return false;
  kxcore::SetLogHandler([](const char*) {});
  kxscript::Init();
  kxgraphics::RegisterTypes();
  kxdynamics::RegisterAll();
  kxdynamics::InitField(kxdynamics::Environment());
  sim::ResetPlayerRecords();
  simplayer& p = sim::players[0];
  if (!p.record_store.frames || !p.record_store.positions) return false;
  std::strcpy(p.recording.header.aircraft, "plane");
  return sim::LoadRecordedAircraft(&p) == 1;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// The frames up to the end mark; checks each lies in the store.
int Frames(const simplayer& p, long* records) {
  const float* end = p.record_store.positions + simplayer::kRecordPositions * simplayer::kRecordFloats;
  int n = 0;
  *records = 0;
  for (; p.record_store.frames[n].records; ++n) {
    const recordframe& f = p.record_store.frames[n];
    Check(n < simplayer::kRecordFrames && std::isfinite(f.time) && f.count >= 0);
    Check(f.records >= p.record_store.positions &&
          f.records + static_cast<long>(f.count) * simplayer::kRecordFloats <= end);
    for (long i = 0; i < static_cast<long>(f.count) * simplayer::kRecordFloats; ++i) Check(std::isfinite(f.records[i]));
    *records += f.count;
  }
  return n;
}

// The recording held before each input: two frames of one record, playing.
void Hold(simplayer& p) {
  float* r = p.record_store.positions;
  for (int i = 0; i < 2 * simplayer::kRecordFloats; ++i) r[i] = static_cast<float>(i);
  p.record_store.frames[0] = {0.0f, 1, r};
  p.record_store.frames[1] = {kHeldSeconds, 1, r + simplayer::kRecordFloats};
  p.record_store.frames[2].records = nullptr;
  p.recording.header = {};
  std::strcpy(p.recording.header.aircraft, "plane");
  std::strcpy(p.recording.header.scenery, "held");
  p.recording.header.length = kHeldSeconds;
  p.recording.present = 1;
  p.recording.state = sim::kRecordPlaying;
  p.recording.time = 1.0f;
  p.recording.frame = 1;
}

// What a failed load must leave: the header, the clock and the records.
std::vector<unsigned char> Held(const simplayer& p) {
  std::vector<unsigned char> bytes;
  auto add = [&bytes](const void* data, size_t size) {
    const unsigned char* b = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), b, b + size);
  };
  add(&p.recording.header, sizeof p.recording.header);
  add(&p.recording.present, sizeof p.recording.present);
  add(&p.recording.state, sizeof p.recording.state);
  add(&p.recording.time, sizeof p.recording.time);
  add(&p.recording.frame, sizeof p.recording.frame);
  add(p.record_store.frames, 3 * sizeof(recordframe));
  add(p.record_store.positions, 2 * simplayer::kRecordFloats * sizeof(float));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = EnterDataFolder();
  if (!ready) return 0;
  kxsystem::ClearLogHistory();
  simplayer& p = sim::players[0];
  Hold(p);
  const std::vector<unsigned char> held = Held(p);
  fuzzinput::file input("recordings/fuzz.rec", data, size);
  if (!input.Path()) return 0;
  const int loaded = sim::LoadRecording("fuzz", &p);
  // The held recording's aircraft is at hand, so it stays drawn either way.
  Check(p.recording.instance != nullptr);
  Check(sim::CheckRecordingScenery("fuzz") != nullptr);
  if (!loaded) {
    Check(Held(p) == held);
    return 0;
  }
  Check(p.recording.present == 1 && std::strcmp(p.recording.header.aircraft, "plane") == 0);
  Check(std::isfinite(p.recording.header.length) && std::isfinite(p.recording.header.radius));
  long records = 0;
  const int frames = Frames(p, &records);
  Check(sim::SaveRecording("again", &p) == 1);
  // The file keeps two decimals of the length: one just over 2 s is saved
  // as 2.00, too short to play.
  if (p.recording.header.length > kShortestSaved) {
    Check(sim::LoadRecording("again", &p) == 1);
    long again = 0;
    Check(Frames(p, &again) == frames && again == records);
  }
  std::error_code ignored;
  std::filesystem::remove("recordings/again.rec", ignored);
  return 0;
}
