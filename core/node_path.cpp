// Address -> "Node/Member" paths, as the aircraft writers print links.
#include <string>

#include "core/node.h"

namespace {

const kxnode* NodeContaining(const kxnode* node, const char* address) {
  const char* start = reinterpret_cast<const char*>(node);
  if (address >= start && address < start + node->Extent()) return node;
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling) {
    if (const kxnode* found = NodeContaining(c, address)) return found;
  }
  return nullptr;
}

}  // namespace

int kxnode::PointerToPath(const void* address, const kxnode* root, kxstring& out) {
  out = "";
  if (!address || !root) return 0;
  const char* a = static_cast<const char*>(address);
  const kxnode* node = nullptr;
  for (const kxnode* c = root->firstChild; c && !node; c = c->nextSibling) {
    node = NodeContaining(c, a);
  }
  if (!node) return 0;

  std::string path;
  for (const kxnode* n = node; n && n != root; n = n->parent) {
    path.insert(0, path.empty() ? n->name.Str() : n->name.Str() + "/");
  }
  if (a != reinterpret_cast<const char*>(node)) {
    kxstring member;
    if (!const_cast<kxnode*>(node)->GetMemberName(address, member) || member.Empty()) return 0;
    path += "/";
    path += member.Str();
  }
  out = path;
  return 1;
}
