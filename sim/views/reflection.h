// Cube-map reflections on the second texture unit: the three reflection
// maps ("cubemap0" strongest to "cubemap2" faintest), which map a surface's
// shininess selects, and the set-up and tear-down around a shiny draw. The
// texture table never uploads cube entries; their OpenGL names are made and
// kept here, in the entries, so the table still frees them.
#pragma once

#include <cstdint>

namespace sim {

constexpr int kAircraftCubeMap = 0;  // strongest: transparent aircraft parts
constexpr int kSceneryCubeMap = 1;   // legacy and playback aircraft

// The map a shininess asks for: 0 above 0.75, 1 above 0.5, 2 above 0.25,
// -1 (no reflection) at 0.25 or less.
int ReflectionMap(float shininess);
// The OpenGL name of cube map 0..2, made on first use; 0 without a context,
// the map's texture entry or a valid index.
uint32_t CubeMapName(int map);
// 1 while reflections are drawn: cube maps and multitexture available and
// the `gl_aircraft_reflections` setting on.
int ReflectionsOn();

// Unit 1 reflects map map (0..2) with the texture matrix of the last scene
// pass and GL_ADD; a map below 0 switches the reflection off there. Unit 0
// is active afterwards.
void BeginCubeReflection(int map);
// By shininess, as ReflectionMap chooses.
void BeginReflection(float shininess);
// Unit 1 back to no cube map, no coordinate generation, identity texture
// matrix; unit 0 active.
void EndReflection();

}  // namespace sim
