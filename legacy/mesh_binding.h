// Gives a part of a legacy model its element of the model's mesh. Meshes
// are authored in body coordinates; drawing multiplies each element by its
// part's frame, so binding moves the element's vertices into that frame.
#pragma once

struct kxgeometry;

namespace dnsmodel {

struct object;

// The first element named exactly like the part becomes its mesh; the
// part's axes are made orthonormal keeping Z (a degenerate frame becomes
// the identity axes, after a log line) and the element's positions and
// normals are moved into the frame. Nothing happens when no element has
// the part's name.
void BindPartMesh(object* part, kxgeometry* geometry);

}  // namespace dnsmodel
