// Reads arbitrary bytes as a control configuration: loaded into a mapper
// and read for its text, then written in the easy and the advanced form.
// Whatever the bytes, a configuration once written reads back into the same
// file, byte for byte, so saving never drifts.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "config_ui/control_config.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "fuzz/input_file.h"
#include "platform/device_mapper.h"
#include "platform/input_types.h"
#include "sim/config_files.h"

namespace {

// The private folder with "config/" becomes the data folder, once.
bool EnterDataFolder() {
  kxcore::SetLogHandler([](const char*) {});
  kxscript::Init();
  input::RegisterTypes();
  std::error_code error;
  return fuzzinput::EnterFolder() && std::filesystem::create_directories("config", error) && !error;
}

// Loads stem into a new mapper and writes it again in one form.
std::string Rewrite(const char* stem, bool easy) {
  kxdevicemapper* mapper = new kxdevicemapper;
  kxscript::Root()->AppendChild(mapper);
  sim::LoadConfiguration(mapper, stem);
  std::string description = svconfig::StoredDescription(svconfig::ReadConfigurationText(stem).description.c_str());
  std::string text = easy ? svconfig::EasyForm(*mapper, description.c_str(), svconfig::MapperState(*mapper))
                          : svconfig::AdvancedForm(*mapper, description.c_str());
  kxscript::Root()->DeleteChildren();  // also whatever the file appended
  kxscript::SetCurrent(kxscript::Root());
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = EnterDataFolder();
  if (!ready) return 0;
  fuzzinput::file input("config/fuzz.kxa", data, size);
  if (!input.Path()) return 0;
  for (bool easy : {false, true}) {
    std::string first = Rewrite("fuzz", easy);
    if (!svconfig::WriteConfiguration("round", first)) return 0;
    if (Rewrite("round", easy) != first) std::abort();
  }
  return 0;
}
