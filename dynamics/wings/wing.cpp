#include "dynamics/wings/wing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/geometry_link.h"
#include "dynamics/links.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "dynamics/wings/wing_keys.h"
#include "dynamics/write_links.h"
#include "graphics/geometric_object.h"

namespace {

// A new section: 0.1 m^2 and 0.2 m of chord at the wing's origin.
constexpr float kDefaultSectionArea = 0.1f;
constexpr float kDefaultSectionChord = 0.2f;
// Link values are read as radians through the single-precision degree
// factors, as every hinged part has always been turned.
constexpr float kDegreesPerRadian = 57.2957764f;
constexpr float kRadiansPerDegree = 0.0174532924f;

// "Sections": an int that clamps to 0..8 with one log line, so no file line
// can make a loop run past the section arrays.
class sectionsref : public kxintref {
 public:
  explicit sectionsref(kxdwing* w) : kxintref(&w->Sections), wing(w) {}
  int Assign(const kxvalue& from) override {
    int ok = kxintref::Assign(from);
    int used = std::clamp(*field, 0, kxdwing::kMaxSections);
    if (used != *field) {
      kxcore::Log("%s:  %s: Sections %d outside 0..%d, %d used\n", wing->type->Name(), wing->name.Text(), *field,
                  kxdwing::kMaxSections, used);
      *field = used;
    }
    return ok;
  }
  kxdwing* wing;
};

}  // namespace

kxdwing* kxdwing::As(kxnode* node) {
  if (!node) return nullptr;
  const kxtype* t = node->type;
  if (t == &kxdwing00::Type || t == &kxdwing20::Type || t == &kxdwing10::Type || t == &kxdwing11::Type ||
      t == &kxdwing12::Type) {
    return static_cast<kxdwing*>(node);
  }
  return nullptr;
}

kxdwing::kxdwing() {
  RootR = RootN = TipPoint = SpanDirection = {0.0f, 0.0f, 0.0f, 0.0f};
  WingArea = WingSpan = AspectRatio = Dihedral = Incidence = 0.0f;
  RangeSpanMax = RangeSpanMin = PropWashFactor = 0.0f;
  Sections = 1;
  for (int i = 0; i < kMaxSections; ++i) ResetSection(i);
  RestTaken = 0;
}

int kxdwing::SectionCount() const { return std::clamp(Sections, 0, kMaxSections); }

void kxdwing::ResetSection(int i) {
  if (i < 0 || i >= kMaxSections) return;
  SectionR[i] = {0.0f, 0.0f, 0.0f, 1.0f};
  SectionX[i] = {1.0f, 0.0f, 0.0f, 0.0f};
  SectionY[i] = {0.0f, 1.0f, 0.0f, 0.0f};
  SectionZ[i] = {0.0f, 0.0f, 1.0f, 0.0f};
  SectionArea[i] = kDefaultSectionArea;
  SectionChord[i] = kDefaultSectionChord;
  SectionAirfoil[i] = nullptr;
}

kxvalueptr kxdwing::SectionMember(const char* member, const kxargs& args) {
  bool airfoil = std::strcmp(member, "SectionAirfoil") == 0;
  bool r = std::strcmp(member, "SectionR") == 0;
  bool area = std::strcmp(member, "SectionArea") == 0;
  bool chord = std::strcmp(member, "SectionChord") == 0;
  if (!airfoil && !r && !area && !chord) return nullptr;
  int i = args.Index(0, kMaxSections);
  if (i < 0) return nullptr;
  if (airfoil) return kxdlink::AirfoilRef(reinterpret_cast<void**>(&SectionAirfoil[i]));
  if (r) return kxvalueptr(new kxvectorref(&SectionR[i].x, &kxvaluetypes::Vector4f));
  return kxvalueptr(new kxrealref(area ? &SectionArea[i] : &SectionChord[i]));
}

