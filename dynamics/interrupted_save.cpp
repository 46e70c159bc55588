#include "dynamics/interrupted_save.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/hooks.h"
#include "core/text_lines.h"
#include "dynamics/component_file.h"
#include "dynamics/header.h"
#include "dynamics/set_record.h"
#include "platform/file_lists.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

using newset = std::vector<std::pair<std::string, std::string>>;  // new file, target

constexpr char kBadSuffix[] = ".bad";
// Free ".bad" names tried before a stray is left where it is.
constexpr int kMostBadNames = 1000;
// The description of an older format's model: its folder is none a save of
// this program writes (the designer cannot save such a model).
constexpr char kOlderFormatExtension[] = ".dns";

bool EndsWithNoCase(const std::string& name, std::string_view end) {
  return name.size() >= end.size() && strcasecmp(name.c_str() + name.size() - end.size(), end.data()) == 0;
}

// A name as the file functions find it: taken in any capitals, by anything.
bool Taken(const std::string& path) { return kxsystem::ReadProblem(path.c_str()) != kxsystem::kNotFound; }

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }


bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::symlink_status(fs::path(path), error));
}

// Why the component file is not one the writer wrote whole for the aircraft
// named: its header naming it, at least one component and the writer's last
// line. Empty when it is; records: the other files it records.
std::string ComponentFileProblem(const std::string& path, const std::string& name,
                                 std::vector<kxdsetfile>* records) {
  std::string text;
  if (!kxdload::ReadComponentText(path.c_str(), text)) return "not readable";
  if (text.empty()) return "empty";
  kxdheader header;
  header.Parse(text.data(), text.size());
  if (header.Version() == 0 || header.Version() > kxdheader::kNewestReadable) return "no header of a component file";
  if (header.name.empty()) return "names no aircraft";
  if (strcasecmp(header.name.c_str(), name.c_str()) != 0) return "written for another aircraft";
  bool component = false;
  std::string_view last;
  kxtext::ForEachLine(text, [&](std::string_view line, int) {
    component = component || line.starts_with("Append ");
    if (!line.empty()) last = line;
  });
  if (!component) return "no component";
  if (last != kxdheader::kLastLine) return "cut short";
  *records = kxdsetrecord::Read(text);
  return std::string();
}

// Why the file at path (found in any capitals) is not the one the record
// says its save wrote; empty when it is. The size rules most files out at
// once, however large they are.
std::string RecordProblem(const std::string& path, const kxdsetfile& record) {
  const std::string file = kxsystem::ResolveReadPath(path.c_str());
  std::error_code error;
  const std::uintmax_t size = fs::file_size(fs::path(file), error);
  if (error) return "not readable";
  if (size != record.size)
    return "not the file its save wrote (" + std::to_string(size) + " bytes, not " + std::to_string(record.size) + ")";
  kxdsetfile found;
  if (!kxdsetrecord::OfFile(file, record.name, &found)) return "not readable";
  return found == record ? std::string() : "not the file its save wrote";
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

/* Why a save's new files may not be put in place; empty when they may. Each
   must be a regular file (a link or a folder at a new file's name is none a
   save made), the component file, written last, must be whole, and every
   other file of the set must be the very one it records: an empty or cut
   file a power cut left, or another aircraft's, would otherwise replace
   the user's aircraft. A recorded file without its ".new" was renamed
   already, so its target must be the recorded one. Names compare in any
   capitals, as every lookup finds them: the settings may name an aircraft
   in other capitals than its folder's. */
std::string NewSetProblem(const newset& pending, const std::string& base) {
  for (const auto& [fresh, target] : pending)
    if (!IsRegularFile(fresh)) return fresh + ": no regular file";
  const std::string older = kxsystem::ResolveReadPath((base + kOlderFormatExtension).c_str());
  if (Taken(older)) return older + ": the folder of an older format's model, which no save writes";
  std::vector<kxdsetfile> records;
  const std::string& components = pending.back().first;
  const std::string problem = ComponentFileProblem(components, FileName(base), &records);
  if (!problem.empty()) return components + ": " + problem;
  for (size_t i = 0; i + 1 < pending.size(); ++i) {
    const std::string name = FileName(pending[i].second);
    auto record = std::find_if(records.begin(), records.end(),
                               [&name](const kxdsetfile& r) { return SameName(r.name, name); });
    if (record == records.end()) return pending[i].first + ": not of this save";
    if (std::string why = RecordProblem(pending[i].first, *record); !why.empty()) return pending[i].first + ": " + why;
  }
  const std::string folder = fs::path(base).parent_path().string();
  for (const kxdsetfile& record : records) {
    if (!kxsystem::IsPlainName(record.name.c_str())) return components + ": records a file outside its folder";
    const std::string target = folder + "/" + record.name;
    const bool renamed = std::none_of(pending.begin(), pending.end(), [&record](const auto& file) {
      return SameName(FileName(file.second), record.name);
    });
    if (!renamed) continue;
    if (std::string why = RecordProblem(target, record); !why.empty()) return target + ": " + why;
  }
  return std::string();
}

// Moves a stray out of a save's way under the first free name of
// "<file>.bad", "<file>.bad1", ...; the name it got, empty when it stays.
std::string MoveAside(const std::string& file) {
  for (int n = 0; n < kMostBadNames; ++n) {
    const std::string name = file + kBadSuffix + (n ? std::to_string(n) : std::string());
    if (kxsystem::RenameFile(file.c_str(), name.c_str())) return name;
    if (!Taken(name)) break;  // not taken: the rename itself failed
  }
  return std::string();
}

// Moves each new file aside; aside gets their names as they are left.
void SetAside(const newset& pending, const std::string& base, kxdwriters::setaside* aside) {
  aside->aircraft = FileName(base);
  aside->files.clear();
  aside->moved = true;
  for (const auto& file : pending) {
    std::string moved = MoveAside(file.first);
    if (moved.empty()) aside->moved = false;
    aside->files.push_back(FileName(moved.empty() ? file.first : moved));
  }
}

}  // namespace

