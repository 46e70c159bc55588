// The simulation's mouse, for the events no widget of the menu bar or an open
// window takes: it moves, resizes and closes the overlay camera panels and
// turns player 1's viewer with the right button.
#pragma once

namespace sim {

constexpr int kPanelMin = 120;               // px, also the keys' smallest panel
constexpr float kMouseTurn = 0.05f;          // degrees per pixel

// Mouse event code (kxcode::kMouse...); the pointer comes from input::pointer.
void OnMouse(int code, int modifiers);
// The mouse's grab state back to none (entry and tests).
void ResetMouse();

}  // namespace sim
