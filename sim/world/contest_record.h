// The contests a scenery defines: one record per CONTEST line of the scenery
// file, with its pylon gates, balloons, drag strip and landing area. The
// scenery loader fills what the file says; the contest set-up derives the
// gates, balloon places, finish line and landing axes; the per-frame judge
// reads them.
#pragma once

#include <cstdint>

#include "core/matrix.h"
#include "dynamics/flight_state.h"

struct kxcbody;
struct kxgeometry;
struct simplayer;

// Contest kinds as the scenery file names them.
enum class contestkind : int {
  kContestNone = 26,
  kContestPylonRace = 27,
  kContestBalloonPop = 28,
  kContestDragRace = 29,
  kContestSpotLanding = 30,
};
using enum contestkind;

// One pylon of a pylon race and the gate it makes. Plane A is crossed on the
// way in (normal a, the unit direction from the previous pylon), plane B on
// the way out (normal b, towards the next); side C tells whether plane A was
// crossed outside the pylon, side D the same for plane B.
struct pylonrec {
  float position[3];        // m; the file's x, y, z plus the POSITION in force
  float p4, p5;             // the line's fourth and fifth values, kept as read
  float planeA[3];          // a
  float planeB[3];          // b
  float offsetA;            // p . a
  float offsetB;            // p . b
  float sideC[3];           // (a.y, -a.x, 0)
  float sideD[3];           // (b.y, -b.x, 0)
  float limitC;             // p . sideC
  float limitD;             // p . sideD
  pylonrec* next;           // null after the last, in file order
};

// One balloon of a balloon pop; stored one after the other in its contest.
struct balloonrec {
  int32_t popped;
  kxmatrix frame;           // position in R, placed by the contest set-up
  float radius;             // m, largest hull point distance from the centre
  kxgeometry* mesh;         // "objects/balloon.obj" scaled to the balloon
  kxcbody* body;            // convex body following frame; null without a hull
  shadowquad shadow;        // the mesh's box with the session's balloon shadow texture
  balloonrec* next;         // null after the last
};

struct contestrec {
  static constexpr int kMaxPylons = 50;
  static constexpr int kMaxBalloons = 80;   // counts below this are accepted

  int32_t running;          // 1 while the contest runs
  contestkind kind;         // kContest...
  int32_t start_time;       // ms, the contest clock: -6999 after the set-up, 0 at the start signal
  int32_t previous_clock;   // ms, the clock at the end of the last update (set-up: -7001)
  int32_t best_time;        // ms, -1 none
  int32_t best_points;      // -1 none
  simplayer* winner;        // cleared by the set-up

  // --- line-up (STARTACFT, STARTVIEW)
  float heading;            // degrees
  float start_position[3];  // m
  float view_position[3];   // m; z below 0: above the aircraft

  // --- pylon race (PYLON)
  int32_t pylon_count;
  pylonrec* first_pylon;    // null without pylons
  pylonrec pylons[kMaxPylons];

  // --- balloon pop (BALLOONS)
  int32_t balloon_count;    // balloons made (a balloon whose mesh failed is left out)
  int32_t balloons_left;
  float balloon_size;       // m, smallest radius; radii lie in [size, 2 size)
  float balloon_min[3];     // m, box the set-up scatters them in
  float balloon_max[3];
  balloonrec* first_balloon;
  balloonrec balloons[kMaxBalloons];

  // --- drag race (DRAGRACE), finish line from the set-up
  float drag_distance;      // m
  float drag_heading;       // degrees
  float finish_point[3];    // m
  float finish_normal[3];   // d, the course direction
  float finish_line[3];     // w, along the finish line
  float finish_offset;      // d . finish point

  // --- spot landing (SPOTAREA), landing area from the set-up
  float spot_length;        // m, along axis A
  float spot_width;         // m, along axis B
  float spot_heading;       // degrees
  float spot_corner[3];     // m
  float spot_axisA[3];
  float spot_axisB[3];
  float spot_offsetA;       // corner . axis A
  float spot_offsetB;       // corner . axis B
  float spot_centre[3];     // m

  contestrec* next;         // null after the last, in file order
};
