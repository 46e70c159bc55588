// The key table of a component class: one row per member that a file line,
// a script, a link or a clone reaches - its key exactly as the file writes
// it, its value type and file format, how a clone copies it and where it
// lies. Member lookup, member names, the link chooser's lists, the copy into
// a clone and the file lines all walk the one list, so they cannot drift
// apart.
//
// Rows run in the order of the file lines. A row may splice in another
// table (the body's, the sections every wing shares), may list a field
// without a key that only clones copy, and may stand for an indexed key
// whose text holds "(%d)": consecutive indexed rows with the same count of
// entries in use are written entry by entry, a note row heading each entry.
//
// The formats are irregular by design of the files: the blanks before "="
// differ from key to key and from class to class, so a row holds the key's
// exact text. Two classes may share one list and read different text
// columns (the jet turbines pad their keys differently).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/node.h"

class kxout;

// Value type and file format of a row. Unscoped in their own namespace, so
// the tables, which take "using namespace kxdkeys", name them briefly.
namespace kxdkeys {

enum kind : unsigned char {
  kField,     // no key: a field clones copy (size bytes per entry)
  kInclude,   // the rows of another table, here in order
  kNote,      // a comment line heading each entry of an indexed group
  kReal,      // float, "%g"
  kFixed,     // float, "%f"
  kCell,      // float, "%8.4f"
  kWhole,     // float holding a whole number, "%d"
  kInt,       // int, "%d"
  kCount,     // int kept in 0..count on assignment (one log line), "%d"
  kPoint,     // kxvector4r, "kxvector4r( %8.4f, %8.4f, %8.4f, 1 )"
  kAxis,      // kxvector4r, "kxvector4r( %8.4f, %8.4f, %8.4f, 0 )"
  kVector4f,  // kxvector4f, "kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )"
  kMatrix,    // 16 floats, "{ %8.4f, ... }"
  kName,      // kxstring, quoted and escaped
  kSignal,    // float published as a radio signal (kxdrcout); never written
  kMechLink,  // float published as a servo output (kxdmechlink); never written
  kSignalIn,  // float*, a radio signal, "~Aircraft/path"
  kControl,   // float*, a servo output, "~Aircraft/path"
  kEngine,    // kxnode*, one of the engine types, "~Aircraft/path"
  kNodeLink,  // kxnode* of the row's type, "~Aircraft/path"
  kCarrier,   // kxdbody*, a body, "../name/"
  kSibling,   // kxnode* of the row's type, "../name/" (a body not beside it: "~Aircraft/path/")
  kPart,      // kxgeometricobject*, "~Geometry/path"
  kGeometry,  // the body's drawn object: Geometry( "~Geometry/path/" ) assigns
  kAirfoil,   // kxdairfoil*, its title quoted
  kSource,    // float*, bound by the aircraft analysis; files cannot set it
};

// What a clone gets of the row: the value, the pointer mapped into the
// clone's tree, the pointer as it is (it points outside the aircraft), or
// nothing (the clone keeps its constructor's value).
enum copy : unsigned char { kNone, kCopy, kRemap, kAsIs };

}  // namespace kxdkeys

using kxdkind = kxdkeys::kind;
using kxdcopy = kxdkeys::copy;

struct kxdkeytable;

struct kxdkey {
  // GetMemberName answers for the row; the link chooser lists it; the file
  // does not carry it; a clone gets every entry, not only those in use.
  static constexpr unsigned kNamed = 1, kListed = 2, kUnwritten = 4, kEveryEntry = 8;
  using Access = void* (*)(kxnode* node, int entry);
  using Count = int (*)(const kxnode* node);

  kxdkind kind;
  // Per text column: the key as written before "=" ("" for a field without
  // a key); null where the column's class has no such row.
  const char* text[2];
  kxdcopy copy;
  unsigned flags;
  int count;            // entries of an indexed row; kCount: the largest value
  Access field;         // the entry's address; null when the node has no such entry
  Count used;           // entries in use of an indexed row (written, copied)
  size_t size;          // kField: bytes of one entry
  const kxtype* type;   // kNodeLink, kSibling: the node type a link takes
  const kxdkeytable* table;  // kInclude: the table spliced in
};

struct kxdkeytable {
  template <size_t N>
  constexpr kxdkeytable(const kxdkey (&list)[N], int textColumn = 0) : rows(list), size(N), column(textColumn) {}

  const kxdkey* rows;
  size_t size;
  int column;  // the text column this class reads; spliced tables read column 0
};

