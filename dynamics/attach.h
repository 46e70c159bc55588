// Which body carries which. A body directly below another body is carried by
// it; a body named as a joint's Body1 is carried by the joint's Body0 (the
// main body when unset) and turned by the joint; every other body except the
// main body is carried by the main body, which alone is free.
#pragma once

class kxnode;
class kxdbody;

namespace kxdattach {

// Sets ParentBody and Joint of every body below root. A joint that would
// make a body carry itself is refused with one log line (the body then
// follows the rule without the joint). Without a main body nothing is carried
// except through the tree.
void Resolve(kxnode* root, kxdbody* mainBody);

}  // namespace kxdattach

namespace kxdattach {

// Gives every free body below root the mass, centre of mass and inverse
// inertia (about that centre, in its axes) of itself with all bodies it
// carries, from the present frames; each body's mass counts at its R.
// A free body with no mass or a singular inertia is held, with one log line.
void Aggregate(kxnode* root);

}  // namespace kxdattach
