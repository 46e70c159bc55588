// The scenery description file "scenery/<name>.geo": a counting pass that
// sizes the object arrays, then a loading pass that applies every keyword
// line to the world record. Lines are classified by their leading keyword
// (case-insensitive prefix, first match in table order); any other line is
// a comment.
#pragma once

struct world;

namespace sim {

// Both passes over the file at path into w, whose defaults are already set.
// A missing file leaves the defaults.
void ReadSceneryFile(const char* path, world* w);

}  // namespace sim
