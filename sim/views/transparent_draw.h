// Drawing the transparent list back to front, and the callbacks records
// carry: the pylon marker, the drag-race gate, the spinning disc of a
// propeller or rotor with a blur texture, and the fading blades of one
// without.
#pragma once

namespace sim {

struct transparentrecord;

// Sorts the list farthest first and draws every record under its matrix;
// the count drawn goes into the list's drawn field.
void DrawTransparentList();

void DrawPylonMarker(const transparentrecord& record);
void DrawDragRaceGate(const transparentrecord& record);
void DrawPropellerDisc(const transparentrecord& record);
void DrawFadingBlades(const transparentrecord& record);

// The flat disc of the blur texture: a fan of 64 rim points at radius r and
// height h around the origin, texture coordinates filling the picture; with
// back set, the same fan reversed, facing down.
void DrawDiscFan(float radius, float height, int back);

}  // namespace sim
