// kxdbody: the rigid body every component is built on: a frame in the world,
// momentum, force and torque accumulators, mass and inertia, the contact
// constants of its own ground contact and the link to its drawn geometry.
// A body is either free (integrated by itself) or carried by another body,
// whose frame it follows with a fixed relative frame.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

#include "core/matrix.h"
#include "dynamics/compiled.h"
#include "dynamics/integrable.h"
#include "dynamics/key_table.h"

class kxgeometricobject;
class kxdaircraftinstance;
class kxdjoint00;
struct kxdfold;

// Gravity, m/s^2, along world -z.
constexpr float kGravity = 9.81f;

class kxdbody : public kxdintegrable {
 public:
  static kxtype Type;
  static constexpr int kMaxContactPoints = 8;

  kxdbody();

  // Member lookup, member names, the copy into a clone and the file lines
  // follow the class's key table.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  int GetMemberName(const void* position, kxstring& out) override;
  void GetMemberNames(const kxtype* valueType, std::vector<kxstring>& out) override;
  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  void ResetState() override;
  void ApplyMatrix(const kxmatrix& M) override;
  void Write(kxout& out) override;
  // 19: places the geometry at B (its Matrix relative to its parent object).
  virtual void SyncGeometry();
  // 20: re-expresses the geometry's mesh in the body's frame; children first.
  virtual void UpdateGraphics();
  // 21: rotation speed in rpm; -1 for components that do not turn.
  virtual float GetRPM();
  // m^2 counted into the aircraft's wing area; wings override it.
  virtual float WingArea() const;
  // The keys of the class; every component class gives its own.
  virtual const kxdkeytable& KeyTable() const { return Keys; }
  static const kxdkeytable Keys;
  // Whether the class reads its own world frame inside a substep; one that
  // does not may be folded into its free carrier for the substeps (see
  // kxdcompiled). A plain body is a mass and contact points only.
  virtual bool FrameInSubsteps() const;
  // Fills a fold's section records (carrier axes, from fold.relative) when
  // the class's force pass has a form in its carrier's axes; a wing does.
  virtual void FoldSections(kxdfold& fold) const;
  // Whether the force pass or the integration does anything while the body
  // is folded: a plain body without weight or contact points does not, and
  // the driver then leaves it out of the substeps.
  virtual bool WorksWhenFolded() const;
  // The passes of a substep in which the body has work, folded as fold says
  // (null: not folded): kForcePass, kIntegratePass, and kAskPass for a
  // force pass whose only work is asking for contacts, which a clear frame
  // needs none of (see kxdaircraftinstance::FrameClear). The driver asks
  // once a frame and leaves the body out of the other passes for that
  // frame. A class with passes of its own answers for them; by default it
  // works in both. kOwnHandOver adds that a carried body's force pass ends
  // with its loads handed on (kxdbody::ComputeChange, never folded) and that
  // no other part loads it: the driver's hand-over after the force pass
  // need not ask it then.
  static constexpr int kForcePass = 1, kIntegratePass = 2, kAskPass = 4, kOwnHandOver = 8,
                       kAllPasses = kForcePass | kIntegratePass;
  virtual int SubstepPasses(const kxdfold* fold) const;
  // How far from R (m) the contact and strike asks of the body's substeps
  // reach, as the extent they give ClearAround about R; negative when the
  // body asks none, NaN while unknown. A class that asks answers for its
  // own asks with the body's.
  virtual float AskExtent() const;
  // A class whose folded bodies are worked together: its passes for count
  // bodies at once, pairs holding each body and its Change twin (of the
  // same class) side by side. The driver runs the force passes first in
  // the force pass and the integrations first in the integration, so a
  // class that offers one reads in its force pass nothing another force
  // pass writes, and in its integration nothing another integration does.
  // A batch's force pass puts nothing on its bodies' force and torque
  // accumulators: the driver's hand-over leaves them out.
  struct batch {
    void (*force)(kxdintegrable* const* pairs, int count);
    void (*integrate)(kxdintegrable* const* pairs, int count, float dt);
    // Once a frame before its substeps, for what stays the same over them;
    // null for none.
    void (*frame)(kxdintegrable* const* pairs, int count) = nullptr;
  };
  // The class's batch for the body folded as fold says; null to be walked
  // one by one.
  virtual const batch* SubstepBatch(const kxdfold* fold) const;
  // Whether the force pass takes every part of the body's frame it or the
  // substep reads from bodies placed before it (a propeller from its
  // engine): the substeps' follow pass then leaves it out unless it
  // carries a body that follows.
  virtual bool PlacesItself() const { return false; }
  // SubstepPasses of the body's own passes: folded, the integration is left
  // to the follow pass, and the force pass weighs the body once and then
  // only asks for its contact points.
  int BodyPasses(const kxdfold* fold) const;
  // The designer's mass range follows the mass until it has been given one;
  // analyses that do not run the body's own call this.
  void FillMassRange();

