#include "dynamics/key_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/body.h"
#include "dynamics/geometry_link.h"
#include "dynamics/links.h"
#include "dynamics/load.h"
#include "dynamics/write_links.h"

namespace {

using namespace kxdkeys;

// A row as a class sees it: its text in the class's column and the flags
// its table was spliced in with.
struct visit {
  const kxdkey* row;
  const char* text;
  unsigned flags;
};

// Calls f for every row of the class in order, spliced tables in place,
// until f returns true; true when it did.
template <class F>
bool Walk(const kxdkeytable& table, unsigned flags, F&& f) {
  for (size_t k = 0; k < table.size; ++k) {
    const kxdkey& r = table.rows[k];
    if (r.kind == kInclude) {
      if (r.table && Walk(*r.table, flags | (r.flags & kxdkey::kUnwritten), f)) return true;
      continue;
    }
    const char* text = r.text[table.column];
    if (text && f(visit{&r, text, flags | r.flags})) return true;
  }
  return false;
}

bool Indexed(const kxdkey& r) { return r.count > 0 && r.kind != kCount; }
bool Keyed(const kxdkey& r) { return r.kind != kField && r.kind != kNote; }

// Entries of an indexed row in use on the node, within its entries.
int InUse(const kxdkey& r, const kxnode* node) { return r.used ? std::clamp(r.used(node), 0, r.count) : r.count; }

// "Name" matches "Name", "Name  " and "Name(%d)".
bool Matches(const char* text, const char* member) {
  size_t n = std::strcspn(text, " (");
  return std::strlen(member) == n && std::strncmp(text, member, n) == 0;
}

// The text with its "%d" replaced by the entry; the text itself for a
// plain key.
std::string Head(const char* text, int entry) {
  std::string head = text;
  size_t at = head.find("%d");
  if (at != std::string::npos) head.replace(at, 2, std::to_string(entry));
  return head;
}

// The member name: the key, with its index for an indexed row.
kxstring NameOf(const kxdkey& r, const char* text, int entry) {
  std::string key = kxdkeys::KeyOf(text);
  kxstring name(key);
  if (Indexed(r)) name.Format("%s(%d)", key.c_str(), entry);
  return name;
}

const kxtype* ValueType(kind k) {
  if (k == kSignal) return &kxdlinktypes::Signal;
  if (k == kMechLink) return &kxdlinktypes::MechLink;
  return nullptr;
}

size_t SizeOf(const kxdkey& r) {
  switch (r.kind) {
    case kField: return r.size;
    case kPoint:
    case kAxis:
    case kVector4f: return 4 * sizeof(float);
    case kMatrix: return 16 * sizeof(float);
    case kInt:
    case kCount: return sizeof(int);
    case kSignalIn:
    case kControl:
    case kEngine:
    case kNodeLink:
    case kCarrier:
    case kSibling:
    case kPart:
    case kGeometry:
    case kAirfoil:
    case kSource: return sizeof(void*);
    default: return sizeof(float);
  }
}

// A count: an int kept in 0..limit, so no file line can make a loop run
// past the arrays it counts.
class countref : public kxintref {
 public:
  countref(int* f, int l, const kxnode* n, std::string k) : kxintref(f), limit(l), node(n), key(std::move(k)) {}
  int Assign(const kxvalue& from) override {
    int ok = kxintref::Assign(from);
    int used = std::clamp(*field, 0, limit);
    if (used != *field) {
      kxcore::Log("%s:  %s: %s %d outside 0..%d, %d used\n", node->type->Name(), node->name.Text(), key.c_str(),
                  *field, limit, used);
      *field = used;
    }
    return ok;
  }
  int limit;
  const kxnode* node;
  std::string key;
};

// A source bound by the aircraft analysis only: a file that could point it
// anywhere would make the component read foreign memory every frame.
class sourceref : public kxpointerref {
 public:
  sourceref(void** f, const kxnode* n, std::string k)
      : kxpointerref(f, &kxvaluetypes::RealPtr, nullptr), node(n), key(std::move(k)) {}
  int Assign(const kxvalue&) override {
    kxcore::Log("%s:  %s is set by the aircraft analysis; assignment refused\n", node->type->Name(), key.c_str());
    return 0;
  }
  const kxnode* node;
  std::string key;
};

// A title that finds no airfoil (no file carries it; an empty, unreadable
// or garbled file has no title) leaves the section without lift: said once,
// naming the wing and the section, and kept for the notice of the load.
class airfoilref : public kxpointerref {
 public:
  airfoilref(const kxpointerref& link, const kxnode* n, std::string k)
      : kxpointerref(link.field, link.type, link.convert), node(n), key(std::move(k)) {}
  int Assign(const kxvalue& from) override {
    int ok = kxpointerref::Assign(from);
    const kxstring* title = from.GetString();
    if (ok && !*field && title && !title->Empty()) {
      kxcore::Log("%s:  %s: %s = \"%s\" names no airfoil file in aircraft/airfoil/; that section has no lift\n",
                  node->type->Name(), node->name.Text(), key.c_str(), title->Text());
      kxdload::AddLoadProblem(node->name.Str() + " " + key + ": no airfoil \"" + title->Str() + "\"");
    }
    return ok;
  }
  const kxnode* node;
  std::string key;
};

// Geometry( "~Geometry/Name/" ): the object the body is drawn with, found
// from the body and marked as owned by it; void, or null when the path
// leads to no geometric object.
kxvalueptr DrawnWith(kxnode* node, void* field, const kxargs& args) {
  auto** geometry = static_cast<kxgeometricobject**>(field);
  if (args.Count() == 0) return kxvalueptr(new kxnodeptrref(kxdgeometry::Field(geometry), kxdgeometry::Type()));
  kxgeometricobject* object = kxdgeometry::From(kxnode::Find(args.String(0).Text(), node));
  if (!object) return nullptr;
  *geometry = object;
  kxdgeometry::SetOwner(object, static_cast<kxdbody*>(node));
  return kxvoid();
}

kxvalueptr Reference(kxnode* node, const kxdkey& r, const char* text, const kxargs& args) {
  int entry = 0;
  if (Indexed(r)) {
    entry = args.Index(0, r.count);
    if (entry < 0 || !r.field(node, entry)) {
      kxcore::Log("%s:  %s(%d) is no entry of %s; ignored\n", node->type->Name(), kxdkeys::KeyOf(text).c_str(),
                  args.Int(0, -1), node->name.Text());
      return nullptr;
    }
  }
  void* f = r.field(node, entry);
  auto* real = static_cast<float*>(f);
  auto** link = static_cast<float**>(f);
  auto** other = static_cast<kxnode**>(f);
  switch (r.kind) {
    case kReal:
    case kFixed:
    case kCell:
    case kWhole: return kxvalueptr(new kxrealref(real));
    case kSignal: return kxvalueptr(new kxrealref(real, &kxdlinktypes::Signal));
    case kMechLink: return kxvalueptr(new kxrealref(real, &kxdlinktypes::MechLink));
    case kInt: return kxvalueptr(new kxintref(static_cast<int*>(f)));
    case kCount: return kxvalueptr(new countref(static_cast<int*>(f), r.count, node, kxdkeys::KeyOf(text)));
    case kPoint:
    case kAxis: return kxvalueptr(new kxvectorref(real));
    case kVector4f: return kxvalueptr(new kxvectorref(real, &kxvaluetypes::Vector4f));
    case kMatrix: return kxvalueptr(new kxfloatsref(real, 16));
    case kName: return kxvalueptr(new kxstringref(static_cast<kxstring*>(f)));
    case kSignalIn: return kxdlink::SignalRef(link);
    case kControl: return kxdlink::MechLinkRef(link);
    case kEngine: return kxdlink::EngineRef(other);
    case kNodeLink:
    case kSibling: return kxvalueptr(new kxnodeptrref(other, r.type));
    case kCarrier: return kxdlink::BodyRef(static_cast<kxdbody**>(f));
    case kPart:
      return kxvalueptr(new kxnodeptrref(kxdgeometry::Field(static_cast<kxgeometricobject**>(f)), kxdgeometry::Type()));
    case kGeometry: return DrawnWith(node, f, args);
    case kAirfoil: {
      kxvalueptr link = kxdlink::AirfoilRef(static_cast<void**>(f));
      return kxvalueptr(new airfoilref(static_cast<const kxpointerref&>(*link), node, NameOf(r, text, entry).Str()));
    }
    case kSource: return kxvalueptr(new sourceref(static_cast<void**>(f), node, kxdkeys::KeyOf(text)));
    default: return nullptr;
  }
}

void Vector(kxout& out, const char* head, const float* v, const char* last) {
  out.Printf("%s= kxvector4r( %8.4f, %8.4f, %8.4f, %s )\n", head, v[0], v[1], v[2], last);
}

// The line of one entry (entry 0 of a plain key); nothing for a link
// that is not set.
void Line(kxout& out, kxnode* node, const visit& v, int entry) {
  const kxdkey& r = *v.row;
  std::string text = Head(v.text, entry);
  const char* head = text.c_str();
  if (r.kind == kNote) {
    out.Printf("%s\n", head);
    return;
  }
  void* f = r.field(node, entry);
  if (!f) return;
  const auto* real = static_cast<const float*>(f);
  // Only the link kinds hold a pointer there.
  auto pointer = [f] { return *static_cast<void**>(f); };
  switch (r.kind) {
    case kReal: out.Printf("%s= %g\n", head, *real); break;
    case kFixed: out.Printf("%s= %f\n", head, *real); break;
    case kCell: out.Printf("%s= %8.4f\n", head, *real); break;
    case kWhole: {
      // A count beyond any sensible one (or not finite) is written at the
      // bound, so the cast cannot overflow.
      constexpr float kBound = 1e6f;
      float whole = std::isfinite(*real) ? std::clamp(*real, -kBound, kBound) : -kBound;
      out.Printf("%s= %d\n", head, static_cast<int>(whole));
      break;
    }
    case kInt: out.Printf("%s= %d\n", head, *static_cast<const int*>(f)); break;
    case kCount: out.Printf("%s= %d\n", head, std::clamp(*static_cast<const int*>(f), 0, r.count)); break;
    case kPoint: Vector(out, head, real, "1"); break;
    case kAxis: Vector(out, head, real, "0"); break;
    case kVector4f:
      out.Printf("%s= kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )\n", head, real[0], real[1], real[2], real[3]);
      break;
    case kMatrix:
      out.Printf("%s= { %8.4f", head, real[0]);
      for (int i = 1; i < 16; ++i) out.Printf(", %8.4f", real[i]);
      out.Printf(" }\n");
      break;
    case kName:
      out.Printf("%s= ", head);
      out.PrintString(static_cast<const kxstring*>(f)->Text());
      out.Printf("\n");
      break;
    case kSignalIn:
    case kControl:
    case kEngine:
    case kNodeLink: kxdwrite::AircraftLink(out, head, pointer()); break;
    case kPart: kxdwrite::GeometryLink(out, head, pointer()); break;
    case kCarrier:
    case kSibling: kxdwrite::SiblingLink(out, head, static_cast<const kxnode*>(pointer()), node); break;
    case kGeometry: kxdwrite::DrawnGeometry(out, node, pointer()); break;
    case kAirfoil:
      // Quoted by the writer, so the title reads back byte for byte.
      if (!pointer()) break;
      out.Printf("%s= ", head);
      out.PrintString(static_cast<const kxnode*>(pointer())->name.Text());
      out.Printf("\n");
      break;
    default: break;
  }
}

}  // namespace

