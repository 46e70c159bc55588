// kxdcompiled: the driver's private cache of the simulated tree. Most
// carried bodies (wings, servos, the receiver, joints, mass-only parts)
// never need their own world frame inside a substep: a wing's sections can
// be worked in its free carrier's axes, a part's weight and contact points
// act on the carrier directly. Such a body is folded into its free body for
// the substeps and takes its world frame once, after the frame's last one.
//
// The cache is rebuilt whenever a body is prepared (start, placement, reset,
// playback) or the walk changes (tow rope); a body reads its fold only while
// the driver runs the substeps of the cache that made it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/matrix.h"

class kxdaircraftinstance;
class kxdairfoil;
class kxdbody;
class kxdintegrable;
struct kxdfold;

// What a section's wing class and moving surfaces make of the coefficients
// its airfoil table gives: the table is read at the direction of
// (-(dn - shift), dc); the increments are added; cl and cm are scaled;
// sideslip takes sideslip ds^2 of the lift; where rootSide ds < 0 (the
// root section behind the fuselage) |ds| rootLoss of it goes too; and the
// induced drag is added, for aheadOnly only to a flow from ahead, the drag
// then taken down by 1 - ds^2.
struct kxdsectionfactors {
  float shift = 0.0f;  // the surfaces' shift of the normal flow
  float addCl = 0.0f, addCd = 0.0f, addCm = 0.0f;
  float scale = 1.0f;  // the airbrake's factor on cl and cm
  float sideslip = 0.0f;
  float rootSide = 0.0f;  // 0: no root loss
  float rootLoss = 0.0f;
  float aheadOnly = 0.0f;  // 1 or 0
};

// The sections of every folded wing on one free body, one array per
// component (carrier axes, rows in the walk's order), as the wings set them;
// each segment packs its rows from here for the substeps (kxdsectionsegment).
struct kxdsectionrows {
  std::vector<float> px, py, pz;  // force points, from the carrier's R
  std::vector<float> cx, cy, cz;  // the chord axis the wing's direction lookup uses
  std::vector<float> sx, sy, sz;  // span axes
  std::vector<float> nx, ny, nz;  // normals
  // What each wing's class makes of a row (kxdsectionfactors without the
  // surfaces), set by the wing when it is first worked.
  std::vector<const kxdairfoil*> airfoil;  // null: the row puts no load on
  std::vector<float> area, chord;          // m^2, m
  std::vector<float> washShare;            // share of the propeller's wash taken off the flow
  std::vector<float> sideslip, rootSide, rootLoss, aheadOnly;
  std::vector<float> induced;              // induced drag per cl^2, from the fold
  // The moving surfaces: up to kSurfaces that shift the normal flow and add
  // to the coefficients in proportion to their link value (drag to its
  // square), lift and drag factors included, and an airbrake that scales
  // cl and cm by 1 - brakeCl t and adds brakeCd t to the drag at
  // deployment t = (link value + 1) / 2; set with the rest.
  static constexpr int kSurfaces = 3;
  std::vector<float> alpha[kSurfaces], surfaceCl[kSurfaces], surfaceCd[kSurfaces], surfaceCm[kSurfaces];
  std::vector<float> brakeCl, brakeCd;
  std::vector<const float*> link[kSurfaces];  // null: none
  std::vector<const float*> brakeLink;        // null: none

  int Count() const { return static_cast<int>(px.size()); }
  // Appends a section (without a load until its wing sets it); returns its row.
  int Add(const kxvector4r& p, const kxvector4r& c, const kxvector4r& s, const kxvector4r& n, float inducedDrag);
  // A row's section and its class's factors (the surfaces' are not read).
  void Set(int row, const kxdairfoil* foil, float sectionArea, float sectionChord, float share,
           const kxdsectionfactors& f);
  // A surface's link (null: none) and its effects on a row per unit of its value: shift
  // of the normal flow, increments of cl, cd (per square) and cm.
  void SetSurface(int row, int surface, const float* source, float shift, float cl, float cd, float cm);
  // The airbrake's link and effects on a row.
  void SetBrake(int row, const float* source, float cl, float cd);
};

