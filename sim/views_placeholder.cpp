#include "sim/views_placeholder.h"

#include "platform/log.h"

namespace sim {

void RenderAircraftShadow(simplayer*, shadowquad*, const float*, kxgeometricobject*, balloonrec*) {}
void BuildReflectionMaps(world*) {}
void RenderToTexture(shadowquad*, kxtexture*, kxgeometry*) {}
void RenderShadowTexture(kxgeometricobject*, const char*, float, int) {}

}  // namespace sim
