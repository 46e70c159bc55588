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

/* A body beside the component is named as its sibling, as aircraft files
   name it; any other body of the aircraft (the component's own parent, one
   elsewhere in the tree) by its path from the aircraft's root: "../name/"
   would lead somewhere else when the file is read back. */
void SiblingLink(kxout& out, const char* head, const kxnode* node, const kxnode* owner) {
  if (!node) return;
  if (owner && node->parent == owner->parent) {
    out.Printf("%s= ../%s/\n", head, node->name.Text());
    return;
  }
  kxstring path;
  if (aircraftRoot && node->IsDescendantOf(aircraftRoot) && kxnode::PointerToPath(node, aircraftRoot, path)) {
    out.Printf("%s= ~Aircraft/%s/\n", head, path.Text());
    return;
  }
  std::string key(head, std::strcspn(head, " "));
  kxcore::Log("kxdynamics:  link %s points outside ~Aircraft; not written\n", key.c_str());
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
