#include "dynamics/wings/airfoil.h"

#include <strings.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "dynamics/registry.h"
#include "platform/codes.h"
#include "platform/file_lists.h"
#include "platform/files.h"

kxtype kxdairfoil::Type("kxdairfoil", sizeof(kxdairfoil));

namespace {

constexpr const char* kFolder = "aircraft/airfoil/";
constexpr const char* kPattern = "aircraft/airfoil/*.kxa";
constexpr const char* kExtension = ".kxa";
constexpr size_t kExtensionLength = 4;

std::string PathOf(const char* stem) { return std::string(kFolder) + (stem ? stem : "") + kExtension; }

/*
 * The folder is listed with the extension kept and only the final ".kxa"
 * taken off, so "naca.0012.kxa" is listed as "naca.0012" and can be opened
 * again; cutting at the first dot would name a file that does not exist.
 * The platform lists in descending byte order when unsorted, so with equal
 * titles the file first in ascending order is the one remembered last.
 */
std::vector<std::string> ListStems() {
  std::vector<std::string> names = kxsystem::ListFiles(kPattern, 1, 0);
  std::vector<std::string> stems;
  stems.reserve(names.size());
  for (std::string& n : names) {
    if (n.size() > kExtensionLength &&
        strcasecmp(n.c_str() + n.size() - kExtensionLength, kExtension) == 0) {
      n.resize(n.size() - kExtensionLength);
      stems.push_back(n);
    }
  }
  return stems;
}

std::vector<std::string>& CachedStems() {
  static std::vector<std::string> stems;
  return stems;
}
bool& Listed() {
  static bool listed = false;
  return listed;
}

}  // namespace

kxdairfoil::kxdairfoil() {
  type = &Type;
  // The block comes zero-filled from the arena; the counts are set anyway so
  // a node made elsewhere starts alike.
  DatasetCount = 0;
  CoordCount = 0;
  DroppedDatasets = DroppedRows = DroppedPoints = 0;
  Unusable = 0;
  for (int d = 0; d < kMaxDatasets; ++d) {
    RowCount[d] = 0;
    Reynolds[d] = 0.0f;
  }
}

kxdairfoil::~kxdairfoil() = default;

kxvalueptr kxdairfoil::GetMember(const char* member, const kxargs& args) { return kxnode::GetMember(member, args); }

kxdairfoil* kxdairfoil::Find(const char* title) {
  kxnode* holder = kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil);
  if (!holder || !title) return nullptr;
  // A refused file stays refused for the run, as a found one stays found:
  // its reason is logged once.
  for (kxnode* c = holder->firstChild; c; c = c->nextSibling) {
    if (c->type == &Type && c->name.Equal(title))
      return static_cast<kxdairfoil*>(c)->Unusable ? nullptr : static_cast<kxdairfoil*>(c);
  }
  std::vector<std::string> stems = ListStems();
  const std::string* match = nullptr;
  for (const std::string& stem : stems) {
    if (ReadTitle(stem.c_str()).Equal(title)) match = &stem;
  }
  if (!match) return nullptr;
  kxdairfoil* airfoil = new kxdairfoil;
  if (!airfoil) {
    kxcore::Log("kxdairfoil: no room for airfoil %s\n", title);
    return nullptr;
  }
  holder->AppendChild(airfoil);
  airfoil->name = title;
  airfoil->FileName = match->c_str();
  airfoil->Load();
  airfoil->BuildTables();
  return airfoil->Unusable ? nullptr : airfoil;
}

kxstring kxdairfoil::ReadTitle(const char* stem) {
  kxfile* file = kxsystem::OpenFile(PathOf(stem).c_str(), kxcode::kFileReadBinary);
  if (!file) return kxstring();
  std::string first = kxsystem::ReadLine(file);
  std::string second = kxsystem::ReadLine(file);
  kxsystem::CloseFile(file);
  return kxdairfoiltitle(first.c_str(), second.c_str());
}

int kxdairfoil::ListFiles(kxstring* out, int capacity) {
  if (!out || capacity < 1) return 0;
  if (!Listed()) {
    CachedStems() = ListStems();
    Listed() = true;
  }
  const std::vector<std::string>& stems = CachedStems();
  int n = 0;
  for (; n < capacity - 1 && n < static_cast<int>(stems.size()); ++n) out[n] = stems[n].c_str();
  out[n] = "";
  return n;
}

void kxdairfoil::ForgetListing() {
  CachedStems().clear();
  Listed() = false;
}

void kxdairfoil::Load() {
  kxcore::Log("kxdairfoil: loading %s ", FileName.Text());
  DatasetCount = 0;
  CoordCount = 0;
  DroppedDatasets = DroppedRows = DroppedPoints = 0;
  Unusable = 0;
  kxfile* file = kxsystem::OpenFile(PathOf(FileName.Text()).c_str(), kxcode::kFileReadBinary);
  if (!file) {
    kxcore::Log("failed\n");
    return;
  }
  kxdairfoilreader reader(this);
  for (;;) {
    const char* line = kxsystem::ReadLine(file);
    // A read error sets no end-of-file flag; it ends the reading too.
    if (!*line && (kxsystem::IsEof(file) || std::ferror(file->stream))) break;
    reader.Line(line);
  }
  kxsystem::CloseFile(file);
  Unusable = reader.RefusedLine() ? 1 : 0;
  kxcore::Log(Unusable ? "failed\n" : "ok\n");
  // Reported after the loading line is complete, never inside it.
  if (Unusable) {
    kxcore::Log("kxdairfoil: %s line %d: \"%s\" holds a value that is not finite or beyond airfoil data; the "
                "airfoil is not used\n",
                PathOf(FileName.Text()).c_str(), reader.RefusedLine(), kxexcerpt(reader.RefusedRow()).c_str());
  }
  if (DroppedDatasets || DroppedRows || DroppedPoints) {
    kxcore::Log("kxdairfoil: %s: beyond the limits, %d datasets, %d rows and %d points left out\n",
                FileName.Text(), DroppedDatasets, DroppedRows, DroppedPoints);
  }
}
