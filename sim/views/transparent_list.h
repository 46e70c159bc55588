// The transparent list of one view: everything blended that must be drawn
// back to front (trees, transparent aircraft parts, spinning propeller and
// rotor discs, balloons, contest markers). The scene pass resets it, the
// collectors here add records, and DrawTransparentList sorts them farthest
// first and draws them. Collecting and sorting need no OpenGL.
#pragma once

#include "sim/views/matrix_stack.h"

class kxgeometricobject;
struct contestrec;
struct kxgeometry;
struct kxtexture;
struct pylonrec;
struct simplayer;
struct world;

namespace sim {

enum class contestphase : int;

struct transparentrecord;
using transparentdraw = void (*)(const transparentrecord& record);

struct transparentrecord {
  float depth;                 // V's third row at the record's place: larger is nearer
  const kxgeometry* element;   // a mesh element, a tree's element or the blades' mesh
  transparentdraw draw;        // null for a plain element
  float matrix[16];            // placement, column-major
  int billboard;               // 1: placed with the billboard rotation
  int lit;                     // 1: lighting and materials; 0: the element's diffuse colour
  int reflect;                 // lit elements: 1 asks for the aircraft reflection
  const pylonrec* pylon;       // the pylon marker's pylon
  const contestrec* contest;   // the marker's or the gate's contest
  const simplayer* player;     // the viewing player (gate colour)
  float rpm;                   // propeller and rotor parts: the owner's speed, rpm
  float disc_radius;           // m
  float cone;                  // the rotor's cone value; 0 for propellers
  kxtexture* disc_texture;
};

struct transparentlist {
  static constexpr int kCapacity = 4096;

  transparentrecord records[kCapacity];
  transparentrecord* order[kCapacity + 1];  // sorted pointers, null after the last
  int count = 0;
  int dropped = 0;                          // records refused since the reset: the list was full
  int drawn = 0;                            // records the last DrawTransparentList drew
};

// The program's one list, reused every view.
transparentlist& TransparentList();
void ResetTransparentList();
// A zeroed record at the world point p with its depth from V; null when the
// list is full (counted in dropped).
transparentrecord* AddTransparent(const float V[16], const float p[3]);
// Fills order with the records, farthest first.
void SortTransparentList();

// ---- collectors

// Trees among the first TreeCount billboards of the scenery that lie inside
// the widened view, and every fixed transparent object.
void CollectTrees(const world& w, int treeCount, const float V[16], const float B[16], const float X[3],
                  const float eye[3], const float e1[3], const float e2[3]);
// How many of the scenery's trees may show: billboard count x tree_density
// (a density above 1 counts as 1), truncated, or 0 while trees are off.
int TreeCount(const world& w, int showTrees, float treeDensity);
// A tree at offset d from the eye is kept when d.e1 and d.e2 are at least
// -m, with m = 34 while the tree lies 0 to 30 m ahead and 4 otherwise.
bool TreeInView(const float d[3], const float X[3], const float e1[3], const float e2[3]);

// The transparent parts of one aircraft tree placed by its Matrix chain:
// discs and fading blades of rotating parts, else a transparent first
// element with the aircraft reflection.
void CollectTransparentParts(const float V[16], kxgeometricobject* root);
// The software stack the part walk uses.
matrixstack& PartStack();

// Pylon markers (pylon race), the balloons not burst (balloon pop) or the
// start gate (drag race) of the contest.
void CollectContestMarkers(const float V[16], const float B[16], const contestrec* contest, const simplayer* viewer);

// ---- the numbers the callbacks draw with

// Disc alpha: 0.25 x rpm / 1200, 0.25 from 1200 rpm on.
float DiscAlpha(float rpm);
// Blade alpha: 0.05 + 0.95 (1 - rpm / 1200), 0.05 from 1200 rpm on.
float BladeAlpha(float rpm);
// The marker's alpha at signed distance s (m) to the pylon's gate; 0 when it
// is not drawn (s >= 0).
float PylonMarkerAlpha(float s);
// The drag-race gate's colour for the viewing player's contest phase.
void DragGateColour(contestphase phase, float rgba[4]);

}  // namespace sim
