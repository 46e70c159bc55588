#include "core/node_copy.h"

#include "core/hooks.h"
#include "core/node.h"

namespace {
kxclonemap* activeMap = nullptr;
}

kxclonemap::kxclonemap() : outer_(activeMap) { activeMap = this; }

kxclonemap::~kxclonemap() {
  if (!copied_) CopyAll();
  activeMap = outer_;
}

kxclonemap* kxclonemap::Active() { return activeMap; }

void kxclonemap::Record(kxnode* source, kxnode* copy) {
  bySource_[reinterpret_cast<const char*>(source)] = pairs_.size();
  pairs_.push_back({source, copy});
}

void kxclonemap::CopyAll() {
  copied_ = true;
  // CopyTo may clone again (a nested map); index, not iterator, stays valid.
  for (size_t i = 0; i < pairs_.size(); ++i) pairs_[i].source->CopyTo(pairs_[i].copy);
}

void* kxclonemap::Map(const void* address) const {
  const char* a = static_cast<const char*>(address);
  auto it = bySource_.upper_bound(a);
  if (it == bySource_.begin()) return nullptr;
  --it;
  const Pair& pair = pairs_[it->second];
  size_t offset = static_cast<size_t>(a - it->first);
  if (offset >= pair.source->Extent()) return nullptr;
  return reinterpret_cast<char*>(pair.copy) + offset;
}

kxnode* kxnode::Clone(kxnode* newParent) {
  if (!type || !type->create) {
    kxcore::Log("kxnode:  cannot clone \"%s\" (type %s has no factory)\n", name.Text(),
                type ? type->Name() : "?");
    return nullptr;
  }
  kxnode* copy = type->Create();
  if (!copy) {
    kxcore::Log("kxnode:  cloning \"%s\"=fail\n", name.Text());
    return nullptr;
  }
  copy->name = name;
  if (newParent) newParent->AppendChild(copy);

  bool own = kxclonemap::Active() == nullptr;
  kxclonemap* map = own ? new kxclonemap : kxclonemap::Active();
  map->Record(this, copy);
  for (kxnode* child = firstChild; child; child = child->nextSibling) child->Clone(copy);
  if (own) delete map;  // copies the values of the whole subtree
  return copy;
}

void* kxnode::RemapPointer(void* address) {
  kxclonemap* map = kxclonemap::Active();
  if (!map || !address) return address;
  void* mapped = map->Map(address);
  return mapped ? mapped : address;
}
