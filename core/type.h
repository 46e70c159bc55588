// kxtype: named type descriptors. One global list holds the script value
// types, the node classes, the widgets, the input devices and the aircraft
// component types; the interpreter creates nodes and values by these names.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class kxnode;
class kxvalue;
class kxargs;
using kxvalueptr = std::unique_ptr<kxvalue>;

struct kxtype {
  using NodeFactory = kxnode* (*)();
  using ValueConstructor = kxvalueptr (*)(const kxargs& args);

  std::string name;                   // lower case, "kx" prefix; a trailing "*" names a pointer type
  kxtype* next = nullptr;             // global list, newest first
  size_t size = 0;                    // bytes of an instance (pointer types: sizeof(void*))
  kxtype* base = nullptr;             // null for a root type
  NodeFactory create = nullptr;       // node types only
  ValueConstructor construct = nullptr;  // value types that can be built from arguments
  bool registered = false;

  explicit kxtype(const char* typeName, size_t instanceSize = 0, NodeFactory factory = nullptr);
  kxtype(const kxtype&) = delete;
  kxtype& operator=(const kxtype&) = delete;

  const char* Name() const { return name.c_str(); }
  // A new instance from the factory; null without one or when the arena fails.
  kxnode* Create() const;

  // Links the descriptor into the global list; a descriptor already linked is
  // left as it is (relinking would turn the list into a loop).
  static int Register(kxtype* type);
  static int RegisterDerived(kxtype* type, kxtype* baseType);
  // Exact, case-sensitive; the newest registration of a name wins. "float" is
  // another name of "kxreal".
  static kxtype* Find(const char* typeName);
  // 1 when other is the type itself or on its base chain.
  static int IsDerivedFrom(const kxtype* type, const kxtype* other);
};

// The factory every node class registers: a new T from the arena (null when it
// has no room; the constructor then does not run).
template <class T>
kxnode* kxcreate() {
  return new T;
}
