#include "dynamics/write_links.h"

#include "core/hooks.h"
#include "core/output.h"

namespace {
const kxnode* aircraftRoot = nullptr;
const kxnode* geometryRoot = nullptr;

void Link(kxout& out, const char* key, const void* pointer, const kxnode* root, const char* alias) {
  if (!pointer) return;
  kxstring path;
  if (!kxnode::PointerToPath(pointer, root, path)) {
    kxcore::Log("kxdynamics:  link %s points outside ~%s; not written\n", key, alias);
    return;
  }
  out.Printf("%s = ~%s/%s\n", key, alias, path.Text());
}
}  // namespace

namespace kxdwrite {

void SetRoots(const kxnode* aircraft, const kxnode* geometry) {
  aircraftRoot = aircraft;
  geometryRoot = geometry;
}
const kxnode* GeometryRoot() { return geometryRoot; }

void AircraftLink(kxout& out, const char* key, const void* pointer) {
  Link(out, key, pointer, aircraftRoot, "Aircraft");
}

void GeometryLink(kxout& out, const char* key, const void* pointer) {
  Link(out, key, pointer, geometryRoot, "Geometry");
}

void SiblingLink(kxout& out, const char* key, const kxnode* node) {
  if (node) out.Printf("%s = ../%s/\n", key, node->name.Text());
}

}  // namespace kxdwrite
