#include "core/reference.h"

#include <cfloat>
#include <cmath>
#include <climits>

#include "core/interpreter.h"
#include "core/node.h"
#include "core/numbers.h"
#include "core/output.h"

namespace {

bool NumberOf(const kxvalue& from, double& out) {
  return kxvalue::ToNumber(&from, out) && std::isfinite(out);
}

}  // namespace

int kxintref::Assign(const kxvalue& from) {
  double d;
  if (!NumberOf(from, d)) return 0;
  d = std::trunc(d);
  if (d > INT_MAX || d < INT_MIN) return 0;
  *field = static_cast<int>(d);
  return 1;
}

void kxintref::Print(kxout& out) const { out.Printf("%d", *field); }

int kxrealref::Assign(const kxvalue& from) {
  double d;
  if (!NumberOf(from, d)) return 0;
  float f = static_cast<float>(d);
  if (!std::isfinite(f)) return 0;
  *field = f;
  return 1;
}

void kxrealref::Print(kxout& out) const { out.Printf("%g", static_cast<double>(*field)); }

int kxstringref::Assign(const kxvalue& from) {
  double d;
  if (!from.GetString() && !from.GetNode() && !from.GetNumber(d)) return 0;
  *field = kxvalue::ToString(&from);
  return 1;
}

void kxstringref::Print(kxout& out) const { out.PrintString(field->Text()); }

namespace {

// Up to n numbers from a list; false when an element is not a number a
// float holds (finite, within its range) or the list is longer than n.
bool NumbersFromList(const kxvalue& from, float* out, int n) {
  const std::vector<kxvalueptr>* list = from.GetList();
  if (!list || static_cast<int>(list->size()) > n) return false;
  std::vector<float> values(static_cast<size_t>(n), 0.0f);
  for (size_t i = 0; i < list->size(); ++i) {
    double d;
    // A finite double beyond a float's range would be stored as infinite.
    if (!(*list)[i]->GetNumber(d) || !(std::fabs(d) <= FLT_MAX)) return false;
    values[i] = static_cast<float>(d);
  }
  for (int i = 0; i < n; ++i) out[i] = values[static_cast<size_t>(i)];
  return true;
}

}  // namespace

int kxvectorref::Assign(const kxvalue& from) {
  float v[4];
  if (from.GetVector(v)) {
    for (int i = 0; i < 4; ++i) {
      if (!std::isfinite(v[i])) return 0;
    }
    for (int i = 0; i < 4; ++i) field[i] = v[i];
    return 1;
  }
  return NumbersFromList(from, field, 4) ? 1 : 0;
}

bool kxvectorref::GetVector(float (&out)[4]) const {
  for (int i = 0; i < 4; ++i) out[i] = field[i];
  return true;
}

void kxvectorref::Print(kxout& out) const { kxprintvector(out, type, field); }

int kxfloatsref::Assign(const kxvalue& from) { return NumbersFromList(from, field, count) ? 1 : 0; }

void kxfloatsref::Print(kxout& out) const {
  out.Printf("{ ");
  for (int i = 0; i < count; ++i) out.Printf(i ? ", %8.4f" : "%8.4f", static_cast<double>(field[i]));
  out.Printf(" }");
}

int kxnodeptrref::Assign(const kxvalue& from) {
  kxnode* node = from.GetNode();
  if (!node && !dynamic_cast<const kxnodeptrref*>(&from)) return 0;
  if (node && requiredType && !kxtype::IsDerivedFrom(node->type, requiredType)) node = nullptr;
  *field = node;
  return 1;
}

void kxnodeptrref::Print(kxout& out) const {
  if (*field) out.Printf("%s", (*field)->Path().Text());
}

int kxrealptrref::Assign(const kxvalue& from) {
  if (const kxrealptrref* other = dynamic_cast<const kxrealptrref*>(&from)) {
    *field = *other->field;
    return 1;
  }
  if (dynamic_cast<const kxrealref*>(&from)) {
    *field = static_cast<float*>(from.GetAddress());
    return 1;
  }
  return 0;
}

int kxpointerref::Assign(const kxvalue& from) {
  void* pointer = nullptr;
  if (!convert || !convert(from, &pointer)) return 0;
  *field = pointer;
  return 1;
}

void kxpointerref::Print(kxout& out) const {
  kxstring path;
  if (*field && kxnode::PointerToPath(*field, kxscript::Root(), path)) out.Printf("/%s", path.Text());
}

int kxconvertfloatlink(const kxvalue& from, const kxtype* required, void** out) {
  const kxrealref* ref = dynamic_cast<const kxrealref*>(&from);
  if (!ref || !kxtype::IsDerivedFrom(ref->type, required)) return 0;
  *out = ref->field;
  return 1;
}
