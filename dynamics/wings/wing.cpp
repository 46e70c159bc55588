#include "dynamics/wings/wing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/hooks.h"
#include "core/maths.h"
#include "dynamics/compiled.h"
#include "dynamics/geometry_link.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/section_flow.h"
#include "dynamics/wings/sectioned_wing.h"
#include "graphics/geometric_object.h"

namespace {

// A new section: 0.1 m^2 and 0.2 m of chord at the wing's origin.
constexpr float kDefaultSectionArea = 0.1f;
constexpr float kDefaultSectionChord = 0.2f;
// Link values are read as radians through the degree factors, as every
// hinged part has always been turned.
using kxmaths::kDegreesPerRadian;
using kxmaths::kRadiansPerDegree;

using namespace kxdkeys;
using W = kxdwing;
constexpr int kSections = kxdwing::kMaxSections;
#define EACH(member) KXD_EACH(W, member), kSections, kxdwing::SectionsOf

// The section blocks of the file, sections in use only; the axes come
// from the analyses and are only copied.
constexpr kxdkey kSectionRows[] = {
    Note("// start section %d", kxdwing::kMaxSections, kxdwing::SectionsOf),
    Each("SectionR(%d)     ", kVector4f, kCopy, EACH(SectionR), kNamed),
    Each("SectionArea(%d)  ", kCell, kCopy, EACH(SectionArea), kNamed),
    Each("SectionChord(%d) ", kCell, kCopy, EACH(SectionChord), kNamed),
    // The same shared airfoil node: airfoils are not the wing's.
    Each("SectionAirfoil(%d) ", kAirfoil, kAsIs, EACH(SectionAirfoil), kNamed),
    Field(kCopy, KXD_EACH(W, SectionX), sizeof(kxvector4r), kSections, kxdwing::SectionsOf),
    Field(kCopy, KXD_EACH(W, SectionY), sizeof(kxvector4r), kSections, kxdwing::SectionsOf),
    Field(kCopy, KXD_EACH(W, SectionZ), sizeof(kxvector4r), kSections, kxdwing::SectionsOf),
    Field(kCopy, KXD_AT(W, WingSpan), sizeof(float)),
    Field(kCopy, KXD_AT(W, AspectRatio), sizeof(float)),
    Field(kCopy, KXD_AT(W, WingArea), sizeof(float)),
    Field(kCopy, KXD_AT(W, Dihedral), sizeof(float)),
    Field(kCopy, KXD_AT(W, Incidence), sizeof(float)),
    Field(kCopy, KXD_AT(W, RestTaken), sizeof(int)),
};

#undef EACH

}  // namespace

const kxdkeytable kxdwing::SectionKeys(kSectionRows);

int kxdwing::SectionsOf(const kxnode* wing) { return static_cast<const kxdwing*>(wing)->SectionCount(); }

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

void kxdwing::FoldSections(kxdfold& fold) const {
  fold.sections = std::min(SectionCount(), static_cast<int>(kxdfold::kMaxSections));
  auto turn = [&fold](const kxvector4r& v, float w) {
    kxvector4r in = {v.x, v.y, v.z, w}, out;
    kxmatrix::TransformVector4(&out, &fold.relative, &in);
    out.w = 0.0f;
    return out;
  };
  for (int i = 0; i < fold.sections; ++i) {
    fold.point[i] = turn(SectionR[i], 1.0f);
    fold.chord[i] = turn(SectionX[i], 0.0f);
    fold.span[i] = turn(SectionY[i], 0.0f);
    fold.normal[i] = turn(SectionZ[i], 0.0f);
    kxvector4r::Cross(fold.across[i], fold.span[i], fold.normal[i]);
    fold.across[i].w = 0.0f;
  }
  fold.induced = kxdsectionflow::InducedDrag(1.0f, AspectRatio);
  fold.acrossChord = type == &kxdwing00::Type;
}

int kxdwing::SubstepPasses(const kxdfold* fold) const {
  if (!fold) return kAllPasses;
  return BodyPasses(fold) | (fold->leads ? kForcePass : 0);
}

void kxdwing::FoldedRows(const kxdfold& fold, kxdsectionrows& rows) {
  for (int i = 0; i < fold.sections; ++i) rows.Set(fold.firstRow + i, nullptr, 0.0f, 0.0f, 0.0f, {});
}

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
