// The designer screen's left-button commands and picking.
#include <algorithm>

#include "designer/design_object.h"
#include "designer/state.h"
#include "designer/viewer.h"
#include "designer/viewer_modes.h"
#include "dynamics/body.h"
#include "graphics/geometric_object.h"
#include "gui/background.h"

namespace svdesign {

namespace {

// Farther than any hit Pick reports.
constexpr float kNoHit = 7272.0f;

// Pixel x or y on the designer screen as -1..1.
float Normalised(int pixel, int size) { return 2.0f * static_cast<float>(pixel) / static_cast<float>(std::max(size, 1)) - 1.0f; }

// The pointer at (x, y): its normalised place and the ray through it.
void Follow(designstate& s, int x, int y) {
  int w = s.screen ? s.screen->W : 1, h = s.screen ? s.screen->H : 1;
  s.pointer.x = Normalised(x, w);
  s.pointer.y = Normalised(y, h);
  s.pointer.ray = s.camera.MouseRay(x, y);
}

}  // namespace

svdesignobject* PickObject(const std::vector<svdesignobject*>& table, const designray& ray) {
  svdesignobject* best = nullptr;
  float bestDistance = kNoHit;
  for (svdesignobject* object : table) {
    if (!object || !object->component || !object->component->Geometry) continue;
    float distance = kNoHit;
    if (!object->component->Geometry->Pick(ray.nearPoint, ray.farPoint, &distance, kxmatrix::Identity())) continue;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = object;
    }
  }
  return best;
}

void MouseLeftDown(int x, int y) {
  designstate& s = State();
  designpointer& p = s.pointer;
  p.buttonDown = 1;
  Follow(s, x, y);
  p.previousX = p.x;
  p.previousY = p.y;
  viewermodes& modes = Modes();
  if (s.currentMode == &modes.objectSelect) {
    svdesignobject* hit = PickObject(s.objects, p.ray);
    if (hit != s.currentObject) SwitchObject(hit);  // none hit: the whole aircraft
    // A component picked shows its page: its handles drag from the next press.
    if (hit) s.currentMode = &modes.objectProperty;
  } else if (s.currentMode == &modes.objectProperty) {
    svdesignobject* hit = PickObject(s.objects, p.ray);
    if (hit && hit != s.currentObject) {
      SwitchObject(hit);
    } else if (s.currentObject) {
      s.currentObject->MouseDown(p.ray);
    }
  } else if (s.currentMode) {
    s.currentMode->MouseDown();
  }
}

void MouseMove(int x, int y) {
  designstate& s = State();
  designpointer& p = s.pointer;
  Follow(s, x, y);
  p.dx = p.x - p.previousX;
  p.dy = p.y - p.previousY;
  viewermodes& modes = Modes();
  if (s.currentMode == &modes.objectProperty) {
    if (s.currentObject) s.currentObject->MouseMove(p.ray);
  } else if (s.currentMode && s.currentMode != &modes.objectSelect) {
    s.currentMode->MouseMove();
  }
  p.previousX = p.x;
  p.previousY = p.y;
}

// The release's place is where a drag ends: the pitch drag reads its x.
void MouseLeftUp(int x, int y) {
  designstate& s = State();
  Follow(s, x, y);
  if (s.currentObject) s.currentObject->MouseUp(s.pointer.ray);
  s.pointer.buttonDown = 0;
}

}  // namespace svdesign
