// Drawing a loaded legacy model with OpenGL vertex arrays, part by part: each
// part's mesh element under the part's own frame. Four operations draw in
// the frame the caller has set up (the caller has applied the model's
// frame); the View operations, the discs and the plain pass apply the
// model's frame themselves. Propellers and rotors (Types 2 and 10) are drawn
// only by the rotating-part passes and as translucent blur discs. Blending,
// culling, colour and lighting are the caller's, except as stated. Each does
// nothing while no model is loaded or no context is current.
#pragma once

namespace dnsmodel {

// The opaque parts other than propellers and rotors, textured and lit by
// their materials; a texture shared by consecutive parts is bound once.
void DrawSolidParts();
// Their transparent parts, untextured.
void DrawFlaggedParts();
// Propellers and rotors with their meshes, each with its texture or none.
void DrawRotorParts();
// Every part with a mesh, strips only: no texture or material set.
void DrawPartsGeometry();

void DrawSolidPartsView();
// As DrawFlaggedParts, with lighting enabled at the start and disabled at
// the end.
void DrawFlaggedPartsView();
void DrawRotorPartsView();
// The blur discs of the propellers and rotors in the blur texture, fading
// in with their speed, with depth writes off; propellers grey at 0.7 of
// their blur, rotors darker in front than behind.
void DrawRotorDiscs();
// Every part with a mesh, without materials: the shadow and reflection
// passes.
void DrawPartsPlain();

}  // namespace dnsmodel
