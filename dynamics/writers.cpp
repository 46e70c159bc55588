#include "dynamics/writers.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/text_lines.h"
#include "dynamics/aircraft.h"
#include "dynamics/component_file.h"
#include "dynamics/header.h"
#include "dynamics/instance.h"
#include "dynamics/write_links.h"
#include "dynamics/geometry_link.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "platform/file_lists.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

void WriteComponent(kxout& out, kxnode* node) {
  kxdintegrable* component = kxdintegrable::As(node);
  if (!component || !node->type) return;
  out.Printf("Append %s %s\n", node->type->Name(), node->name.Text());
  out.Printf("cd %s/\n", node->name.Text());
  component->Write(out);
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) WriteComponent(out, c);
  out.Printf("cd ../\n");
}

void WriteObject(kxout& out, kxnode* node) {
  out.Printf("Append kxgeometricobject %s\n", node->name.Text());
  out.Printf("cd %s/\n", node->name.Text());
  kxvalueptr shiny = node->GetMember("Shiny", kxargs::None());
  double s = 0.0;
  if (shiny && shiny->GetNumber(s) && s != 0.0) out.Printf("Shiny = %g\n", s);
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) WriteObject(out, c);
  out.Printf("cd ../\n");
}

int Save(kxdaircraftinstance* instance, const char* extension, const kxout& out) {
  std::string path = instance->Directory.Str() + "/" + instance->Name.Str() + extension;
  kxcore::Log("kxdynamics:  writing %s=", path.c_str());
  kxsystem::CreateDirectory(instance->Directory.Text());
  const std::string& text = out.Text();
  int ok = kxsystem::WriteWholeFile(path.c_str(), text.data(), static_cast<long>(text.size()));
  kxcore::Log(ok ? "ok\n" : "fail\n");
  return ok;
}

// Where and in which form the mesh is exported, and from what.
struct meshexport {
  kxgeometricobject* root = nullptr;  // null: no mesh to write
  std::string base;                   // "<directory>/<name>"
  bool text = false;                  // ".obj", else ".tgo"
  std::string Path() const { return base + (text ? ".obj" : ".tgo"); }
};

meshexport MeshExport(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory) {
  meshexport m;
  if (!instance->Meshes || !instance->GeometryTemplate) return m;
  m.root = static_cast<kxgeometricobject*>(kxdgeometry::From(instance->GeometryTemplate));
  std::string name = previousName && *previousName ? previousName : instance->Name.Str();
  std::string directory = previousDirectory && *previousDirectory ? previousDirectory : instance->Directory.Str();
  m.text = kxsystem::GetFileSize((directory + "/" + name + ".obj").c_str()) > 0;
  m.base = instance->Directory.Str() + "/" + instance->Name.Str();
  return m;
}

int WriteMeshTo(const meshexport& m, const std::string& path) {
  return kxgeometricobject::WriteMesh(m.root, path.c_str(), m.text ? 0 : 1);
}

constexpr char kNewSuffix[] = ".new";
constexpr char kComponentExtension[] = ".kxd";
// The files of one aircraft's set in the order a save writes and renames
// them: the geometry script, the mesh in either form, the component file.
constexpr const char* kSetExtensions[] = {".kxg", ".obj", ".tgo", kComponentExtension};

bool Leftover(const std::string& name) { return name.ends_with(kNewSuffix) || name.ends_with(".tmp"); }

}  // namespace

namespace kxdwriters {

void AircraftText(kxdaircraftinstance* instance, kxout& out) {
  if (!instance || !instance->Template) return;
  kxdheader::Write(out, instance->Name.Text(), instance->TypeWord);
  if (instance->Locked) out.Printf("Lock = 1\n");
  // Links are written relative to this aircraft's own trees.
  kxdwrite::SetRoots(instance->Template, instance->GeometryTemplate);
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) WriteComponent(out, c);
  kxdwrite::SetRoots(nullptr, nullptr);
  out.Printf("%s\n", kxdheader::kLastLine);
}

