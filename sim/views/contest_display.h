// What a player sees of a running contest: the lines of the contest window
// (state, score, record, clock) and one large message in the middle of the
// view (countdown, start, results). The texts are worked out without OpenGL
// and then drawn.
#pragma once

#include "sim/views/text.h"

struct contestrec;
struct simplayer;
struct simsession;

namespace sim {

struct contesttexts {
  static constexpr int kMaxLines = 8;
  hudline lines[kMaxLines];   // window lines from the top, empty ones included
  int count = 0;
  char message[hudline::kChars] = {};  // the large message; "" for none
};

// A clock in milliseconds as whole seconds and hundredths, both truncated
// toward zero: -2500 is -2 s and -50.
void ContestClock(int ms, int* seconds, int* hundredths);

// The window lines and the large message of player in contest.
void ContestTexts(const contestrec& contest, const simplayer& player, const simsession& session, contesttexts* out);

// Draws the lines from (x, y) (the first baseline) one small-font line
// apart, and the message in the large font centred on centreX at
// halfHeight / 2. The small font stays current.
void DrawContestInfo(const contestrec* contest, const simplayer* player, int x, int y, int centreX, int halfHeight);

}  // namespace sim
