#include "core/type.h"

#include <cstring>

#include "core/node.h"

namespace {
kxtype* typeList = nullptr;
}

kxtype::kxtype(const char* typeName, size_t instanceSize, NodeFactory factory)
    : name(typeName ? typeName : ""), size(instanceSize), create(factory) {}

kxnode* kxtype::Create() const { return create ? create() : nullptr; }

int kxtype::Register(kxtype* type) {
  if (!type) return 0;
  if (type->registered) return 1;
  type->next = typeList;
  typeList = type;
  type->registered = true;
  return 1;
}

int kxtype::RegisterDerived(kxtype* type, kxtype* baseType) {
  if (!type) return 0;
  if (baseType != type) type->base = baseType;
  return Register(type);
}

kxtype* kxtype::Find(const char* typeName) {
  if (!typeName) return nullptr;
  if (std::strcmp(typeName, "float") == 0) typeName = "kxreal";
  for (kxtype* t = typeList; t; t = t->next) {
    if (t->name == typeName) return t;
  }
  return nullptr;
}

int kxtype::IsDerivedFrom(const kxtype* type, const kxtype* other) {
  if (!other) return 0;
  for (const kxtype* t = type; t; t = t->base) {
    if (t == other) return 1;
  }
  return 0;
}