void GeometryText(kxdaircraftinstance* instance, kxout& out) {
  if (!instance || !instance->GeometryTemplate) return;
  for (kxnode* c = instance->GeometryTemplate->firstChild; c; c = c->nextSibling) WriteObject(out, c);
}

int ExportMeshes(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory) {
  if (!instance || instance->Name.Empty()) return 0;
  meshexport m = MeshExport(instance, previousName, previousDirectory);
  if (!m.root) return 0;
  std::string path = m.Path();
  kxsystem::CreateDirectory(instance->Directory.Text());
  kxcore::Log("kxdynamics:  writing %s=", path.c_str());
  int ok = WriteMeshTo(m, path);
  if (ok && m.text) ok = kxsystem::DeleteFile((m.base + ".tgo").c_str());
  kxcore::Log(ok ? "ok\n" : "fail\n");
  return ok;
}

/* The three files are one aircraft: a component file beside the geometry
   or mesh of another save would not load as either. Each is written whole
   as "<file>.new" first; only when all are complete are they renamed over
   the old ones, the component file last. A failure before the renames
   leaves the old set untouched and no new file behind. */
int WriteAircraftSet(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory) {
  if (!instance || !instance->Template || instance->Name.Empty()) return 0;
  const std::string base = instance->Directory.Str() + "/" + instance->Name.Str();
  FinishInterruptedSave(base);
  kxcore::Log("kxdynamics:  saving aircraft %s=", base.c_str());
  kxsystem::CreateDirectory(instance->Directory.Text());
  kxout geometry, components;
  GeometryText(instance, geometry);
  AircraftText(instance, components);
  meshexport m = MeshExport(instance, previousName, previousDirectory);
  std::vector<std::pair<std::string, std::string>> files;  // new file, target
  auto add = [&files](const std::string& target) { files.emplace_back(target + kNewSuffix, target); };
  add(base + ".kxg");
  if (m.root) add(m.Path());
  add(base + ".kxd");
  bool ok = true;
  for (const auto& [temporary, target] : files) {
    const kxout* text = target.ends_with(".kxg") ? &geometry : target.ends_with(".kxd") ? &components : nullptr;
    int written = text ? kxsystem::WriteWholeFile(temporary.c_str(), text->Text().data(),
                                                   static_cast<long>(text->Text().size()))
                       : WriteMeshTo(m, temporary);
    if (!written) {
      kxcore::Log("fail (%s not written)\n", target.c_str());
      ok = false;
      break;
    }
  }
  if (ok && !kxsystem::ReplaceFiles(files)) {
    kxcore::Log("fail (not replaced)\n");
    ok = false;
  }
  if (!ok) {
    for (const auto& file : files) kxsystem::DeleteFile(file.first.c_str());
    return 0;
  }
  // A text mesh is read before a binary twin only when that is not newer.
  if (m.root && m.text) kxsystem::DeleteFile((m.base + ".tgo").c_str());
  kxcore::Log("ok\n");
  return 1;
}

}  // namespace kxdwriters

