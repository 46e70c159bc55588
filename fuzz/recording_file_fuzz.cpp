// Reads arbitrary bytes as a recording file into player 1's recording
// store: whatever the file says, the frames stay within the store and the
// frame index, every stored number is finite, the end mark follows the last
// frame, and saving the result writes a file that reads back the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/hooks.h"
#include "fuzz/input_file.h"
#include "platform/log.h"
#include "sim/player.h"
#include "sim/recording.h"
#include "sim/resources.h"

namespace {

bool EnterDataFolder() {
  std::error_code error;
  if (!fuzzinput::EnterFolder() || !std::filesystem::create_directories("recordings", error)) return false;
  kxcore::SetLogHandler([](const char*) {});
  sim::ResetPlayerRecords();
  return sim::players[0].record_store.frames && sim::players[0].record_store.positions;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = EnterDataFolder();
  if (!ready) return 0;
  kxsystem::ClearLogHistory();
  simplayer& p = sim::players[0];
  p.record_store.frames[0].records = nullptr;
  fuzzinput::file input("recordings/fuzz.rec", data, size);
  if (!input.Path()) return 0;
  // No aircraft folder exists: the recording is read, then found unplayable.
  Check(sim::LoadRecording("fuzz", &p) == 0);
  Check(p.recording.present == 0 && p.recording.instance == nullptr);
  Check(std::isfinite(p.recording.header.length) && std::isfinite(p.recording.header.radius));
  long records = 0;
  const int frames = Frames(p, &records);
  const char* scenery = sim::CheckRecordingScenery("fuzz");
  Check(scenery != nullptr);
  Check(sim::SaveRecording("again", &p) == 1);
  Check(sim::LoadRecording("again", &p) == 0);
  long again = 0;
  Check(Frames(p, &again) == frames && again == records);
  std::error_code ignored;
  std::filesystem::remove("recordings/again.rec", ignored);
  return 0;
}
