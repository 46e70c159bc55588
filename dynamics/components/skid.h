// kxdskid00: a helicopter skid or any sliding part. Its two contact points
// (the skid's ends) are pushed out of the ground by a spring-damper along
// the surface normal and slowed by friction against their sliding
// direction. The analysis takes the mass properties and a frame along the
// skid from the mesh and expresses the points in that frame.
#pragma once

#include "dynamics/body.h"

// Final: its force pass then asks its own hooks directly, not through the
// table, in every substep.
class kxdskid00 final : public kxdbody {
 public:
  static kxtype Type;

  kxdskid00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Analyse() override;
  float AskExtent() const override;
  // On a free carrier the skid takes its frame in its own force pass, and
  // in a clear frame only its place: nothing else reads its frame inside
  // the substeps.
  bool PlacesItself() const override { return ParentBody && !ParentBody->ParentBody; }
  // A carried skid has nothing to integrate: its carrier's frame is its. Its
  // contact forces and weight are handed on at the end of its force pass.
  int SubstepPasses(const kxdfold*) const override { return ParentBody ? kForcePass | kOwnHandOver : kAllPasses; }

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdskid00* As(kxnode* node);

  kxvector4r CP1;        // m, aircraft axes; used as a point
  kxvector4r CP2;
  kxvector4r Local1;     // m, CP1 in the skid's axes (w 1)
  kxvector4r Local2;
  float Ksn;             // N/m, spring rate per point
  float Ksx;             // friction force per newton of spring force
  float Dsn;             // N s/m, damping per point

 private:
  void PushPoint(const kxvector4r& local, float depth, const kxvector4r& normal);
  void FrameFromMesh();
};
