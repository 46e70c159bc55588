#include "dynamics/links.h"

#include <string>
#include <vector>

#include "core/node.h"
#include "dynamics/body.h"

namespace kxdlinktypes {
kxtype Signal("kxdrcout", sizeof(float));
kxtype SignalPtr("kxdrcout*", sizeof(float*));
kxtype MechLink("kxdmechlink", sizeof(float));
kxtype MechLinkPtr("kxdmechlink*", sizeof(float*));
kxtype BodyPtr("kxdbody*", sizeof(void*));
kxtype AirfoilPtr("kxdairfoil*", sizeof(void*));
kxtype EnginePtr("kxdengine*", sizeof(void*));
kxtype RotorPtr("kxdrotor*", sizeof(void*));

void Register() {
  for (kxtype* t : {&Signal, &SignalPtr, &MechLink, &MechLinkPtr, &BodyPtr, &AirfoilPtr, &EnginePtr, &RotorPtr}) {
    kxtype::Register(t);
  }
}
}  // namespace kxdlinktypes

namespace {

kxdlink::AirfoilFinder airfoilFinder = nullptr;

std::vector<std::string>& EngineTypes() {
  static std::vector<std::string> names;
  return names;
}

// A float link: the pointer a pointer value of ptrType holds, or the address
// of a float reference of floatType.
float* FloatLink(const kxvalue& value, const kxtype* floatType, const kxtype* ptrType) {
  const kxtype* t = value.GetType();
  void* address = value.GetAddress();
  if (!address) return nullptr;
  if (t == ptrType) return *static_cast<float**>(address);
  if (t == floatType) return static_cast<float*>(address);
  return nullptr;
}

int ConvertMechLink(const kxvalue& from, void** out) {
  *out = kxdlink::AsMechLink(from);
  return 1;
}
int ConvertSignal(const kxvalue& from, void** out) {
  *out = kxdlink::AsSignal(from);
  return 1;
}
int ConvertBody(const kxvalue& from, void** out) {
  *out = kxdlink::AsBody(from);
  return 1;
}
int ConvertAirfoil(const kxvalue& from, void** out) {
  *out = kxdlink::AsAirfoil(from);
  return 1;
}
int ConvertEngine(const kxvalue& from, void** out) {
  *out = kxdlink::AsEngine(from);
  return 1;
}

}  // namespace

namespace kxdlink {

float* AsMechLink(const kxvalue& value) { return FloatLink(value, &kxdlinktypes::MechLink, &kxdlinktypes::MechLinkPtr); }

float* AsSignal(const kxvalue& value) { return FloatLink(value, &kxdlinktypes::Signal, &kxdlinktypes::SignalPtr); }

void* AsAirfoil(const kxvalue& value) {
  if (value.GetType() != &kxvaluetypes::String || !airfoilFinder) return nullptr;
  const kxstring* text = value.GetString();
  if (!text) return nullptr;
  std::string copy = text->Str();
  return airfoilFinder(copy.c_str());
}

void SetAirfoilFinder(AirfoilFinder finder) { airfoilFinder = finder; }

kxnode* AsEngine(const kxvalue& value) {
  kxnode* node = kxvalue::ToNode(&value);
  if (!node || !node->type) return nullptr;
  for (const std::string& name : EngineTypes()) {
    if (node->type->name == name) return node;
  }
  return nullptr;
}

void RegisterEngineType(const char* typeName) {
  if (!typeName) return;
  for (const std::string& name : EngineTypes()) {
    if (name == typeName) return;
  }
  EngineTypes().push_back(typeName);
}

kxdbody* AsBody(const kxvalue& value) { return kxdbody::As(kxvalue::ToNode(&value)); }

kxvalueptr MechLinkRef(float** field) {
  return kxvalueptr(new kxpointerref(field, &kxdlinktypes::MechLinkPtr, ConvertMechLink));
}
kxvalueptr SignalRef(float** field) {
  return kxvalueptr(new kxpointerref(field, &kxdlinktypes::SignalPtr, ConvertSignal));
}
kxvalueptr BodyRef(kxdbody** field) { return kxvalueptr(new kxpointerref(field, &kxdlinktypes::BodyPtr, ConvertBody)); }
kxvalueptr AirfoilRef(void** field) {
  return kxvalueptr(new kxpointerref(field, &kxdlinktypes::AirfoilPtr, ConvertAirfoil));
}
kxvalueptr EngineRef(kxnode** field) {
  return kxvalueptr(new kxpointerref(field, &kxdlinktypes::EnginePtr, ConvertEngine));
}

}  // namespace kxdlink
