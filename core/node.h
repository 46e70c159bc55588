// kxnode: base of every object in the tree. A node owns its children:
// deleting a node deletes its subtree. Nodes come from the arena (kxmemory)
// as zero-filled blocks; a node that is not an arena block (a static table's
// node) is unlinked rather than deleted when its parent goes.
#pragma once

#include <cstddef>
#include <vector>

#include "core/string.h"
#include "core/type.h"

class kxnode {
 public:
  static kxtype Type;

  kxtype* type = &Type;            // most-derived type; derived constructors set their own
  kxstring name;
  kxnode* parent = nullptr;
  kxnode* firstChild = nullptr;
  kxnode* prevSibling = nullptr;
  kxnode* nextSibling = nullptr;
  kxnode* lastChild = nullptr;

  kxnode() = default;
  kxnode(const kxnode&) = delete;
  kxnode& operator=(const kxnode&) = delete;

  // The virtual operations, in this order for every class: destroy, member
  // lookup, clone, copy, refresh, update, member name by address, member
  // names of a value type.
  virtual ~kxnode();
  // "" gives the node, "Name" its name, "Append"/"Add" (type name, node name)
  // a new last/first child. Any other name gives null, silently: paths probe
  // members before children.
  virtual kxvalueptr GetMember(const char* member, const kxargs& args);
  // A new node of the same type and name under parent, with cloned children;
  // values are copied by CopyTo once the whole structure exists.
  virtual kxnode* Clone(kxnode* newParent);
  virtual void CopyTo(kxnode* other);
  virtual void Refresh() {}
  virtual void Update() {}
  // Writes the name of the member at that address; 1 when it has one.
  virtual int GetMemberName(const void* position, kxstring& out);
  // Appends the names of the members that hold values of that type.
  virtual void GetMemberNames(const kxtype* valueType, std::vector<kxstring>& out);

  static void* operator new(size_t size) noexcept;
  static void operator delete(void* block) noexcept;

  // Insertions unlink a child that has a parent first and refuse this node or
  // one of its ancestors (a cycle). 1 on success, 0 when refused.
  int AppendChild(kxnode* child);
  int AddChild(kxnode* child);
  int InsertAfter(kxnode* node);  // as the sibling right after this node
  void Unlink();
  void DeleteChildren();
  // 1 when ancestor is on the parent chain; the node itself does not count.
  int IsDescendantOf(const kxnode* ancestor) const;
  int ChildCount() const;

  // Names separated by "/"; a leading "/" starts at the root, "~Name/" at an
  // interpreter alias, anything else at start (null: the root). ".." is the
  // parent, "." the node, empty segments are skipped. Null when a step fails.
  static kxnode* Find(const char* path, kxnode* start = nullptr);
  kxnode* FindChild(const char* childName) const;

  // The path from the root, "/A/B/" (the root alone is "/").
  kxstring Path() const;

  // During a copy under way (kxclonemap), an address inside a source node
  // maps to the same offset in its copy; anything else is returned unchanged.
  static void* RemapPointer(void* address);
  template <class T>
  static T* Remap(T* pointer) {
    return static_cast<T*>(RemapPointer(const_cast<void*>(static_cast<const void*>(pointer))));
  }
  // Path below root of the node (and member) the address points into:
  // "Fuselage", "Receiver/Out(2)". 0 and empty out when it is in no node of
  // that tree or the member has no name.
  static int PointerToPath(const void* address, const kxnode* root, kxstring& out);

  // Bytes the node occupies (its arena block, else its type's size).
  size_t Extent() const;

  // Upper layers that keep raw node pointers (a tree view's selection, a
  // console's context) register here and forget a node when it is destroyed.
  // Called once per node, after its subtree has gone. 0 when the table is full.
  using DestroyListener = void (*)(kxnode* node);
  static constexpr int kMaxDestroyListeners = 8;
  static int AddDestroyListener(DestroyListener listener);

  // The node when it derives from T, else null (also for null).
  template <class T>
  static T* As(kxnode* node) {
    return node && kxtype::IsDerivedFrom(node->type, &T::Type) ? static_cast<T*>(node) : nullptr;
  }
  // The node of a value when it derives from T, else null.
  template <class T>
  static T* FromValue(const kxvalue* value);

 private:
  void LinkBetween(kxnode* newParent, kxnode* before, kxnode* after);
  int CanAdopt(kxnode* child);
};

#include "core/value.h"

template <class T>
T* kxnode::FromValue(const kxvalue* value) {
  return As<T>(kxvalue::ToNode(value));
}
