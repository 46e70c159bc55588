// Parts and records made by type name: each is a pool block holding a copy
// of its type's prototype.
#pragma once

namespace dnsmodel {

struct object;

// A new part or record of one of the 21 type names (exact, case-sensitive),
// owned by the caller; null for any other name, and null when the pool has
// no room (the caller logs, since it knows what was being made).
void* CreateObject(const char* typeName);

// Returns every part of the list to the pool, reading each next first.
void FreeParts(object* list);

}  // namespace dnsmodel
