// The scenery's object records as the scenery loader fills them and the
// collision build reads them: static objects, moving (dynamic) objects and
// the transparent elements with their billboard trees.
#pragma once

#include <cstdint>

#include "core/matrix.h"

struct kxgeometry;

// A static scenery object; entries are linked in file order.
struct kxgeometryobject {
  uint32_t flags;           // 0; 32 ground object; 37 ground mesh heading the photo objects
  uint32_t second;          // copied unchanged into the photo objects
  kxgeometry* mesh;         // first element, null when the mesh did not load
  char path[128];           // "scenery/" + file
  kxgeometryobject* next;   // null after the last
};

// Kinds of a moving scenery object, as the scenery file's last word names
// them; the wind update turns the wind wheel's parts.
enum class dynobjectkind : int32_t {
  kDynPlain = 0,
  kDynWindBlades = 90,
  kDynWindBase = 91,
};
using enum dynobjectkind;

// A moving scenery object (wind wheels and the like).
struct kxgeometrydynobject {
  dynobjectkind kind;       // kDynPlain unless the file names a wind wheel's part
  float angle;              // degrees
  float spin;               // spin factor
  int32_t words[3];         // owned by the wind update
  float position[3];        // m
  kxmatrix frame;           // rows X, Y, Z and position; moved every frame by the wind update
  float hub[3];             // m; centre of volume of the blades before they were re-centred
  float volume;             // m^3
  kxgeometry* mesh;         // in the object's own frame
  char path[128];
  kxgeometrydynobject* next;
};

// One transparent element; the list ends with an entry whose element is null.
struct kxtransparentgeometry {
  kxgeometry* element;
  int32_t billboard;        // 1 for a tree drawn facing the viewer
  float radius;             // m, largest horizontal distance of a vertex from the centre
  float halfHeight;         // m, largest |dz| of a vertex from the centre
  float centre[3];          // m
};
