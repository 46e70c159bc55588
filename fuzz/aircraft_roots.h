// The scene a component file runs in for the fuzz targets: the script
// interpreter with the base types registered, and an aircraft root and a
// geometry root under the aliases a component file refers to.
#pragma once

#include "core/hooks.h"
#include "core/interpreter.h"
#include "dynamics/aircraft.h"
#include "dynamics/registry.h"
#include "graphics/geometric_object.h"

namespace fuzzaircraft {

// Silences the log and registers the graphics and dynamics types, once.
inline void Init() {
  static bool ready = [] {
    kxcore::SetLogHandler([](const char*) {});
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterTypes();
    return true;
  }();
  (void)ready;
}

struct roots {
  kxdaircraft* aircraft;
  kxnode* geometry;
};

// Appends fresh roots to the script root and points "Aircraft" and
// "Geometry" at them.
inline roots Mount() {
  roots r;
  r.aircraft = new kxdaircraft;
  r.aircraft->name = "Aircraft0";
  r.geometry = new kxgeometricobject;
  r.geometry->name = "Geometry0";
  kxscript::Root()->AppendChild(r.aircraft);
  kxscript::Root()->AppendChild(r.geometry);
  kxscript::SetAlias("Aircraft", r.aircraft);
  kxscript::SetAlias("Geometry", r.geometry);
  return r;
}

// Drops the aliases, deletes both roots and returns the interpreter to the
// script root, so the next input starts from the same scene.
inline void Unmount(roots r) {
  kxscript::ClearAlias("Aircraft");
  kxscript::ClearAlias("Geometry");
  delete r.aircraft;
  delete r.geometry;
  kxscript::SetCurrent(kxscript::Root());
}

}  // namespace fuzzaircraft
