#include "sim/views_placeholder.h"

#include "platform/log.h"

namespace sim {

void Draw() {}

void BuildReflectionMaps(world*) {}
void RenderToTexture(shadowquad*, kxtexture*, kxgeometry*) {}
void RenderShadowTexture(kxgeometricobject*, const char*, float, int) {}

}  // namespace sim