namespace kxdwriters {

std::string ListedNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

/* A save killed on its way leaves "<file>.new" files, each complete and on
   disk (it gets that name only once whole), and perhaps the temporary of
   the one being written. The component file is written last and renamed
   last, so its ".new" tells the two cases apart: with it, every file of the
   set was complete and the renames had begun or were due, and they are
   carried out as the save would have, once the set is found whole; without
   it, the renames never began, and the ".new" files go, leaving the set
   saved before. A set that is not whole is no save of this program's: it is
   set aside, never put in place. Rolling back a begun set was the other
   way, but the old files it would need are gone by then. */
interruptedsave FinishInterruptedSave(const std::string& base, setaside* aside) {
  newset pending;
  for (const char* extension : kSetExtensions) {
    const std::string target = base + extension;
    const std::string fresh = kxsystem::ResolveReadPath((target + kNewSuffix).c_str());
    kxsystem::RemoveUnfinishedWrite(fresh.c_str());
    kxsystem::RemoveUnfinishedWrite(target.c_str());
    std::error_code error;
    if (fs::exists(fs::symlink_status(fs::path(fresh), error))) pending.emplace_back(fresh, target);
  }
  if (pending.empty()) return interruptedsave::kNothing;
  if (!pending.back().second.ends_with(kComponentExtension)) {
    // A folder or a pipe at such a name is none of ours to remove.
    std::vector<std::string> moved;
    for (const auto& file : pending) {
      std::error_code error;
      const fs::file_status status = fs::symlink_status(fs::path(file.first), error);
      if (fs::is_regular_file(status) || fs::is_symlink(status)) {
        kxsystem::DeleteFile(file.first.c_str());
      } else if (std::string name = MoveAside(file.first); !name.empty()) {
        moved.push_back(FileName(name));
      }
    }
    kxcore::Log("kxdynamics:  %s: the files of a save cut short removed%s%s; the aircraft stays as saved before\n",
                base.c_str(), moved.empty() ? "" : ", what was no file moved aside as ", ListedNames(moved).c_str());
    return interruptedsave::kRemoved;
  }
  const std::string problem = NewSetProblem(pending, base);
  if (!problem.empty()) {
    setaside left;
    SetAside(pending, base, &left);
    kxcore::Log("kxdynamics:  %s: the files of a save cut short are not whole (%s); %s %s, the aircraft stays as "
                "saved before\n",
                base.c_str(), problem.c_str(), left.moved ? "set aside as" : "could not be moved and stay as",
                ListedNames(left.files).c_str());
    if (aside) *aside = std::move(left);
    return interruptedsave::kSetAside;
  }
  if (!kxsystem::ReplaceFiles(pending)) {
    kxcore::Log("kxdynamics:  %s: a save cut short could not be finished; its .new files are kept\n", base.c_str());
    return interruptedsave::kKept;
  }
  // As after a whole save: a binary twin must not shadow the text mesh.
  for (const auto& file : pending)
    if (file.second.ends_with(".obj")) kxsystem::DeleteFile((base + ".tgo").c_str());
  kxcore::Log("kxdynamics:  %s: a save cut short after its files were complete finished\n", base.c_str());
  return interruptedsave::kFinished;
}

std::vector<setaside> FinishInterruptedSaves() {
  std::vector<setaside> found;
  for (const std::string& name : kxsystem::ListDirectories("aircraft/*", 1)) {
    const std::string folder = "aircraft/" + name;
    // A folder linked in from elsewhere is not the program's to change.
    if (!kxsystem::MayChangeFolder(folder.c_str())) continue;
    // One listing tells the folders with nothing left over, nearly all.
    const std::vector<std::string> files = kxsystem::ListFiles((folder + "/*").c_str(), 1, 1);
    const auto any = [&files](std::string_view end) {
      return std::any_of(files.begin(), files.end(), [end](const std::string& f) { return EndsWithNoCase(f, end); });
    };
    // The temporaries of the designer's copies (pictures in any format) and
    // of the set's own writes.
    if (any(kxsystem::kTempSuffix)) kxsystem::RemoveUnfinishedWrites(folder.c_str());
    setaside aside;
    if (any(kNewSuffix) && FinishInterruptedSave(folder + "/" + name, &aside) == interruptedsave::kSetAside)
      found.push_back(std::move(aside));
  }
  return found;
}

}  // namespace kxdwriters