int kxdwing::SectionMemberName(const void* position, kxstring& out) {
  for (int i = 0; i < kMaxSections; ++i) {
    const char* key = position == &SectionR[i]         ? "SectionR"
                      : position == &SectionArea[i]    ? "SectionArea"
                      : position == &SectionChord[i]   ? "SectionChord"
                      : position == &SectionAirfoil[i] ? "SectionAirfoil"
                                                       : nullptr;
    if (key) {
      out.Format("%s(%d)", key, i);
      return 1;
    }
  }
  if (position == &Sections) {
    out = "Sections";
    return 1;
  }
  return 0;
}

kxvalueptr kxdwing::SectionOrBodyMember(const char* member, const kxargs& args) {
  if (std::strncmp(member, "Section", 7) == 0 && std::strcmp(member, "Sections") != 0) {
    return SectionMember(member, args);
  }
  return kxdbody::GetMember(member, args);
}

int kxdwing::SectionOrBodyMemberName(const void* position, kxstring& out) {
  if (SectionMemberName(position, out)) return 1;
  return kxdbody::GetMemberName(position, out);
}

void kxdwing::WriteSections(kxout& out) const {
  for (int i = 0; i < SectionCount(); ++i) {
    const kxvector4r& r = SectionR[i];
    out.Printf("// start section %d\n", i);
    out.Printf("SectionR(%d)     = kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )\n", i, r.x, r.y, r.z, r.w);
    out.Printf("SectionArea(%d)  = %8.4f\n", i, SectionArea[i]);
    out.Printf("SectionChord(%d) = %8.4f\n", i, SectionChord[i]);
    if (SectionAirfoil[i]) {
      // Quoted by the writer, so the title reads back byte for byte.
      out.Printf("SectionAirfoil(%d) = ", i);
      out.PrintString(SectionAirfoil[i]->name.Text());
      out.Printf("\n");
    }
  }
}

void kxdwing::CopyCommon(kxdwing* w) const {
  w->WingSpan = WingSpan;
  w->AspectRatio = AspectRatio;
  w->WingArea = WingArea;
  w->RootR = RootR;
  w->RootN = RootN;
  w->PropWashFactor = PropWashFactor;
  w->Sections = Sections;
  for (int i = 0; i < SectionCount(); ++i) {
    w->SectionAirfoil[i] = SectionAirfoil[i];
    w->SectionR[i] = SectionR[i];
    w->SectionX[i] = SectionX[i];
    w->SectionY[i] = SectionY[i];
    w->SectionZ[i] = SectionZ[i];
    w->SectionArea[i] = SectionArea[i];
    w->SectionChord[i] = SectionChord[i];
  }
  w->Dihedral = Dihedral;
  w->Incidence = Incidence;
  w->RestTaken = RestTaken;
}

void kxdwing::UpdateGraphics() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) b->UpdateGraphics();
  }
  if (!Geometry) return;
  kxmatrix inverse;
  // A singular or broken frame would scatter the mesh; it stays as it is.
  if (kxmatrix::Invert(B, inverse) != 0) return;
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(inverse[i])) return;
  }
  Geometry->RestoreMesh();
  Geometry->Transform(inverse);
  kxdgeometry::SetMatrix(Geometry, B);
}

/*
 * Rodrigues' turn of each rest axis v about u = the rest Y axis as stored:
 * v' = v c + (v x u) s + u (u . v)(1 - c), w kept. The part's position is
 * left alone, so it turns about the hinge line through its own origin. The
 * rest axes are never overwritten, so no rounding piles up from frame to
 * frame.
 */
