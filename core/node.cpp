#include "core/node.h"

#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/memory.h"
#include "core/reference.h"

kxtype kxnode::Type("kxnode", sizeof(kxnode), kxcreate<kxnode>);

namespace {
kxnode::DestroyListener destroyListeners[kxnode::kMaxDestroyListeners] = {};
}  // namespace

int kxnode::AddDestroyListener(DestroyListener listener) {
  for (DestroyListener& slot : destroyListeners) {
    if (slot == listener) return 1;
    if (!slot) {
      slot = listener;
      return 1;
    }
  }
  return 0;
}

void* kxnode::operator new(size_t size) noexcept { return kxmemory::New(size); }
void kxnode::operator delete(void* block) noexcept { kxmemory::Delete(block); }

kxnode::~kxnode() {
  kxnode* child = firstChild;
  while (child) {
    kxnode* next = child->nextSibling;
    if (kxmemory::Owns(child)) {
      delete child;  // unlinks itself
    } else {
      child->Unlink();
    }
    child = next;
  }
  Unlink();
  kxscript::NodeDestroyed(this);
  for (DestroyListener listener : destroyListeners) {
    if (!listener) break;
    listener(this);
  }
}

kxvalueptr kxnode::GetMember(const char* member, const kxargs& args) {
  if (!member || !*member) return kxvalueptr(new kxnodevalue(this));
  if (std::strcmp(member, "Name") == 0) return kxvalueptr(new kxstringref(&name));
  bool append = std::strcmp(member, "Append") == 0;
  if (append || std::strcmp(member, "Add") == 0) {
    kxstring typeName = args.String(0);
    kxtype* t = kxtype::Find(typeName.Text());
    if (!t || !t->create) {
      kxscript::ReportFailure("unknown type", typeName.Text());
      return nullptr;
    }
    kxnode* node = t->Create();
    if (!node) {
      kxcore::Log("kxscript:  creating %s=fail\n", typeName.Text());
      return nullptr;
    }
    node->name = args.String(1);
    if (append) {
      AppendChild(node);
    } else {
      AddChild(node);
    }
    return kxvalueptr(new kxnodevalue(node));
  }
  return nullptr;
}

void kxnode::CopyTo(kxnode*) {}

int kxnode::GetMemberName(const void*, kxstring&) { return 0; }

void kxnode::GetMemberNames(const kxtype*, std::vector<kxstring>&) {}

int kxnode::CanAdopt(kxnode* child) {
  if (!child) return 0;
  if (child == this || IsDescendantOf(child)) {
    kxcore::Log("kxnode:  refusing to put \"%s\" below itself\n", child->name.Text());
    return 0;
  }
  child->Unlink();
  return 1;
}

void kxnode::LinkBetween(kxnode* newParent, kxnode* before, kxnode* after) {
  parent = newParent;
  prevSibling = before;
  nextSibling = after;
  if (before) {
    before->nextSibling = this;
  } else {
    newParent->firstChild = this;
  }
  if (after) {
    after->prevSibling = this;
  } else {
    newParent->lastChild = this;
  }
}

int kxnode::AppendChild(kxnode* child) {
  if (!CanAdopt(child)) return 0;
  child->LinkBetween(this, lastChild, nullptr);
  return 1;
}

int kxnode::AddChild(kxnode* child) {
  if (!CanAdopt(child)) return 0;
  child->LinkBetween(this, nullptr, firstChild);
  return 1;
}

int kxnode::InsertAfter(kxnode* node) {
  if (!parent || !node || node == this) return 0;
  if (!parent->CanAdopt(node)) return 0;
  node->LinkBetween(parent, this, nextSibling);
  return 1;
}

void kxnode::Unlink() {
  if (!parent) return;
  if (prevSibling) {
    prevSibling->nextSibling = nextSibling;
  } else {
    parent->firstChild = nextSibling;
  }
  if (nextSibling) {
    nextSibling->prevSibling = prevSibling;
  } else {
    parent->lastChild = prevSibling;
  }
  parent = nullptr;
  prevSibling = nullptr;
  nextSibling = nullptr;
}

void kxnode::DeleteChildren() {
  while (firstChild) {
    kxnode* child = firstChild;
    if (kxmemory::Owns(child)) {
      delete child;
    } else {
      child->Unlink();
    }
  }
}

int kxnode::IsDescendantOf(const kxnode* ancestor) const {
  if (!ancestor) return 0;
  for (const kxnode* p = parent; p; p = p->parent) {
    if (p == ancestor) return 1;
  }
  return 0;
}

int kxnode::ChildCount() const {
  int count = 0;
  for (const kxnode* c = firstChild; c; c = c->nextSibling) ++count;
  return count;
}

kxnode* kxnode::FindChild(const char* childName) const {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (c->name.Equal(childName)) return c;
  }
  return nullptr;
}

kxnode* kxnode::Find(const char* path, kxnode* start) {
  if (!path) return nullptr;
  const char* p = path;
  kxnode* node = start ? start : kxscript::Root();
  if (*p == '/') {
    node = kxscript::Root();
  } else if (*p == '~') {
    const char* end = std::strchr(p, '/');
    std::string alias = end ? std::string(p + 1, end) : std::string(p + 1);
    node = kxscript::Alias(alias.c_str());
    p = end ? end : p + std::strlen(p);
  }
  std::string segment;
  while (node && *p) {
    const char* end = std::strchr(p, '/');
    size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
    segment.assign(p, length);
    p += length;
    if (*p == '/') ++p;
    if (segment.empty() || segment == ".") continue;
    node = segment == ".." ? node->parent : node->FindChild(segment.c_str());
  }
  return node;
}

kxstring kxnode::Path() const {
  std::string path;
  for (const kxnode* n = this; n && n->parent; n = n->parent) {
    path.insert(0, n->name.Str() + "/");
  }
  path.insert(0, 1, '/');
  return kxstring(path);
}

size_t kxnode::Extent() const {
  size_t size = kxmemory::BlockSize(this);
  return size ? size : (type ? type->size : sizeof(kxnode));
}
