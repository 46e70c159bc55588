#include "sim/views_placeholder.h"

#include "platform/log.h"

namespace sim {

void CreateMenu() { kxsystem::Log("sim:  menu bar and windows not built yet\n"); }

void ShowWindow(kxwindow*, int) { kxsystem::Log("sim:  show window: no window yet\n"); }
void OpenWindow(kxwindow*) { kxsystem::Log("sim:  open window: no window yet\n"); }
void HideWindow(kxwindow*) {}
void FillDisplayModeList(kxwindow*) { kxsystem::Log("sim:  options window not built yet\n"); }
void FSchleppDetach() {}
kxwindow* NoDeviceWindow() { return nullptr; }
kxwindow* KeysWindow() { return nullptr; }
kxwindow* OptionsWindow() { return nullptr; }

void ActivateMenu() {}
void UpdateMenuState() {}

void RenderAircraftShadow(simplayer*, shadowquad*, const float*, kxgeometricobject*, balloonrec*) {}
void BuildReflectionMaps(world*) {}
void RenderToTexture(shadowquad*, kxtexture*, kxgeometry*) {}
void RenderShadowTexture(kxgeometricobject*, const char*, float, int) {}

}  // namespace sim
