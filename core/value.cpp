#include "core/value.h"

#include <climits>
#include <cstdlib>

#include "core/arguments.h"
#include "core/node.h"
#include "core/numbers.h"
#include "core/output.h"

namespace kxvaluetypes {
kxtype Int("int", sizeof(int));
kxtype Real("kxreal", sizeof(float));
kxtype String("kxstring", sizeof(kxstring));
kxtype NodePtr("kxnode*", sizeof(void*));
kxtype RealPtr("kxreal*", sizeof(void*));
kxtype Vector4r("kxvector4r", 4 * sizeof(float));
kxtype Vector4f("kxvector4f", 4 * sizeof(float));
kxtype Void("kxvoid", 0);
kxtype DataList("kxdatalist", 0);

namespace {

kxvalueptr ConstructVector(const kxargs& args, kxtype* type) {
  if (args.Count() > 4) return nullptr;
  float v[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < args.Count(); ++i) {
    double d;
    if (!kxvalue::ToNumber(args.At(i), d)) return nullptr;
    v[i] = static_cast<float>(d);
  }
  return kxvalueptr(new kxvectorvalue(v, type));
}

kxvalueptr ConstructVector4r(const kxargs& args) { return ConstructVector(args, &Vector4r); }
kxvalueptr ConstructVector4f(const kxargs& args) { return ConstructVector(args, &Vector4f); }

}  // namespace

void Register() {
  Vector4r.construct = ConstructVector4r;
  Vector4f.construct = ConstructVector4f;
  for (kxtype* t : {&Int, &Real, &String, &NodePtr, &RealPtr, &Vector4r, &Vector4f, &Void, &DataList}) {
    kxtype::Register(t);
  }
}

}  // namespace kxvaluetypes

kxtype* kxnodevalue::GetType() const { return &kxnode::Type; }

int kxvalue::ToInt(const kxvalue* value) {
  if (!value) return 0;
  int i;
  if (value->GetInt(i)) return i;
  if (const kxstring* s = value->GetString()) {
    // The leading decimal number of the text, as atoi reads it.
    long long v = kxnumber::LeadingWholeNumber(s->Text());
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
  }
  return 0;
}

bool kxvalue::ToNumber(const kxvalue* value, double& out) {
  if (!value) return false;
  if (value->GetNumber(out)) return true;
  if (const kxstring* s = value->GetString()) return kxnumber::Parse(s->Str(), out);
  return false;
}

float kxvalue::ToReal(const kxvalue* value) {
  double d;
  return ToNumber(value, d) ? static_cast<float>(d) : 0.0f;
}

kxstring kxvalue::ToString(const kxvalue* value) {
  if (!value) return kxstring();
  if (const kxstring* s = value->GetString()) return *s;
  int i;
  if (value->GetInt(i)) return kxstring(std::to_string(i));
  double d;
  if (value->GetNumber(d)) return kxstring(kxnumber::FormatG(d));
  if (kxnode* node = value->GetNode()) return node->name;
  return kxstring();
}

kxnode* kxvalue::ToNode(const kxvalue* value) { return value ? value->GetNode() : nullptr; }

kxvalueptr kxvoid() { return kxvalueptr(new kxvoidvalue); }

void kxprintvector(kxout& out, const kxtype* type, const float v[4]) {
  out.Printf("%s( %8.4f, %8.4f, %8.4f, %8.4f )", type->Name(), v[0], v[1], v[2], v[3]);
}

void kxintvalue::Print(kxout& out) const { out.Printf("%d", value); }
void kxrealvalue::Print(kxout& out) const { out.Printf("%g", value); }
void kxstringvalue::Print(kxout& out) const { out.PrintString(value.Text()); }
void kxnodevalue::Print(kxout& out) const {
  if (node) out.Printf("%s", node->Path().Text());
}
void kxvectorvalue::Print(kxout& out) const { kxprintvector(out, type, value); }

void kxlistvalue::Print(kxout& out) const {
  out.Printf("{ ");
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) out.Printf(", ");
    values[i]->Print(out);
  }
  out.Printf(" }");
}
