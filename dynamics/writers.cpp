#include "dynamics/writers.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/header.h"
#include "dynamics/instance.h"
#include "dynamics/interrupted_save.h"
#include "dynamics/set_record.h"
#include "dynamics/write_links.h"
#include "dynamics/geometry_link.h"
#include "graphics/geometric_object.h"
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

// The component file's text without the writer's last line.
void ComponentsText(kxdaircraftinstance* instance, kxout& out) {
  kxdheader::Write(out, instance->Name.Text(), instance->TypeWord);
  if (instance->Locked) out.Printf("Lock = 1\n");
  // Links are written relative to this aircraft's own trees.
  kxdwrite::SetRoots(instance->Template, instance->GeometryTemplate);
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) WriteComponent(out, c);
  kxdwrite::SetRoots(nullptr, nullptr);
}

}  // namespace

namespace kxdwriters {

void AircraftText(kxdaircraftinstance* instance, kxout& out) {
  if (!instance || !instance->Template) return;
  ComponentsText(instance, out);
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
   the old ones, the component file last. It records the size and checksum
   of the others, so a save cut short is finished only with the files it
   wrote. A failure before the renames leaves the old set untouched and no
   new file behind. */
int WriteAircraftSet(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory,
                     std::string* problem) {
  if (!instance || !instance->Template || instance->Name.Empty()) return 0;
  const std::string base = instance->Directory.Str() + "/" + instance->Name.Str();
  FinishInterruptedSave(base);
  kxsystem::CreateDirectory(instance->Directory.Text());
  meshexport m = MeshExport(instance, previousName, previousDirectory);
  kxout geometry, components;
  GeometryText(instance, geometry);
  std::string mesh;
  // The outcome is logged in one piece: the file functions log what
  // stands in a write's way on lines of their own.
  auto failed = [&](const std::string& why) {
    kxcore::Log("kxdynamics:  saving aircraft %s=fail (%s)\n", base.c_str(), why.c_str());
    if (problem) *problem = why;
    return 0;
  };
  if (m.root && !kxgeometricobject::MeshBytes(m.root, m.text ? 0 : 1, &mesh))
    return failed(m.Path() + ": no mesh to write");
  std::vector<std::pair<std::string, std::string_view>> set = {{base + ".kxg", geometry.Text()}};  // target, bytes
  if (m.root) set.emplace_back(m.Path(), mesh);
  ComponentsText(instance, components);
  for (const auto& [target, bytes] : set)
    kxdsetrecord::Write(components, kxdsetrecord::Of(fs::path(target).filename().string(), bytes));
  components.Printf("%s\n", kxdheader::kLastLine);
  set.emplace_back(base + kComponentExtension, components.Text());
  std::vector<kxsystem::newfile> files;
  std::vector<std::pair<std::string, std::string>> moves;  // new file, target
  for (const auto& [target, bytes] : set) {
    files.push_back({target + kNewSuffix, bytes});
    moves.emplace_back(files.back().path, target);
  }
  // What a save cut short left and could not be moved aside is the user's
  // to look at: never written over.
  for (const kxsystem::newfile& file : files)
    if (kxsystem::ReadProblem(file.path.c_str()) != kxsystem::kNotFound)
      return failed(kxsystem::ResolveReadPath(file.path.c_str()) + ": " + kStrayInTheWay);
  if (std::string why = kxsystem::WriteNewFiles(files); !why.empty()) return failed(why);
  if (!kxsystem::ReplaceFiles(moves, 1)) {
    // Once the first file is in place the set is finished at the next
    // start; before, the new files go and the old set stays.
    if (kxsystem::GetFileSize(moves.front().first.c_str()) >= 0)
      for (const auto& move : moves) kxsystem::DeleteFile(move.first.c_str());
    return failed(base + ": the new files could not be put in place");
  }
  // A text mesh is read before a binary twin only when that is not newer.
  if (m.root && m.text) kxsystem::DeleteFile((m.base + ".tgo").c_str());
  kxcore::Log("kxdynamics:  saving aircraft %s=ok\n", base.c_str());
  return 1;
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
