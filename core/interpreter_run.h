// The state of one run of the interpreter (an Execute or a ReadFile), shared
// by the interpreter and the description-file reader.
#pragma once

#include <string>
#include <string_view>

#include "core/text_lines.h"

class kxnode;

namespace kxscript::detail {

struct run {
  const char* file = nullptr;  // null for a command text
  int line = 0;
  kxnode* saved = nullptr;         // the caller's current node
  bool savedDestroyed = false;     // ... destroyed while this run went on
  bool lost = false;               // after a failed cd: skip until it is undone
  kxnode* lostReturn = nullptr;    // current node before the failed cd
  int lostDepth = 0;               // cd levels entered while lost
  int skipped = 0;
  int unknown = 0;                 // statements naming nothing the node knows
  int not_finite = 0;              // statements refused for a number no real holds ("nan")
  int refused = 0;                 // statements refused otherwise: bad syntax, no such node or type
  bool partial = false;            // the node takes only some lines: unknown ones are not counted
  kxnode* fence = nullptr;         // set: no cd leads out of this node's subtree
  bool fenceReported = false;      // the run said once that a cd stopped at the fence
  bool reported = false;           // the running statement's failure is logged
  std::string_view statement;
  run* outer = nullptr;
};

// Starts a run on node (the current node when null) and returns its record,
// which the interpreter owns until End: the stack of runs holds no pointer
// to a caller's local. Null when nested too deep, after a log line.
run* Begin(kxnode* node, const char* what);
// Ends it: logs what was skipped, restores the caller's current node and
// returns the node current at the end.
kxnode* End(run& r);
void RunLine(run& r, std::string_view line);

// Reads a description file whole (through the path resolver), without a
// leading UTF-8 byte order mark. false when it cannot be opened; an empty
// file or one in UTF-16 reads as no text, with one log line naming it.
bool ReadText(const char* path, std::string& text);

// Calls visit(line, number) for each line of text, numbered from 1, without
// its line end (LF, CRLF or CR).
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  kxtext::ForEachLine(text, visit);
}

}  // namespace kxscript::detail
