// Stand-ins for the simulator's views until they exist: each logs
// what it would do. Same names and signatures as the real ones.
#pragma once

class kxgeometricobject;
struct kxgeometry;
struct kxtexture;
struct shadowquad;
struct world;

namespace sim {

// The simulation's draw callback: every player's view, the status text, the
// GUI and a requested screenshot.
void Draw();

// Re-renders the reflection cube maps at the current place.
void BuildReflectionMaps(world* w);
// Renders mesh from above over rect's box into texture.
void RenderToTexture(shadowquad* rect, kxtexture* texture, kxgeometry* mesh);
// Makes the object's blur disc: a size x size texture named name of its
// children seen from above within +-radius.
void RenderShadowTexture(kxgeometricobject* object, const char* name, float radius, int size);

}  // namespace sim
