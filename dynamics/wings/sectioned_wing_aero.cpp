// Force pass of the sectioned wings (kxdwing10, kxdwing11, kxdwing12): each
// section's flow through the air, its airfoil's coefficients shifted by the
// flap, and the lift, drag and pitching moment summed into the body.
#include <cmath>

#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/section_flow.h"
#include "dynamics/wings/sectioned_wing.h"

using namespace kxdsectionflow;

void kxdwing10::ComputeChange(kxdintegrable* change, int flag) {
  float delta = 0.0f;
  bool flap = LinkValue(FlapLink, delta);
  // A wing outside an aircraft feels no wash.
  kxvector4r wash = Instance ? Instance->Slipstream : kxvector4r{0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < SectionCount(); ++i) {
    if (!SectionAirfoil[i]) continue;
    SectionR[i].w = 1.0f;
    kxvector4r world;
    kxvector4r v = PointFlow(this, SectionR[i], &world);
    v.x -= PropWashFactor * wash.x;
    v.y -= PropWashFactor * wash.y;
    v.z -= PropWashFactor * wash.z;
    v.w -= PropWashFactor * wash.w;
    float speed = std::sqrt(kxvector4r::Dot(v, v));
    // A broken motion or air field gives the section no force at all.
    if (!std::isfinite(speed)) continue;
    kxvector4r d = {0.0f, 0.0f, 0.0f, 0.0f};
    if (speed != 0.0f) {
      d = v;
      d *= 1.0f / speed;
    }
    kxvector4r c, s, n;
    kxmatrix::TransformVector4(&c, &B, &SectionX[i]);
    kxmatrix::TransformVector4(&s, &B, &SectionY[i]);
    kxmatrix::TransformVector4(&n, &B, &SectionZ[i]);
    float dc = kxvector4r::Dot(d, c), ds = kxvector4r::Dot(d, s), dn = kxvector4r::Dot(d, n);
    float a = flap ? -(dn - FlapRotation * SectionFlapAlpha[i] * delta) : -dn;
    kxdsectioncoefficients k = Lookup(SectionAirfoil[i], a, dc);
    if (flap) {
      k.cl += SectionFlapCl[i] * delta;
      k.cd += SectionFlapCd[i] * delta * delta;
      k.cm += SectionFlapCm[i] * delta;
    }
    k.cl *= 1.0f - ds * ds;
    float q = SectionArea[i] * kHalfDensity;
    float lift = k.cl * q * speed * speed;
    kxvector4r l = {(n.x - dn * d.x) * lift, (n.y - dn * d.y) * lift, (n.z - dn * d.z) * lift,
                    (n.w - dn * d.w) * lift};
    float drag = SectionArea[i] * -kHalfDensity * (InducedDrag(k.cl, AspectRatio) + k.cd) * speed;
    float moment = q * SectionChord[i] * k.cm * speed * speed;
    if (dc < 0.0f) l *= -1.0f;
    kxvector4r f = {drag * v.x + l.x, drag * v.y + l.y, drag * v.z + l.z, drag * v.w + l.w};
    kxvector4r arm = SectionR[i];
    arm.w = 0.0f;
    kxvector4r r;
    kxmatrix::TransformVector4(&r, &B, &arm);
    AddSectionLoad(this, f, r, moment, s);
  }
  kxdbody::ComputeChange(change, flag);
}
