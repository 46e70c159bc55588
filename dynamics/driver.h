// kxdynamics: the fixed-step driver. Each frame it updates the input
// pinboard, runs whole substeps of 0.0003 s over the State tree with its
// Change twin (force pass, then integration), then the air model of each
// aircraft, the thermals, the visual update and the publication of every
// flight state.
#pragma once

#include <memory>

class kxnode;
class kxdworld;
class kxdaircraftinstance;

// The walk of a tree pair and the folds compiled from it, kept from frame to
// frame while the trees stay as they were: no component adds or removes
// nodes while stepping, so the pairs and their types are taken once for a
// frame's substeps. The program's frames share one (RunSubsteps); a test
// makes its own and drops it with its trees.
class kxdsubstepper {
 public:
  kxdsubstepper();
  ~kxdsubstepper();
  kxdsubstepper(const kxdsubstepper&) = delete;
  kxdsubstepper& operator=(const kxdsubstepper&) = delete;

  // n substeps over a tree and its twin (State and Change, or any pair).
  void Run(kxnode* state, kxnode* change, int n);

 private:
  struct caches;
  std::unique_ptr<caches> caches_;
};

namespace kxdynamics {

constexpr float kSubstep = 0.0003f;  // s
constexpr int kMaxSubsteps = 120;    // per frame

// Substeps for a frame of t seconds: min(floor(t / 0.0003), 120); 0 for a
// time that is not a positive finite number. The remainder is dropped.
int SubstepsFor(float frameTime);
// One frame; returns the substeps run.
int Step(float frameTime, kxdworld* world, float sceneryExtent = 6000.0f, float cloudHeight = 200.0f);
// n substeps over a tree and its twin with the program's substepper.
void RunSubsteps(kxnode* state, kxnode* change, int n);
// Forgets the channels held for the transmitter's lost frames.
void ResetDriver();
// UpdateVisual on the State tree.
void UpdateVisuals();
// Rebuilds and resets the loaded aircraft's simulation trees, sets the air
// field up and logs the start.
void Start(kxdworld* world);
// Logs the stop, forgets the world and restores the template meshes of both
// aircraft.
void Stop();
// Makes the Change tree the twin of the State tree again: every State child
// gets a fresh clone in the same position (a stand-in for an aircraft that
// sits out or cannot be cloned), and each instance its new twin.
void RebuildChangeTree();
// Air velocity and gradient at the instance's main body from the air field.
void UpdateAir(kxdaircraftinstance* instance, kxdworld* world);
}  // namespace kxdynamics