  // Driver steps around the two passes. A free body hands its accumulated
  // totals to its twin after every force pass of the substep has run, so a
  // component later in the walk can still act on it.
  void FinishChange(kxdbody* change);
  // A carried body passes its accumulated force and torque on to its free
  // carrier; the driver runs it once more after the force pass for what
  // other components added late.
  void HandOver();
  // Whether the accumulators hold anything at all (bit for bit).
  bool HasLoad() const {
    uint64_t bits[4];
    std::memcpy(bits, &Force, sizeof Force);
    std::memcpy(bits + 2, &Torque, sizeof Torque);
    return (bits[0] | bits[1] | bits[2] | bits[3]) != 0;
  }
  // A carried body re-derives its frame from its carrier's, carrier first;
  // pass numbers keep each body to one update per pass.
  void Follow(unsigned pass);
  // The same for a carrier already current (the driver keeps its bodies in
  // carrier-first order): the frame and its derivative are both the
  // carrier's placed by the relative frame.
  void FollowCarrier();
  // Only R of what FollowCarrier places, the same to the bit, for a body
  // whose joint turns nothing: all a body's own weight needs to be handed
  // over.
  void FollowCarrierOrigin();
  // R and its velocity D.R of what FollowCarrier places, the same to the
  // bit, for a body whose joint turns nothing.
  void FollowCarrierOriginAndVelocity();
  // The frame a body that places itself takes at the start of its force
  // pass: FollowCarrier, or only R while its aircraft's frame is clear and
  // nothing turns it (no ask then reads more than the weight's arm).
  void FollowForForcePass();
  // The world frame of a folded body, from its free carrier's, for a force
  // pass that needs it this substep (a contact or strike query).
  void PlaceFolded(const kxdfold& fold);
  // The explicit step of a free body that is not held (Integrate).
  void IntegrateFree(kxdintegrable* change, float dt);
  // Whether the body's aircraft is clear of everything for the frame (see
  // kxdaircraftinstance::FrameClear): then no contact is asked.
  bool FrameClear() const;
  // Puts a folded body's weight into its carrier's folded weight, which
  // Prime puts on in every substep, when it is not there yet (or the mass
  // changed). The driver asks once a frame, before the substeps.
  void WeighFolded(const kxdfold& fold) const;
  // A pass number no body has seen yet.
  static unsigned NewPass();
  // The free body at the end of the carrier chain (the body itself if free).
  kxdbody* RootCarrier();
  // Adds a world force at a world point to the accumulators.
  void AddForceAt(const kxvector4r& force, const kxvector4r& point);
  // Velocity of a world point moving with the body, m/s.
  kxvector4r PointVelocity(const kxvector4r& point) const;
  // Omega and D from L and P (after a change of momentum).
  void DeriveMotion();
  // SystemCentre in world axes.
  kxvector4r CentreOffset() const;
  // Ground contact of the contact points: spring, damper and friction.
  void AddOwnContact();
  // ContactReach taken anew from the contact points (Prepare does it).
  void MeasureContactReach();
  // The same for count world points (at most kMaxContactPoints) fixed to
  // this body, with another body's contact constants.
  void AddContactForces(const kxvector4r* points, int count, float kn, float dn, float dv,
                        kxdaircraftinstance* instance);

