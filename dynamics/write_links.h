// Link lines of the aircraft writers. A link is printed as its path below
// the component or geometry root of the aircraft being written, so writing
// the second player's aircraft never names nodes of the first. Each line
// starts with its key as written before "=", blanks included.
#pragma once

#include "core/node.h"

class kxout;

namespace kxdwrite {

// Roots the links of the next writes are based on (null: none).
void SetRoots(const kxnode* aircraft, const kxnode* geometry);

// "<head>= ~Aircraft/path\n" for a pointer into the component tree (a node
// or one of its named members). Nothing for null; a pointer outside the
// tree is left out with one log line.
void AircraftLink(kxout& out, const char* head, const void* pointer);
// "<head>= ~Geometry/path\n" for a pointer into the geometry tree.
void GeometryLink(kxout& out, const char* head, const void* pointer);
// "<head>= ../name/\n" for a component beside owner, "<head>= ~Aircraft/path/\n"
// for any other in the component tree; one outside it is left out with one
// log line.
void SiblingLink(kxout& out, const char* head, const kxnode* node, const kxnode* owner);
// Geometry( "~Geometry/path/" ): the object the body is drawn with.
void DrawnGeometry(kxout& out, const kxnode* body, const void* object);

}  // namespace kxdwrite