// The walks behind kxdbody's GetMember, GetMemberName, GetMemberNames,
// CopyTo and Write.
namespace kxdkeys {

kxvalueptr Member(kxnode* node, const kxdkeytable& table, const char* member, const kxargs& args);
int Name(kxnode* node, const kxdkeytable& table, const void* position, kxstring& out);
void Names(kxnode* node, const kxdkeytable& table, const kxtype* valueType, std::vector<kxstring>& out);
void Copy(kxnode* from, kxnode* to, const kxdkeytable& table);
void Write(kxout& out, kxnode* node, const kxdkeytable& table);
// The key a row's text names: the text up to a blank or "(".
std::string KeyOf(const char* text);

}  // namespace kxdkeys

// Row builders. KXD_AT gives the address of a member of T, KXD_EACH that of
// entry i of an array member.
#define KXD_AT(T, member) [](kxnode* n, int) -> void* { return &static_cast<T*>(n)->member; }
#define KXD_EACH(T, member) [](kxnode* n, int i) -> void* { return &static_cast<T*>(n)->member[i]; }

// The builders and their short names, for the tables' files to take with
// "using namespace kxdkeys".
namespace kxdkeys {

inline constexpr unsigned kNamed = kxdkey::kNamed;
inline constexpr unsigned kListed = kxdkey::kListed;
inline constexpr unsigned kUnwritten = kxdkey::kUnwritten;
inline constexpr unsigned kEveryEntry = kxdkey::kEveryEntry;

// A key written with its text as given, blanks before "=" included.
constexpr kxdkey Key(const char* text, kxdkind kind, kxdcopy copy, kxdkey::Access at, unsigned flags = 0) {
  return {kind, {text, nullptr}, copy, flags, 0, at, nullptr, 0, nullptr, nullptr};
}
// A key with one text per column of a table two classes share; null: not a
// key of that column's class.
constexpr kxdkey Key2(const char* text0, const char* text1, kxdkind kind, kxdcopy copy, kxdkey::Access at) {
  return {kind, {text0, text1}, copy, 0, 0, at, nullptr, 0, nullptr, nullptr};
}
// A link key that takes only nodes of a type.
constexpr kxdkey Link(const char* text, kxdkind kind, const kxtype* type, kxdcopy copy, kxdkey::Access at) {
  return {kind, {text, nullptr}, copy, 0, 0, at, nullptr, 0, type, nullptr};
}
// An indexed key, "Name(%d)": count entries, used of them in use (all when
// null).
constexpr kxdkey Each(const char* text, kxdkind kind, kxdcopy copy, kxdkey::Access at, int count,
                      kxdkey::Count used, unsigned flags = 0) {
  return {kind, {text, nullptr}, copy, flags, count, at, used, 0, nullptr, nullptr};
}
// A count key kept in 0..limit.
constexpr kxdkey Count(const char* text, kxdkey::Access at, int limit, unsigned flags = 0) {
  return {kxdkeys::kCount, {text, nullptr}, kxdkeys::kCopy, flags, limit, at, nullptr, 0, nullptr, nullptr};
}
// A field without a key (its text is empty in both columns); with a
// count, an array of which the entries in use are copied.
constexpr kxdkey Field(kxdcopy copy, kxdkey::Access at, size_t size, int count = 0, kxdkey::Count used = nullptr) {
  return {kxdkeys::kField, {"", ""}, copy, 0, count, at, used, size, nullptr, nullptr};
}
// The row for the second column's class alone.
constexpr kxdkey Second(kxdkey row) {
  row.text[1] = row.text[0];
  row.text[0] = nullptr;
  return row;
}
// A note heading every entry of the indexed group it starts ("%d" the
// entry).
constexpr kxdkey Note(const char* text, int count, kxdkey::Count used) {
  return {kxdkeys::kNote, {text, nullptr}, kxdkeys::kNone, 0, count, nullptr, used, 0, nullptr, nullptr};
}
// The rows of another table.
constexpr kxdkey Include(const kxdkeytable& table, unsigned flags = 0) {
  return {kxdkeys::kInclude, {nullptr, nullptr}, kxdkeys::kNone, flags, 0, nullptr, nullptr, 0, nullptr, &table};
}

}  // namespace kxdkeys

// A key named as its member and written "member = value".
#define KXD_KEY(T, member, kind, copy, ...) \
  kxdkeys::Key(#member " ", kind, copy, KXD_AT(T, member) __VA_OPT__(, ) __VA_ARGS__)

// The size of a field for kxdkeys::Field.
#define KXD_SIZE(T, member) sizeof(static_cast<T*>(nullptr)->member)
