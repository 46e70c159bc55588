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

#include <memory>
#include <vector>

#include "core/matrix.h"

class kxdbody;
class kxdintegrable;
struct kxdfold;

// The sections of every folded wing on one free body, one array per
// component (carrier axes, rows in the walk's order), so a substep works
// them in a few loops over them all.
struct kxdsectionrows {
  std::vector<float> px, py, pz;  // force points, from the carrier's R
  std::vector<float> cx, cy, cz;  // the chord axis the wing's direction lookup uses
  std::vector<float> sx, sy, sz;  // span axes
  std::vector<float> nx, ny, nz;  // normals
  // A substep's values: the flow (before the wash is taken off), its speed,
  // direction and the direction's parts along chord, span and normal, and
  // the coefficients the wing gives; active rows put their loads on.
  std::vector<float> vx, vy, vz, speed, dx, dy, dz, dc, ds, dn, cl, cd, cm;
  std::vector<unsigned char> active;

  int Count() const { return static_cast<int>(px.size()); }
  // Appends a section; returns its row.
  int Add(const kxvector4r& p, const kxvector4r& c, const kxvector4r& s, const kxvector4r& n);
  // Takes share times the wash (carrier axes) off the flow of a row.
  void SubtractWash(int row, const kxvector4r& wash, float share) {
    vx[row] -= share * wash.x;
    vy[row] -= share * wash.y;
    vz[row] -= share * wash.z;
  }
  // Speeds, directions and their parts of rows [first, first + count).
  void Directions(int first, int count);
  // The loads of the active rows among them into force and torque (the
  // carrier's axes), in row order.
  void AddLoads(int first, int count, const float* area, const float* chord, kxvector4r& force,
                kxvector4r& torque) const;
};

// Folded wings next to each other in the walk on one carrier, with no
// force pass between them: their sections are worked together, when the
// first of them comes in the walk.
struct kxdsectionsegment {
  std::vector<const kxdfold*> folds;  // walk order
  int first = 0;                      // rows [first, first + count) of the carrier
  int count = 0;
  std::vector<float> area, chord;     // per row, taken each substep
};

// A free body's axes and motion for one substep, and the loads its folded
// bodies put on it in those axes.
struct kxdcarrierframe {
  kxdbody* body;
  kxvector4r velocity;    // m/s of R, body axes
  kxvector4r omega;       // rad/s, body axes
  kxvector4r air;         // m/s, air velocity at R, body axes
  float gradient[9];      // 1/s, body axes; row i: d(air_i)/d(x, y, z)
  kxvector4r gravity;     // m/s^2, body axes
  kxvector4r drift;       // m/s, velocity of R through the air at R, body axes
  float turn[9];          // 1/s, body axes: a point p moves through the air at drift + turn p
  kxvector4r force;       // N, body axes
  kxvector4r torque;      // N m about R, body axes
  kxdsectionrows rows;    // the folded wings' sections

  // Takes the frame's motion and air for the substep about to run, the
  // flow at every folded section, and clears the loads.
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
