#include "dynamics/writers.h"

#include <string>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/header.h"
#include "dynamics/instance.h"
#include "dynamics/write_links.h"
#include "dynamics/geometry_link.h"
#include "graphics/geometric_object.h"
#include "platform/files.h"

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
}

void GeometryText(kxdaircraftinstance* instance, kxout& out) {
  if (!instance || !instance->GeometryTemplate) return;
  for (kxnode* c = instance->GeometryTemplate->firstChild; c; c = c->nextSibling) WriteObject(out, c);
}

int ExportMeshes(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory) {
  if (!instance || !instance->Meshes || !instance->GeometryTemplate || instance->Name.Empty()) return 0;
  auto* root = static_cast<kxgeometricobject*>(kxdgeometry::From(instance->GeometryTemplate));
  if (!root) return 0;
  std::string name = previousName && *previousName ? previousName : instance->Name.Str();
  std::string directory = previousDirectory && *previousDirectory ? previousDirectory : instance->Directory.Str();
  std::string previous = directory + "/" + name + ".obj";
  bool text = kxsystem::GetFileSize(previous.c_str()) > 0;
  std::string base = instance->Directory.Str() + "/" + instance->Name.Str();
  std::string path = base + (text ? ".obj" : ".tgo");
  kxsystem::CreateDirectory(instance->Directory.Text());
  kxcore::Log("kxdynamics:  writing %s=", path.c_str());
  int ok = kxgeometricobject::WriteMesh(root, path.c_str(), text ? 0 : 1);
  if (ok && text) ok = kxsystem::DeleteFile((base + ".tgo").c_str());
  kxcore::Log(ok ? "ok\n" : "fail\n");
  return ok;
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
