// Loads arbitrary bytes as an airfoil file: the reader must keep every count
// within its table, and the tables built from whatever it kept must hold
// finite numbers only.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/hooks.h"
#include "dynamics/wings/airfoil.h"
#include "fuzz/input_file.h"

namespace {

// The private folder with "aircraft/airfoil/" becomes the data folder, once.
bool EnterDataFolder() {
  kxcore::SetLogHandler([](const char*) {});
  std::error_code error;
  return fuzzinput::EnterFolder() && std::filesystem::create_directories("aircraft/airfoil", error) && !error;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = EnterDataFolder();
  if (!ready) return 0;
  fuzzinput::file input("aircraft/airfoil/fuzz.kxa", data, size);
  if (!input.Path()) return 0;
  kxstring title = kxdairfoil::ReadTitle("fuzz");
  Check(title.Length() <= size);
  kxdairfoil* a = new kxdairfoil;
  if (!a) return 0;
  a->FileName = "fuzz";
  a->Load();
  a->BuildTables();
  Check(a->DatasetCount >= 0 && a->DatasetCount <= kxdairfoil::kMaxDatasets);
  Check(a->CoordCount >= 0 && a->CoordCount <= kxdairfoil::kMaxPoints);
  for (int d = 0; d < a->DatasetCount; ++d) {
    Check(a->RowCount[d] >= 0 && a->RowCount[d] <= kxdairfoil::kMaxRows);
    for (int j = 1; j < a->RowCount[d]; ++j) Check(a->Alpha[d][j - 1] <= a->Alpha[d][j]);
  }
  for (int n = 0; n < kxdairfoil::kDirectionEntries; ++n) {
    Check(std::isfinite(a->ClTable[n]) && std::isfinite(a->CdTable[n]) && std::isfinite(a->CmTable[n]));
  }
  for (int i = 0; i < a->CoordCount; ++i) Check(std::isfinite(a->CoordX[i]) && std::isfinite(a->CoordY[i]));
  delete a;
  return 0;
}