// Four rows of a segment side by side, as a substep's loop takes them
// (four lanes of one register per field). The lanes after a segment's last
// row hold no airfoil, so they put no load on. The yes-or-no fields are
// masks (all bits set for yes) that the loop uses as they are.
struct kxdrowgroup {
  static constexpr int kLanes = 4;
  static constexpr int kSurfaces = kxdsectionrows::kSurfaces;
  alignas(16) float px[kLanes], py[kLanes], pz[kLanes];
  float cx[kLanes], cy[kLanes], cz[kLanes];
  float sx[kLanes], sy[kLanes], sz[kLanes];
  float nx[kLanes], ny[kLanes], nz[kLanes];
  float washShare[kLanes], area[kLanes], chord[kLanes];
  std::uint32_t washed[kLanes];  // the row takes a share of the wash
  float sideslip[kLanes], rootSide[kLanes], rootLoss[kLanes], induced[kLanes];
  std::uint32_t aheadOnly[kLanes];  // the induced drag only for a flow from ahead
  float alpha[kSurfaces][kLanes], surfaceCl[kSurfaces][kLanes], surfaceCd[kSurfaces][kLanes],
      surfaceCm[kSurfaces][kLanes];
  float brakeCl[kLanes], brakeCd[kLanes];
  std::uint32_t foiled[kLanes];  // the row has an airfoil
  // The dynamic pressure's factors of the loads per speed squared (lift,
  // moment) or speed (drag), made from area and chord by the rows' pass
  // once the group is packed.
  float liftFactor[kLanes], dragFactor[kLanes], momentFactor[kLanes];
  // This substep's link values: deflections (0 without a link or a finite
  // value) and the airbrake's deployment (0 without).
  float deflection[kSurfaces][kLanes], deployment[kLanes];
  const kxdairfoil* airfoil[kLanes];
  // The first direction record a lane reads its table from: its airfoil's,
  // or a record of zeros without one (set with the factors).
  const float* table[kLanes];
};

// A link a segment reads each substep into its groups: a surface's
// deflection, or an airbrake's deployment.
struct kxdlinkread {
  const float* source;
  float* target;  // in the segment's groups
};

// Folded wings next to each other in the walk on one carrier, with no
// force pass between them, of one aircraft (one wash): their sections are
// worked together, when the first of them comes in the walk.
struct kxdsectionsegment {
  std::vector<kxdfold*> folds;  // walk order
  int first = 0;                      // rows [first, first + count) of the carrier
  int count = 0;
  // The rows packed four at a time once their wings have set them, and the
  // links with an effect on them (a link without one is never read).
  std::vector<kxdrowgroup> groups;
  std::vector<kxdlinkread> surfaceReads, brakeReads;
  bool packed = false;  // every wing has set its rows and they are packed
  // What the packed rows need of the pass: the most moving surfaces on one
  // row (packed into a row's first slots), and whether any row takes wash.
  int surfaces = 0;
  bool washed = false;

  // Packs rows [first, first + count) of rows into groups and lists the
  // links: a row's surfaces with a link and an effect go into its first
  // slots, in order (the others move nothing).
  void Pack(const kxdsectionrows& rows);
  // Reads the links into the groups.
  void ReadLinks();
};

// A free body's axes and motion for one substep, and the loads its folded
// bodies put on it in those axes.
struct kxdcarrierframe {
  kxdbody* body;
  kxvector4r velocity;    // m/s of R, body axes
  kxvector4r omega;       // rad/s, body axes
  kxvector4r air;         // m/s, air velocity at R, body axes
  float gradient[12];     // 1/s, body axes; row i at 4 i: d(air_i)/d(x, y, z), then a 0
  kxvector4r gravity;     // m/s^2, body axes
  kxvector4r drift;       // m/s, velocity of R through the air at R, body axes
  float turn[12];         // 1/s, body axes, rows as gradient: a point p moves through the air at drift + turn p
  kxvector4r force;       // N, body axes
  kxvector4r torque;      // N m about R, body axes
  kxdsectionrows rows;    // the folded wings' sections
  // The folds' weighed masses summed, and their moment about R (body axes):
  // the weight of them all goes on in Prime as one load.
  float foldedMass = 0.0f;
  kxvector4r foldedMoment = {0.0f, 0.0f, 0.0f, 0.0f};
  // The farthest contact point of the folds with contacts (body axes, from
  // R), the instance their clear test asks, and whether that instance's
  // clear sphere held them all this substep.
  float contactExtent = -1.0f;
  const kxdaircraftinstance* contactInstance = nullptr;
  bool contactsClear = false;

