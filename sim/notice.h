// Notices: one short text for the user about something that went wrong and
// what the program did instead (a settings file moved aside, a scenery that
// did not load, a save that failed). Any part of the program posts one; the
// menu and the flight show the oldest waiting notice in the notice window,
// one at a time, so a notice posted during start-up is seen once the menu is
// up.
#pragma once

#include <string>

namespace sim {

// Queues text; an empty text, or the same text as one still waiting, adds
// nothing.
void PostNotice(const std::string& text);
// The oldest waiting notice, taken off the queue; empty when none waits.
std::string TakeNotice();
int NoticeWaiting();
// Drops every waiting notice.
void ClearNotices();

// A failed write's reason (kxsystem::WriteWholeFileProblem) as a notice
// gives it: a folder in the way is the user's to move, and they are told so.
std::string WriteFailure(const std::string& problem);

// After an aircraft was chosen and loaded: the notice of what its load had
// to leave out (a wing section without airfoil, no mesh); nothing when it
// left nothing out.
void PostAircraftProblems(const char* aircraft);

}  // namespace sim
