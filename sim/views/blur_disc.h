// The blur disc of a propeller or rotor: its blades seen from above at 720
// angles over the whole turn, baked once into a texture that the
// transparent pass lays over the spinning part.
#pragma once

class kxgeometricobject;

namespace sim {

constexpr int kBlurPasses = 720;
constexpr float kBlurStep = 90.5f;   // degrees between passes: 720 steps visit every half degree
constexpr float kBlurAlphaCap = 100.0f;  // the disc's strongest alpha, of 255
constexpr int kBlurMode = 2;             // the procedural step that caps the alpha and blurs 3 x 3

// Creates (or finds by name) the RGBA size x size texture of the object's
// blur disc and makes it the object's disc: the object's children seen from
// above within +-radius (m) of its centre, each texel's alpha 255 where
// something was drawn and 0 elsewhere, then capped and blurred, and
// uploaded when there is a context. Baked without the graphics card. A size
// the texture table refuses leaves the object without a disc.
void RenderShadowTexture(kxgeometricobject* object, const char* name, float radius, int size);

}  // namespace sim