  static kxdbody* As(kxnode* node);

  kxmatrix B;                 // body to world: rows X, Y, Z (w 0), R (w 1, m)
  kxmatrix D;                 // d/dt of B; its R row is the velocity, m/s
  kxvector4r Omega;           // rad/s, world
  kxvector4r P;               // linear momentum, kg m/s
  kxvector4r L;               // angular momentum about SystemCentre, kg m^2/s, world
  kxvector4r Force;           // N, world; cleared after every force pass
  kxvector4r Torque;          // N m about R, world; cleared likewise
  float Mass;                 // kg; a free body needs > 0
  float Inertia[16];          // kg m^2 in body axes; element 15 holds Mass
  float InertiaInv[16];       // taken by Prepare
  float RangeMassMax;         // kg, the designer's range
  float RangeMassMin;
  float Kn;                   // N/m, contact stiffness along the normal
  float Dn;                   // N s/m, contact damping along the normal
  float Dv;                   // N s/m, contact friction across the normal
  int Contact;                // 1: own ground contact; 0 for wheels and skids
  kxvector4r ContactPoints[kMaxContactPoints];  // body axes, m; from the geometry
  int ContactCount;           // 1..kMaxContactPoints
  // m, how far the farthest contact point lies from R, taken by Prepare;
  // NaN until then, and every substep asks the world.
  float ContactReach = std::numeric_limits<float>::quiet_NaN();
  kxgeometricobject* Geometry;    // drawn parts; null when none
  kxdaircraftinstance* Instance;  // owner; null outside an aircraft
  kxdbody* ParentBody;        // carrier; null for a free body
  kxdjoint00* Joint;          // turns the relative frame; null when none
  kxmatrix Relative;          // frame in the carrier's frame, taken by Prepare
  float SystemMass;           // kg, with every body it carries; set by kxdattach::Aggregate
  float SystemInertiaInv[16]; // body axes, about SystemCentre, with the carried bodies
  kxvector4r SystemCentre;    // m, body axes from R: centre of mass with the carried bodies
  int Held;                   // 1: the body cannot move (bad mass, inertia or state)
  unsigned followPass;
  // The driver's fold of this body and the cache generation that made it;
  // read through kxdcompiled::FoldOf only.
  const kxdfold* Fold = nullptr;
  unsigned FoldEpoch = 0;

 protected:
  // The base force pass of a folded body: weight, contact and what it was
  // given, straight onto its free carrier.
  void ActFolded(const kxdfold& fold);
  // ActFolded where it has work: a weight not yet weighed (the driver
  // weighs the folded bodies once a frame, WeighFolded) or contact points
  // outside a clear frame. Inline, so that the common case costs a
  // comparison or two.
  void ActFoldedIfNeeded(const kxdfold& fold);
  // HandOver for a carried body that is not folded, or a folded one placed
  // for its force pass, with a load: onto its free body's world totals.
  void HandOverToRoot();

 private:
  // B, D, Omega and P from a carrier's frame and the given frame in its axes.
  void Place(const kxdbody& carrier, const kxmatrix& relative);
  // HandOver for a folded body, onto its carrier's totals. Kept out of
  // line: inlined, its room would be taken on every hand-over.
  [[gnu::noinline]] void HandOverFolded(const kxdfold& fold);
  // FollowCarrier with the relative frame the joint turns: kept out of
  // line, so the bodies without a joint need none of its room.
  [[gnu::noinline]] void FollowTurned();
};

inline void kxdbody::ActFoldedIfNeeded(const kxdfold& fold) {
  if (Mass != fold.weighed || (Contact && fold.contactCount > 0 && !FrameClear())) ActFolded(fold);
}

// Inline for the classes that end their own integration with it: a carried
// body's is then no call at all. Carried bodies take their frame in the
// driver's follow pass, once their carrier has moved.
inline void kxdbody::Integrate(kxdintegrable* change, int, float dt) {
  if (ParentBody || Held) return;
  IntegrateFree(change, dt);
}