int kxdwing::TurnByLink(kxgeometricobject* part, const kxvector4r& x, const kxvector4r& y, const kxvector4r& z,
                        const float* link) const {
  float value = 0.0f;
  if (!RestTaken || !part || !part->X || !part->Y || !part->Z || !LinkValue(link, value)) return 0;
  float theta = (kDegreesPerRadian * value) * kRadiansPerDegree;
  float c = std::cos(theta), s = std::sin(theta);
  const kxvector4r& u = y;
  const kxvector4r* rest[3] = {&x, &y, &z};
  kxvector4r turned[3];
  for (int a = 0; a < 3; ++a) {
    const kxvector4r& v = *rest[a];
    kxvector4r vxu;
    kxvector4r::Cross(vxu, v, u);
    float uv = kxvector4r::Dot3(u, v) * (1.0f - c);
    turned[a] = {v.x * c + vxu.x * s + u.x * uv, v.y * c + vxu.y * s + u.y * uv, v.z * c + vxu.z * s + u.z * uv,
                 v.w};
  }
  *part->X = turned[0];
  *part->Y = turned[1];
  *part->Z = turned[2];
  return 1;
}

void kxdwing::TurnAndSlideByLink(kxgeometricobject* part, const kxvector4r& x, const kxvector4r& y,
                                 const kxvector4r& z, const kxvector4r& r, const kxvector4r& displacement,
                                 const float* link) const {
  float value = 0.0f;
  if (!RestTaken || !part || !LinkValue(link, value)) return;
  TurnByLink(part, x, y, z, link);
  if (!part->R) return;
  *part->R = {r.x + value * displacement.x, r.y + value * displacement.y, r.z + value * displacement.z,
              r.w + value * displacement.w};
}

void kxdwing::SlideOutByLink(kxgeometricobject* part, const kxvector4r& r, float displacement,
                             const float* link) const {
  float value = 0.0f;
  if (!RestTaken || !part || !part->R || !LinkValue(link, value)) return;
  float d = (value + 1.0f) * 0.5f * displacement;
  *part->R = {r.x, r.y, r.z + d, r.w};
}

void kxdwing::TakeAxes(const kxgeometricobject* part, kxvector4r& x, kxvector4r& y, kxvector4r& z) {
  if (!part || !part->X || !part->Y || !part->Z) return;
  x = *part->X;
  y = *part->Y;
  z = *part->Z;
}

void kxdwing::TakePosition(const kxgeometricobject* part, kxvector4r& rest) {
  if (part && part->R) rest = *part->R;
}

bool kxdwing::LinkValue(const float* link, float& value) {
  if (!link || !std::isfinite(*link)) return false;
  value = *link;
  return true;
}

namespace kxdwingkeys {

kxvalueptr Member(kxdwing* wing, kxdwingkind kind, void* field) {
  switch (kind) {
    case kxdwingkind::kSections: return kxvalueptr(new sectionsref(wing));
    case kxdwingkind::kVector: return kxvalueptr(new kxvectorref(static_cast<float*>(field), &kxvaluetypes::Vector4f));
    case kxdwingkind::kReal: return kxvalueptr(new kxrealref(static_cast<float*>(field)));
    case kxdwingkind::kPart:
      return kxvalueptr(
          new kxnodeptrref(kxdgeometry::Field(static_cast<kxgeometricobject**>(field)), kxdgeometry::Type()));
    case kxdwingkind::kLink: return kxdlink::MechLinkRef(static_cast<float**>(field));
  }
  return nullptr;
}

void Write(kxout& out, const char* key, kxdwingkind kind, const void* field) {
  switch (kind) {
    case kxdwingkind::kSections: out.Printf("%s = %d\n", key, *static_cast<const int*>(field)); break;
    case kxdwingkind::kVector: {
      const kxvector4r& v = *static_cast<const kxvector4r*>(field);
      out.Printf("%s = kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )\n", key, v.x, v.y, v.z, v.w);
      break;
    }
    case kxdwingkind::kReal: out.Printf("%s = %g\n", key, *static_cast<const float*>(field)); break;
    case kxdwingkind::kPart:
      kxdwrite::GeometryLink(out, key, *static_cast<kxgeometricobject* const*>(field));
      break;
    case kxdwingkind::kLink: kxdwrite::AircraftLink(out, key, *static_cast<float* const*>(field)); break;
  }
}

}  // namespace kxdwingkeys
