#include "legacy/factory.h"

#include "legacy/parts.h"
#include "legacy/pool.h"
#include "legacy/schema.h"

namespace dnsmodel {

void* CreateObject(const char* typeName) {
  const typeinfo* type = FindType(typeName);
  if (!type) return nullptr;
  void* block = PoolAlloc(static_cast<size_t>(type->size));
  return block ? type->make(block) : nullptr;
}

void FreeParts(object* list) {
  while (list) {
    object* next = list->next;
    PoolFree(CurrentPool(), list);
    list = next;
  }
}

}  // namespace dnsmodel
