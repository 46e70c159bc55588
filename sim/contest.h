// Contests: setting one of the scenery's contests up (players lined up at its
// start, gates, balloons, finish line, landing area), starting and stopping
// it, and judging it once per frame while it runs.
#pragma once

struct contestrec;

namespace sim {

// Lines the flying players up at the contest's start and prepares its
// course; placeViewers 1 also puts each viewer at the contest's viewpoint.
// Null or a contest of no kind switches the contest panels off.
void SetupContest(contestrec* contest, int placeViewers);
// Sets the contest up again and runs it; a pylon race without a course of
// distinct pylons is set up but not run. Null forgets the current contest.
void StartContest(contestrec* contest);
// Stops the current contest; it stays current.
void StopContest();
// Advances the contest clock by the frame, sounds the countdown and judges
// every flying player.
void UpdateContest(contestrec* contest);

}  // namespace sim