namespace kxdkeys {

std::string KeyOf(const char* text) { return std::string(text, std::strcspn(text, " (")); }

kxvalueptr Member(kxnode* node, const kxdkeytable& table, const char* member, const kxargs& args) {
  kxvalueptr found;
  if (!member) return found;
  Walk(table, 0, [&](const visit& v) {
    if (!Keyed(*v.row) || !Matches(v.text, member)) return false;
    found = Reference(node, *v.row, v.text, args);
    return true;
  });
  return found;
}

int Name(kxnode* node, const kxdkeytable& table, const void* position, kxstring& out) {
  return Walk(table, 0, [&](const visit& v) {
    if (!(v.flags & kxdkey::kNamed)) return false;
    int entries = Indexed(*v.row) ? v.row->count : 1;
    for (int i = 0; i < entries; ++i) {
      if (v.row->field(node, i) != position) continue;
      out = NameOf(*v.row, v.text, i);
      return true;
    }
    return false;
  });
}

void Names(kxnode* node, const kxdkeytable& table, const kxtype* valueType, std::vector<kxstring>& out) {
  bool lists = false;
  Walk(table, 0, [&](const visit& v) {
    if (!(v.flags & kxdkey::kListed)) return false;
    lists = true;
    if (ValueType(v.row->kind) != valueType) return false;
    int entries = Indexed(*v.row) ? InUse(*v.row, node) : 1;
    for (int i = 0; i < entries; ++i) out.push_back(NameOf(*v.row, v.text, i));
    return false;
  });
  // A class that offers names ends every list with an empty one.
  if (lists) out.push_back(kxstring(""));
}

void Copy(kxnode* from, kxnode* to, const kxdkeytable& table) {
  Walk(table, 0, [&](const visit& v) {
    const kxdkey& r = *v.row;
    if (r.copy == kxdcopy::kNone) return false;
    int entries = 1;
    if (Indexed(r)) entries = (r.flags & kxdkey::kEveryEntry) ? r.count : InUse(r, from);
    for (int i = 0; i < entries; ++i) {
      void* source = r.field(from, i);
      void* target = r.field(to, i);
      if (!source || !target) continue;
      if (r.copy == kxdcopy::kRemap) {
        *static_cast<void**>(target) = kxnode::RemapPointer(*static_cast<void**>(source));
      } else if (r.kind == kName) {
        *static_cast<kxstring*>(target) = *static_cast<const kxstring*>(source);
      } else {
        std::memcpy(target, source, SizeOf(r));
      }
    }
    return false;
  });
}

void Write(kxout& out, kxnode* node, const kxdkeytable& table) {
  std::vector<visit> rows;
  Walk(table, 0, [&](const visit& v) {
    rows.push_back(v);
    return false;
  });
  auto written = [](const visit& v) {
    kind k = v.row->kind;
    return !(v.flags & kxdkey::kUnwritten) && k != kField && k != kSignal && k != kMechLink &&
           k != kSource;
  };
  for (size_t k = 0; k < rows.size();) {
    const kxdkey& first = *rows[k].row;
    if (!Indexed(first)) {
      if (written(rows[k])) Line(out, node, rows[k], 0);
      ++k;
      continue;
    }
    // An indexed group: the following indexed rows that count their
    // entries in use alike are written entry by entry.
    size_t end = k + 1;
    while (end < rows.size() && Indexed(*rows[end].row) && rows[end].row->used == first.used) ++end;
    int entries = InUse(first, node);
    for (int i = 0; i < entries; ++i) {
      for (size_t g = k; g < end; ++g) {
        if (written(rows[g])) Line(out, node, rows[g], i);
      }
    }
    k = end;
  }
}

}  // namespace kxdkeys
