// The member table of the legacy classes and records: the 21 type names the
// factory knows, each with its size and the members a model file can
// assign, in index order. A member is found by its exact name or by its
// index written as plain decimal numerals ("0", "57"; not "00", "+1", " 1").
// The table is the complete key list of the .dns format.
#pragma once

#include <cstdint>

namespace dnsmodel {

struct partclass;

constexpr int kMemberTextBytes = 20;   // the longest member name (19 characters) and its end
constexpr int kTypeTextBytes = 8;      // the longest type text ("vector") and its end
constexpr int kObjectMemberCount = 11;

struct memberinfo {
  const char* name;
  const char* typeText;  // "int", "float", "char" or "vector"
  int32_t offset;        // bytes from the start of the part or record; never 0
  int32_t bytes;         // the field's width: 4, 12, or a text's capacity with its end
};

struct typeinfo {
  const char* name;
  int32_t size;                  // bytes
  const partclass* cls;          // null for the five records
  bool listsObjectMembers;       // indices 0 to 10 are object's members, its own follow
  const memberinfo* members;     // its own members in index order
  int32_t memberCount;           // its own
  void* (*make)(void* block);    // copies the type's prototype into a block of size bytes

  int Count() const { return (listsObjectMembers ? kObjectMemberCount : 0) + memberCount; }
  // Member by index, null outside 0..Count()-1.
  const memberinfo* At(int index) const;
  // Member by exact name or decimal index; null when there is none.
  const memberinfo* Find(const char* member) const;
};

// The entry of a type name (exact, case-sensitive); null for any other text.
const typeinfo* FindType(const char* name);

// For member equal to className: the type's size, member emptied, typeText
// untouched. For a member name or index of the type: its offset (> 0),
// member rewritten to the name (member must hold kMemberTextBytes) and
// typeText set (kTypeTextBytes). Otherwise 0 and neither buffer written.
int GetMemberInfo(const char* className, char* member, char* typeText);

}  // namespace dnsmodel
