// Reads arbitrary bytes as the settings files, through the file reader and
// line by line from memory: whatever the bytes, every text setting stays
// terminated within its buffer and every number setting finite, and what
// was read is written, read back and written again to the same bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/input_file.h"
#include "platform/log.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/settings.h"

namespace {

void Check(const settingsrow* table) {
  for (const settingsrow* row = table; row->type != settingsrow::kEnd; ++row) {
    if (row->type == settingsrow::kString &&
        strnlen(static_cast<const char*>(row->variable), sim::kSettingStringChars) >= sim::kSettingStringChars)
      std::abort();
    if (row->type == settingsrow::kFloat && !std::isfinite(*static_cast<const float*>(row->variable))) std::abort();
  }
}

// The table's settings written, read back from that file and written
// again give the same text.
void RoundTrip(const settingsrow* table, const char* kind) {
  static const std::string written = (fuzzinput::Folder() / "written.mcf").string();
  std::string first = sim::FormatSettings(table);
  if (!sim::WriteSettingsFile(written.c_str(), table, kind)) std::abort();
  sim::ReadSettingsFile(written.c_str(), table, kind);
  if (sim::FormatSettings(table) != first) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzinput::file input("settings.txt", data, size);
  if (!input.Path()) return 0;
  const char* path = input.Path();
  kxsystem::ClearLogHistory();  // the readers' progress lines are of no interest here
  // An unreadable input is moved aside to this name: gone, so that every
  // input can take that way, not only the first.
  std::remove((std::string(path) + ".bad").c_str());

  sim::ReadSettingsFile(path, sim::MainSettings(), "");
  Check(sim::MainSettings());
  RoundTrip(sim::MainSettings(), "");
  sim::ReadSettingsFile(path, sim::PlayerSettings(), "player ");
  Check(sim::PlayerSettings());
  RoundTrip(sim::PlayerSettings(), "player ");

  std::string text(reinterpret_cast<const char*>(data), size);
  sim::ResetSettings(sim::MainSettings());
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    sim::ReadSettingsLine(line.c_str(), sim::MainSettings());
    if (end == std::string::npos) break;
    start = end + 1;
  }
  Check(sim::MainSettings());
  return 0;
}
