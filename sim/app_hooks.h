// What the folders above the simulator (input configuration windows,
// designer, legacy runtime) give it: main() installs these before the run.
// A missing hook is logged where it would have been called.
#pragma once

struct kxtype;

namespace sim {

struct applicationhooks {
  // Hands the window types of the input configuration to ProvideType.
  void (*provide_types)() = nullptr;
  // Designer: builds its screen, menus and commands; makes its entry the
  // pending mode switch.
  void (*designer_init)() = nullptr;
  void (*designer_open)() = nullptr;
  // Legacy runtime: loads the model (1 on success) with its blur discs;
  // unloads it; draws solid, flagged-then-all parts, or the parts' geometry.
  int (*legacy_load)(const char* name, int* out) = nullptr;
  void (*legacy_unload)() = nullptr;
  void (*legacy_draw_solid)() = nullptr;
  void (*legacy_draw_transparent)() = nullptr;
  void (*legacy_draw_plain)() = nullptr;
};

void SetHooks(const applicationhooks& hooks);
const applicationhooks& Hooks();

// The twelve window and object types the set-up registers, in order.
constexpr int kApplicationTypes = 12;
const char* ApplicationTypeName(int i);
// Gives the set-up the class of one of the twelve names (base null: kxnode's
// own list). 0 when the name is not one of them.
int ProvideType(kxtype* type, kxtype* base);
// Registers every provided type in list order; logs the names still missing.
// Returns the number registered.
int RegisterApplicationTypes();

}  // namespace sim
