// What the folders above the simulator (input configuration windows,
// designer, legacy runtime) give it: main() installs these before the run.
// A missing hook is logged where it would have been called.
#pragma once

struct kxdflightstate;
struct kxmatrix;
struct shadowquad;

namespace sim {

enum class designerreturn : int;

struct applicationhooks {
  // Registers the window types of the input configuration and the aircraft
  // selection, which the set-up registers first; returns how many it
  // registered.
  int (*register_types)() = nullptr;
  // Designer: builds its screen, menus and commands; makes its entry the
  // pending mode switch.
  void (*designer_init)() = nullptr;
  void (*designer_open)(designerreturn back) = nullptr;
  // Legacy runtime: loads the model (1 on success) with its blur discs;
  // unloads it; draws solid, flagged-then-all parts, or the parts' geometry.
  int (*legacy_load)(const char* name, int* out) = nullptr;
  void (*legacy_unload)() = nullptr;
  // legacy_load's out receives the model's kind code, and the three draws
  // below draw in a frame the caller has set up (the menu's turntable).
  // The views leave the model's frame to the runtime: its solid parts; its
  // rotating and transparent parts with the blur discs (the scene's
  // transparent pass); its transparent and rotating parts after the solid
  // ones (the aircraft-only window); its parts without materials (the
  // shadow picture).
  void (*legacy_view_solid)() = nullptr;
  void (*legacy_view_transparent)() = nullptr;
  void (*legacy_view_rest)() = nullptr;
  void (*legacy_view_plain)() = nullptr;
  void (*legacy_draw_solid)() = nullptr;
  void (*legacy_draw_transparent)() = nullptr;
  void (*legacy_draw_plain)() = nullptr;
  // Legacy runtime in flight: one frame of dt seconds written into player
  // 1's flight state and speed; the pose set (frame, velocity m/s) and the
  // model's transform read back; its box as a shadow quad; the runtime's
  // state flag (the legacy tip shows while it is 0).
  void (*legacy_step)(int sound, float dt, kxdflightstate* state, float* speed) = nullptr;
  void (*legacy_set_pose)(const kxmatrix& frame, const float velocity[4]) = nullptr;
  void (*legacy_get_transform)(kxmatrix* out) = nullptr;
  void (*legacy_get_bounds)(shadowquad* out) = nullptr;
  int (*legacy_state_flag)() = nullptr;
  // 1 for the name of the older-format model kept among the aircraft
  // folders (the selection offers it, the menu loads it without a log line).
  int (*legacy_folder_model)(const char* name) = nullptr;
};

void SetHooks(const applicationhooks& hooks);
const applicationhooks& Hooks();

// Registers the set-up's window and object types: the hook's first, then
// the object edit window and the text table. Without the hook one line says
// the configuration windows are missing. Returns the number registered.
int RegisterApplicationTypes();

// The legacy_folder_model hook's answer; without the runtime no folder
// holds an older-format model, as none could be loaded.
bool IsLegacyFolderModel(const char* name);

}  // namespace sim
