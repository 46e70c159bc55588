#include "dynamics/write_links.h"

#include <cstring>
#include <string>

#include "core/hooks.h"
#include "core/output.h"

namespace {
const kxnode* aircraftRoot = nullptr;
const kxnode* geometryRoot = nullptr;

void Link(kxout& out, const char* head, const void* pointer, const kxnode* root, const char* alias) {
  if (!pointer) return;
  kxstring path;
  if (!kxnode::PointerToPath(pointer, root, path)) {
    std::string key(head, std::strcspn(head, " "));
    kxcore::Log("kxdynamics:  link %s points outside ~%s; not written\n", key.c_str(), alias);
    return;
  }
  out.Printf("%s= ~%s/%s\n", head, alias, path.Text());
}
}  // namespace

namespace kxdwrite {

void SetRoots(const kxnode* aircraft, const kxnode* geometry) {
  aircraftRoot = aircraft;
  geometryRoot = geometry;
}

void AircraftLink(kxout& out, const char* head, const void* pointer) {
  Link(out, head, pointer, aircraftRoot, "Aircraft");
}

void GeometryLink(kxout& out, const char* head, const void* pointer) {
  Link(out, head, pointer, geometryRoot, "Geometry");
}

void SiblingLink(kxout& out, const char* head, const kxnode* node) {
  if (node) out.Printf("%s= ../%s/\n", head, node->name.Text());
}

void DrawnGeometry(kxout& out, const kxnode* body, const void* object) {
  if (!object) return;
  kxstring path;
  if (kxnode::PointerToPath(object, geometryRoot, path)) {
    out.Printf("Geometry( \"~Geometry/%s/\" )\n", path.Text());
  } else {
    kxcore::Log("kxdynamics:  geometry of %s lies outside ~Geometry; not written\n", body->name.Text());
  }
}

}  // namespace kxdwrite