namespace {

constexpr char kBadSuffix[] = ".bad";

bool IsMesh(const std::string& path) { return path.ends_with(".obj") || path.ends_with(".tgo"); }

// Why the component file is not one the writer wrote whole for the aircraft
// named: its header naming it, at least one component and the writer's last
// line. Empty when it is.
std::string ComponentFileProblem(const std::string& path, const std::string& name) {
  std::string text;
  if (!kxdload::ReadComponentText(path.c_str(), text)) return "not readable";
  if (text.empty()) return "empty";
  kxdheader header;
  header.Parse(text.data(), text.size());
  if (header.Version() == 0 || header.Version() > kxdheader::kNewestReadable) return "no header of a component file";
  if (strcasecmp(header.name.c_str(), name.c_str()) != 0) return "written for another aircraft";
  bool component = false;
  std::string_view last;
  kxtext::ForEachLine(text, [&](std::string_view line, int) {
    component = component || line.starts_with("Append ");
    if (!line.empty()) last = line;
  });
  if (!component) return "no component";
  if (last != kxdheader::kLastLine) return "cut short";
  return std::string();
}

/* Why a save's new files may not be put in place; empty when they may.
   Each must be a regular file (a link at a new file's name is none a save
   made), a mesh one must read as a mesh, and the component file, written
   last, must be whole: an empty one a power cut left, a cut copy or
   another aircraft's file would otherwise replace the user's aircraft. */
std::string NewSetProblem(const std::vector<std::pair<std::string, std::string>>& pending, const std::string& name) {
  for (const auto& [fresh, target] : pending) {
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(fs::path(fresh), error))) return fresh + ": no regular file";
    if (IsMesh(target)) {
      kxgeometry* mesh = kxgl::ReadMeshFile(fresh.c_str());
      if (!mesh) return fresh + ": no mesh";
      kxgeometry::Free(&mesh);
    }
  }
  const std::string problem = ComponentFileProblem(pending.back().first, name);
  return problem.empty() ? problem : pending.back().first + ": " + problem;
}

// Moves each new file aside as "<file>.bad"; one whose ".bad" name is taken
// stays where it is. 1 when all were moved.
int SetAside(const std::vector<std::pair<std::string, std::string>>& pending) {
  int all = 1;
  for (const auto& file : pending)
    if (!kxsystem::RenameFile(file.first.c_str(), (file.first + kBadSuffix).c_str())) all = 0;
  return all;
}

}  // namespace

namespace kxdwriters {

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
interruptedsave FinishInterruptedSave(const std::string& base) {
  std::vector<std::pair<std::string, std::string>> pending;  // new file, target
  for (const char* extension : kSetExtensions) {
    const std::string target = base + extension;
    const std::string fresh = kxsystem::ResolveReadPath((target + kNewSuffix).c_str());
    kxsystem::RemoveUnfinishedWrite(fresh.c_str());
    kxsystem::RemoveUnfinishedWrite(target.c_str());
    std::error_code error;
    fs::file_status status = fs::symlink_status(fs::path(fresh), error);
    if (fs::exists(status) && !fs::is_directory(status)) pending.emplace_back(fresh, target);
  }
  if (pending.empty()) return interruptedsave::kNothing;
  if (!pending.back().second.ends_with(kComponentExtension)) {
    for (const auto& file : pending) kxsystem::DeleteFile(file.first.c_str());
    kxcore::Log("kxdynamics:  %s: the files of a save cut short removed; the aircraft stays as saved before\n",
                base.c_str());
    return interruptedsave::kRemoved;
  }
  const std::string problem = NewSetProblem(pending, base.substr(base.rfind('/') + 1));
  if (!problem.empty()) {
    const bool moved = SetAside(pending);
    kxcore::Log("kxdynamics:  %s: the files of a save cut short are not whole (%s); %s, the aircraft stays as "
                "saved before\n",
                base.c_str(), problem.c_str(), moved ? "set aside as .bad" : "kept beside it");
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

std::vector<std::string> FinishInterruptedSaves() {
  std::vector<std::string> setAside;
  for (const std::string& name : kxsystem::ListDirectories("aircraft/*", 1)) {
    const std::string folder = "aircraft/" + name;
    // One listing tells the folders with nothing left over, nearly all.
    std::vector<std::string> files = kxsystem::ListFiles((folder + "/*").c_str(), 1, 1);
    if (std::any_of(files.begin(), files.end(), Leftover) &&
        FinishInterruptedSave(folder + "/" + name) == interruptedsave::kSetAside)
      setAside.push_back(name);
  }
  return setAside;
}

int WriteAircraftFile(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template || instance->Name.Empty()) return 0;
  kxout out;
  AircraftText(instance, out);
  return Save(instance, ".kxd", out);
}

int WriteGeometryFile(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template || instance->Name.Empty()) return 0;
  kxout out;
  GeometryText(instance, out);
  return Save(instance, ".kxg", out);
}

}  // namespace kxdwriters