  // Takes the frame's motion and air for the substep about to run, and
  // clears the loads.
  void Prime();
  // Adds the loads to the body's world accumulators.
  void Flush();
  kxvector4r ToBody(const kxvector4r& world) const;
  kxvector4r ToWorld(const kxvector4r& local) const;
  // Velocity of a point fixed to the body (body axes, from R) through the
  // air, body axes.
  kxvector4r Flow(const kxvector4r& point) const;
  // A force (body axes) acting at a point (body axes, from R).
  void AddLoad(const kxvector4r& force, const kxvector4r& point);
};

// One folded body: where it sits on its free carrier, its contact points
// and, for a wing, its section records in the carrier's axes.
struct kxdfold {
  static constexpr int kMaxSections = 8;
  static constexpr int kMaxPoints = 8;

  kxdbody* body;                         // the folded body
  kxdcarrierframe* carrier;
  kxmatrix relative;                     // the body's frame in the carrier's (R from the carrier's R)
  kxvector4r contactPoints[kMaxPoints];  // carrier axes, from its R, w 1
  int contactCount;
  float contactExtent;                   // m, farthest contact point from the carrier's R
  // kg of the body's weight its carrier puts on in Prime: the body adds
  // what is not yet there itself, the first time it acts folded.
  mutable float weighed;
  int sections;                          // 0 for a body that is not a compiled wing
  kxvector4r point[kMaxSections];        // force points, carrier axes from its R, w 0
  kxvector4r chord[kMaxSections];        // the section axes in the carrier's axes
  kxvector4r span[kMaxSections];
  kxvector4r normal[kMaxSections];
  kxvector4r across[kMaxSections];       // span x normal: the chord of the main wing's sections
  float induced;                         // induced drag per lift coefficient squared; 0 without an aspect ratio
  bool acrossChord;                      // the direction lookup reads span x normal, not chord
  int firstRow;                          // the first section's row in the carrier's rows
  kxdsectionsegment* segment;            // the sections worked with this wing's; null for a body without
  bool leads;                            // the first wing of its segment in the walk
  bool rowsSet;                          // the wing has set its rows since the fold was made
};

class kxdcompiled {
 public:
  // Folds what can be folded among the bodies of the walk (post-order, as
  // the driver runs it). Bodies that stay are listed in Unfolded.
  // breaks[i]: a component that is not a body runs its force pass just
  // before bodies[i] (empty: none does).
  void Compile(const std::vector<kxdbody*>& bodies, const std::vector<bool>& breaks = {});
  // Whether the walk and the prepared state are still those compiled.
  bool Matches(const std::vector<kxdbody*>& bodies, const std::vector<bool>& breaks = {}) const;
  // Substep bracket: the carriers' frames before the force pass, their
  // folded loads handed on after it.
  void Prime();
  void Flush();
  // Opens the folds for the substeps about to run, and closes them.
  void Enter();
  void Leave();

  // The fold of a body while its cache's substeps run; null otherwise.
  static const kxdfold* FoldOf(const kxdbody* body);
  // Counts preparations: a change means the cache may no longer fit.
  static void Prepared();

  std::vector<kxdbody*> Unfolded;  // the walk's bodies that keep their own frame in every substep

 private:
  std::vector<kxdbody*> walk_;
  std::vector<bool> breaks_;
  unsigned prepared_ = 0;
  unsigned epoch_ = 0;
  std::vector<std::unique_ptr<kxdcarrierframe>> carriers_;
  std::vector<std::unique_ptr<kxdfold>> folds_;
  std::vector<std::unique_ptr<kxdsectionsegment>> segments_;
};
